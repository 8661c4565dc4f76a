// The atlas: loading it once, a search as the place dialog makes one per
// key press (under 20 ms is the target), a place text that resolves and one
// that does not (the closest names are found by a full scan), and a zone
// offset from a warm cache, as a batch asks for each record. Each benchmark
// checks its answer first, so no figure comes from a failed lookup.
#include "atlas/Atlas.h"
#include "atlas/ZoneHistory.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

using namespace halvaro;
using namespace halvaro::atlas;

void BM_LoadAtlas(benchmark::State& state)
{
    for (auto _ : state) {
        AtlasLoad load = LoadAtlas();
        if (!load.Loaded) {
            state.SkipWithError(load.Error.c_str());
            return;
        }
        benchmark::DoNotOptimize(load);
    }
}
BENCHMARK(BM_LoadAtlas)->Unit(benchmark::kMillisecond);

// Each run loads its own atlas before the timed loop.
void BM_FindPlace(benchmark::State& state, std::string text, std::string first)
{
    const AtlasLoad load = LoadAtlas();
    if (!load.Loaded || load.Loaded->Find(text, 20).empty() || load.Loaded->Find(text, 20).front().Name != first) {
        state.SkipWithError("the search did not find the expected place first");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(load.Loaded->Find(text, 20));
    }
}
// "s" matches the most names of any one letter, the worst a key press asks.
BENCHMARK_CAPTURE(BM_FindPlace, OneLetter, std::string("s"), std::string("Shanghai"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindPlace, Kathm, std::string("Kathm"), std::string("Kathmandu"))->Unit(benchmark::kMicrosecond);

void BM_ResolvePlace(benchmark::State& state, std::string text, bool found)
{
    const AtlasLoad load = LoadAtlas();
    if (!load.Loaded || load.Loaded->Resolve(text).Found.has_value() != found) {
        state.SkipWithError("the place text did not resolve as expected");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(load.Loaded->Resolve(text));
    }
}
BENCHMARK_CAPTURE(BM_ResolvePlace, Kolkata, std::string("Kolkata"), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ResolvePlace, UnknownWithClosestNames, std::string("Kolkatta"), false)
    ->Unit(benchmark::kMicrosecond);

void BM_ZoneOffsetCached(benchmark::State& state)
{
    ZoneCache cache;
    const CivilDateTime local {1943, 6, 15, 10, 30};
    const ZoneOffsetResult first = cache.OffsetAt("Asia/Kolkata", local);
    if (!first.Offset || first.Offset->UtcOffsetMinutes != 390) {
        state.SkipWithError("India in 1943 did not give +06:30");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.OffsetAt("Asia/Kolkata", local));
    }
}
BENCHMARK(BM_ZoneOffsetCached);

} // namespace
