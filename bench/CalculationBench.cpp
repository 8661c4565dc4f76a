// Where the time of one reading goes: the whole calculation from a checked
// birth to the 32 texts, the input check, each of its steps alone, and the reading file both ways;
// beside them the reading in the precise sky and the bare Swiss Ephemeris
// chart it is made from. Every benchmark first checks that the reading is the
// 1975 worked example's, so a figure is never taken from a calculation that
// went wrong.
#include "calculation/Reading.h"
#include "ephemeris/MoonEngine.h"
#include "positions/Ayanamsa.h"
#include "positions/GrahaPositions.h"
#include "readings/ReadingFile.h"
#include "sky/PreciseSky.h"
#include "tests/common/ReferenceBirths.h"

#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

using namespace halvaro;
namespace mpp = halvaro::modVedicPlanetPosition;

using halvaro::testing::BirthOf;
using halvaro::testing::Delhi1975;

// The example's reading; empty (and the benchmark skipped) unless it gives
// the worked example's positions.
std::optional<Reading> PrepareExample(benchmark::State& state)
{
    const ReadingResult result = CalculateReading(BirthOf(Delhi1975()));
    if (result.Failure) {
        state.SkipWithError("the example reading was refused");
        return std::nullopt;
    }
    const auto& texts = result.Value.GrahaPositionTexts;
    if (texts[0] != "00 Gem 19" || texts[1] != "11 Leo 08" || texts[7] != "05 Sco 24") {
        state.SkipWithError("the example reading gives other positions");
        return std::nullopt;
    }
    return result.Value;
}

// Moment, ayanamsa, Moon, planets, texts, aspects and Lagna: one click on
// the calculate button after the check, less the widgets.
void BM_CalculateReading(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const Birth birth = BirthOf(Delhi1975());
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalculateReading(birth));
    }
}
BENCHMARK(BM_CalculateReading);

// The input check that turns the form into the birth.
void BM_ValidateInput(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const BirthData entries = Delhi1975();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ValidateInput(entries));
    }
}
BENCHMARK(BM_ValidateInput);

// The example's birth on 256 days and times: the Swiss Ephemeris keeps the
// last position of each body, so one moment repeated would time its cache.
std::vector<Birth> VariedBirths()
{
    std::vector<Birth> births;
    for (int i = 0; i < 256; ++i) {
        BirthData birth = Delhi1975();
        birth.Year = 1901 + (i * 37) % 150;
        birth.Day = 1 + (i * 11) % 28;
        birth.Hour = i % 24;
        birth.Minute = (i * 7) % 60;
        births.push_back(BirthOf(birth));
    }
    return births;
}

// The precise example: the Sun at 29 Tau 58 in the sky.
bool PreparePreciseExample(benchmark::State& state)
{
    const ReadingResult result = sky::CalculatePreciseReading(BirthOf(Delhi1975()), DefaultConventions(SkyModel::Precise));
    if (result.Failure || result.Value.GrahaPositionTexts[0] != "29 Tau 58") {
        state.SkipWithError("the precise example reading gives other positions");
        return false;
    }
    return true;
}

// The classic reading over the varied births, to set beside the two below.
void BM_CalculateReadingVaried(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const std::vector<Birth> births = VariedBirths();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalculateReading(births[i++ % births.size()]));
    }
}
BENCHMARK(BM_CalculateReadingVaried);

// The same readings in the precise sky, texts and aspects included.
void BM_CalculatePreciseReading(benchmark::State& state)
{
    if (!PreparePreciseExample(state)) {
        return;
    }
    const std::vector<Birth> births = VariedBirths();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky::CalculatePreciseReading(births[i++ % births.size()], DefaultConventions(SkyModel::Precise)));
    }
}
BENCHMARK(BM_CalculatePreciseReading);

// The bare sidereal chart of the library: eight swe_calc_ut calls (Moshier,
// Lahiri) and the ayanamsa, nothing of this program around them.
void BM_SwissEphemerisChart(benchmark::State& state)
{
    if (!PreparePreciseExample(state)) {
        return;
    }
    std::vector<double> moments;
    for (const Birth& birth : VariedBirths()) {
        moments.push_back(BirthMomentOf(birth).JulianDay);
    }
    swe_set_sid_mode(SE_SIDM_LAHIRI, 0, 0);
    constexpr std::array<int32, 8> bodies {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN,
        SE_MEAN_NODE};
    std::array<double, 6> position {};
    std::array<char, AS_MAXCH> error {};
    double ayanamsa = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        const double jd = moments[i++ % moments.size()];
        swe_get_ayanamsa_ex_ut(jd, SEFLG_MOSEPH, &ayanamsa, error.data());
        for (const int32 body : bodies) {
            swe_calc_ut(jd, body, SEFLG_MOSEPH | SEFLG_SIDEREAL, position.data(), error.data());
            benchmark::DoNotOptimize(position);
        }
        benchmark::DoNotOptimize(ayanamsa);
    }
}
BENCHMARK(BM_SwissEphemerisChart);

void BM_Ayanamsa(benchmark::State& state)
{
    const auto example = PrepareExample(state);
    if (!example) {
        return;
    }
    const BirthMoment moment = example->Moment;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mpp::ComputeAyanamsa(moment));
    }
}
BENCHMARK(BM_Ayanamsa);

void BM_Moon(benchmark::State& state)
{
    const auto example = PrepareExample(state);
    if (!example) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(modVedicEphemeris::ComputeEphemeris(example->Moment));
    }
}
BENCHMARK(BM_Moon);

// The six bodies and the node, sidereal, and the eight short texts.
void BM_GrahaPositions(benchmark::State& state)
{
    const auto example = PrepareExample(state);
    if (!example) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mpp::ComputeGrahaPositions(example->Moment, example->Ayanamsa, example->Longitudes[1]));
    }
}
BENCHMARK(BM_GrahaPositions);

void BM_GrahaDrishti(benchmark::State& state)
{
    const auto example = PrepareExample(state);
    if (!example) {
        return;
    }
    const auto positions = mpp::ComputeGrahaPositions(example->Moment, example->Ayanamsa, example->Longitudes[1]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(modVedicGrahaDrishti::ComputeGrahaDrishti(*positions));
    }
}
BENCHMARK(BM_GrahaDrishti);

void BM_ReadingFileBytes(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readings::ReadingFileBytes(BirthOf(Delhi1975())));
    }
}
BENCHMARK(BM_ReadingFileBytes);

void BM_ParseReadingFile(benchmark::State& state)
{
    if (!PrepareExample(state)) {
        return;
    }
    const auto bytes = readings::ReadingFileBytes(BirthOf(Delhi1975())).Bytes;
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
        const auto saved = readings::SaveReadingFile(path, BirthOf(Delhi1975()));
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
    if (!readings::SaveReadingFile(path, BirthOf(Delhi1975())).Saved) {
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
