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

// One lookup in a zone already read: a year of the files' listed changes,
// and one whose daylight saving comes from a file's closing rule.
void BM_ZoneOffsetCached(benchmark::State& state, const std::string& zone, CivilDateTime local, int expectedMinutes)
{
    ZoneCache cache;
    const ZoneOffsetResult first = cache.OffsetAt(zone, local);
    if (!first.Offset || first.Offset->UtcOffsetMinutes != expectedMinutes) {
        state.SkipWithError("the zone did not give the offset of the tz database");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.OffsetAt(zone, local));
    }
}
BENCHMARK_CAPTURE(BM_ZoneOffsetCached, Kolkata1943, std::string("Asia/Kolkata"), CivilDateTime {1943, 6, 15, 10, 30}, 390);
BENCHMARK_CAPTURE(BM_ZoneOffsetCached, London2044, std::string("Europe/London"), CivilDateTime {2044, 7, 1, 12, 0}, 60);

} // namespace
