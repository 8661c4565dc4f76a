// One reading's JSON object, as a batch writes it for every record: through
// RapidJSON's Writer (what halvaro-cli uses), and, where nlohmann-json is
// installed, built as an ordered_json and dumped (the choice it was weighed
// against; not a dependency of the program).
#include "cli/CommandLine.h"
#include "cli/ReadingOutput.h"
#include "chart/ChartData.h"
#include "core/InputChecks.h"
#include "tests/common/ReferenceBirths.h"

#include <benchmark/benchmark.h>

#if defined(HALVARO_BENCH_NLOHMANN)
#include <nlohmann/json.hpp>
#endif

namespace {

const halvaro::Birth& ExampleBirth()
{
    static const halvaro::Birth birth = halvaro::ValidateInput(halvaro::testing::Delhi1975()).Value;
    return birth;
}

const halvaro::fullreading::FullReading& Example()
{
    static const halvaro::fullreading::FullReading reading =
        halvaro::fullreading::CalculateFullReading(ExampleBirth(), {}, halvaro::fullreading::EveryPart).Value;
    return reading;
}

void BM_ReadingJsonRapidJsonWriter(benchmark::State& state)
{
    halvaro::cli::OutputBuffer buffer;
    halvaro::cli::JsonWriter json;
    for (auto _ : state) {
        buffer.Clear();
        json.Reset(buffer);
        json.StartObject();
        json.Key("line");
        json.Uint64(2);
        halvaro::cli::WriteReadingMembers(json, {Example(), ExampleBirth(), {}, 1}, halvaro::cli::BatchOutputGroups);
        json.EndObject();
        buffer.Put('\n');
        benchmark::DoNotOptimize(buffer.GetString());
    }
}
BENCHMARK(BM_ReadingJsonRapidJsonWriter);

#if defined(HALVARO_BENCH_NLOHMANN)
void BM_ReadingJsonNlohmannOrdered(benchmark::State& state)
{
    const halvaro::Reading& reading = Example();
    for (auto _ : state) {
        nlohmann::ordered_json json;
        json["line"] = 2;
        for (const auto& text : reading.GrahaPositionTexts) {
            json["GrahaPositionTexts"].push_back(std::string_view(text));
        }
        json["MoonPositionText"] = std::string_view(reading.MoonPositionText);
        json["Ayanamsa"] = reading.Ayanamsa;
        auto& rows = json["rows"];
        for (std::size_t row = 0; row < 8; ++row) {
            const auto& r = reading.Results;
            rows.push_back({std::string_view(r.lblPlanets[row]), std::string_view(r.lblPlanets_Position[row]),
                std::string_view(r.lblAspects_Sign[row]), std::string_view(r.lblAspects_Planets[row])});
        }
        const auto lagna = halvaro::SignPlaceOf(reading.Lagna.Longitude);
        json["Lagna"] = lagna ? nlohmann::ordered_json(halvaro::chart::ShortPlaceText(*lagna)) : nlohmann::ordered_json();
        json["Ketu"] = std::string_view(halvaro::modVedicPlanetPosition::ShortPositionText(
            reading.Places[halvaro::IndexOf(halvaro::Graha::Ketu)]));
        json["Sky"] = "classic";
        std::string text = json.dump();
        text += '\n';
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ReadingJsonNlohmannOrdered);
#endif

} // namespace
