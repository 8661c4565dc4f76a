#include "cli/ReadingOutput.h"

#include "chart/ChartData.h"
#include "readingsky/ReadingSky.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace halvaro::cli {

namespace mgd = modVedicGrahaDrishti;
constexpr auto RowCount = static_cast<std::size_t>(mgd::RowCount);

namespace {

// The CSV columns of a reading's eight rows take their names from the graha
// and from the result screen's labels.
constexpr std::array<std::string_view, GrahaCount> GrahaColumnNames {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Rahu"};
constexpr std::array<std::string_view, 4> RowColumnNames {
    "Planets", "Planets_Position", "Aspects_Sign", "Aspects_Planets"};

std::array<std::string_view, 4> RowTexts(const mgd::ResultTexts& results, std::size_t row)
{
    return {results.lblPlanets[row], results.lblPlanets_Position[row], results.lblAspects_Sign[row],
        results.lblAspects_Planets[row]};
}

// The ayanamsa with seventeen significant digits, which give the double
// back exactly in any locale (the form the output has always had); null
// when not finite.
std::string_view AyanamsaDigits(double value, std::array<char, 32>& digits)
{
    if (!std::isfinite(value)) {
        return "null";
    }
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general, 17);
    return {digits.data(), static_cast<std::size_t>(result.ptr - digits.data())};
}

void String(JsonWriter& json, std::string_view text)
{
    json.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void Key(JsonWriter& json, std::string_view key)
{
    json.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

} // namespace

void Append(OutputBuffer& out, std::string_view bytes)
{
    std::memcpy(out.Push(bytes.size()), bytes.data(), bytes.size());
}

std::string ReadingText(const Reading& reading)
{
    const mgd::ResultTexts& results = reading.Results;
    std::size_t width = 0;
    for (std::size_t row = 0; row < RowCount; ++row) {
        width = std::max({width, results.lblPlanets[row].size(), results.lblPlanets_Position[row].size()});
    }
    width += 2;
    std::string text;
    for (std::size_t row = 0; row < RowCount; ++row) {
        const auto texts = RowTexts(results, row);
        for (std::size_t line = 0; line < 2; ++line) {
            text += texts[line];
            text.append(width - texts[line].size(), ' ');
            text += texts[line + 2];
            text += '\n';
        }
    }
    if (reading.Sky != SkyModel::Classic) {
        text += readingsky::SkyCaption(reading.Sky);
        text += '\n';
    }
    return text;
}

void WriteReadingMembers(JsonWriter& json, const Reading& reading)
{
    Key(json, "GrahaPositionTexts");
    json.StartArray();
    for (const std::string_view text : reading.GrahaPositionTexts) {
        String(json, text);
    }
    json.EndArray();
    Key(json, "MoonPositionText");
    String(json, reading.MoonPositionText);
    Key(json, "Ayanamsa");
    std::array<char, 32> digits {};
    const std::string_view ayanamsa = AyanamsaDigits(reading.Ayanamsa, digits);
    json.RawValue(ayanamsa.data(), ayanamsa.size(), rapidjson::kNumberType);
    Key(json, "rows");
    json.StartArray();
    for (std::size_t row = 0; row < RowCount; ++row) {
        json.StartArray();
        for (const std::string_view text : RowTexts(reading.Results, row)) {
            String(json, text);
        }
        json.EndArray();
    }
    json.EndArray();
    Key(json, "Lagna");
    const auto lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? chart::SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    if (lagna) {
        String(json, chart::ShortPlaceText(*lagna));
    } else {
        json.Null();
    }
    Key(json, "Ketu");
    String(json, modVedicPlanetPosition::ShortPositionText(reading.Places[IndexOf(Graha::Ketu)]));
    Key(json, "Sky");
    String(json, SkyModelName(reading.Sky));
}

std::string ReadingJson(const Reading& reading)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    WriteReadingMembers(json, reading);
    json.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

void AppendCsvField(OutputBuffer& csv, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        Append(csv, text);
        return;
    }
    csv.Put('"');
    for (const char c : text) {
        csv.Put(c);
        if (c == '"') {
            csv.Put('"');
        }
    }
    csv.Put('"');
}

std::string ReadingCsvHeader()
{
    std::string header;
    for (const std::string_view graha : GrahaColumnNames) {
        header.append(graha).append(",");
    }
    header += "MoonPositionText,Ayanamsa";
    for (const std::string_view graha : GrahaColumnNames) {
        for (const std::string_view column : RowColumnNames) {
            header.append(",").append(graha).append(".").append(column);
        }
    }
    return header;
}

void AppendReadingCsvFields(OutputBuffer& csv, const Reading& reading)
{
    for (const std::string_view text : reading.GrahaPositionTexts) {
        AppendCsvField(csv, text);
        csv.Put(',');
    }
    AppendCsvField(csv, reading.MoonPositionText);
    csv.Put(',');
    std::array<char, 32> digits {};
    Append(csv, AyanamsaDigits(reading.Ayanamsa, digits));
    for (std::size_t row = 0; row < RowCount; ++row) {
        for (const std::string_view text : RowTexts(reading.Results, row)) {
            csv.Put(',');
            AppendCsvField(csv, text);
        }
    }
}

} // namespace halvaro::cli
