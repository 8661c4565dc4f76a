// Where the time of one reading goes: the whole calculation from a filled
// record, each of its four steps alone, and the reading file both ways.
// Every benchmark first checks that the reading is the 1975 worked example's,
// so a figure is never taken from a calculation that went wrong.
#include "aspects/GrahaDrishti.h"
#include "aspects/ReferenceTables.h"
#include "core/BirthRecord.h"
#include "core/Calculation.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/GrahaPositions.h"
#include "readings/ReadingFile.h"
#include "tests/common/ReferenceBirths.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace halvaro;

using halvaro::testing::Delhi1975;

const int Delhi1975Zone = Delhi1975().ZonePosition;

// Fills the record and runs one reading; false unless it is the example's.
bool PrepareExample(benchmark::State& state)
{
    if (CalculateReading(Delhi1975()).has_value()) {
        state.SkipWithError("the example reading was refused");
        return false;
    }
    const auto& texts = modVedicPlanetPosition::GrahaPositionTexts;
    if (texts[0] != "00 Gem 19" || texts[1] != "11 Leo 08" || texts[7] != "05 Sco 24") {
        state.SkipWithError("the example reading gives other positions");
        return false;
    }
    return true;
}

void BM_ComputeReading(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        ComputeReading();
        benchmark::DoNotOptimize(modVedicGrahaDrishti::Results);
    }
}
BENCHMARK(BM_ComputeReading);

// Checks, tables, record and steps, as one click on the calculate button.
void BM_CalculateReading(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const BirthEntries entries = Delhi1975();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalculateReading(entries));
    }
}
BENCHMARK(BM_CalculateReading);

void BM_ComputeAyanamsa(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        modVedicPlanetPosition::ComputeAyanamsa();
        benchmark::DoNotOptimize(modVedicPlanetPosition::Ayanamsa);
    }
}
BENCHMARK(BM_ComputeAyanamsa);

void BM_ComputeEphemeris(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        modVedicEphemeris::ComputeEphemeris();
        benchmark::DoNotOptimize(modVedicEphemeris::MoonPositionText);
    }
}
BENCHMARK(BM_ComputeEphemeris);

void BM_ComputeGrahaPositions(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        modVedicPlanetPosition::ComputeGrahaPositions();
        benchmark::DoNotOptimize(modVedicPlanetPosition::GrahaPositionTexts);
    }
}
BENCHMARK(BM_ComputeGrahaPositions);

void BM_ComputeGrahaDrishti(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        modVedicGrahaDrishti::ComputeGrahaDrishti();
        benchmark::DoNotOptimize(modVedicGrahaDrishti::Results);
    }
}
BENCHMARK(BM_ComputeGrahaDrishti);

void BM_ReadingFileBytes(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readings::ReadingFileBytes(BirthRecord, Delhi1975Zone));
    }
}
BENCHMARK(BM_ReadingFileBytes);

void BM_ParseReadingFile(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const auto bytes = readings::ReadingFileBytes(BirthRecord, Delhi1975Zone).Bytes;
    if (!bytes || !readings::ParseReadingFile(*bytes).Reading) {
        state.SkipWithError("the example reading does not survive its own file");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readings::ParseReadingFile(*bytes));
    }
}
BENCHMARK(BM_ParseReadingFile);

std::filesystem::path BenchFile()
{
    return std::filesystem::temp_directory_path() / ("halvaro-bench-" + std::to_string(getpid()) + ".aha");
}

// Through the file system: temporary file, write, rename over the target.
void BM_SaveReadingFile(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const auto path = BenchFile();
    for (auto _ : state) {
        const auto saved = readings::SaveReadingFile(path, BirthRecord, Delhi1975Zone);
        if (!saved.Saved) {
            state.SkipWithError(saved.Error.c_str());
            break;
        }
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
BENCHMARK(BM_SaveReadingFile);

void BM_OpenReadingFile(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const auto path = BenchFile();
    if (!readings::SaveReadingFile(path, BirthRecord, Delhi1975Zone).Saved) {
        state.SkipWithError("the example reading could not be saved");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readings::OpenReadingFile(path));
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
BENCHMARK(BM_OpenReadingFile);

} // namespace

BENCHMARK_MAIN();
