#include "cli/ReadingOutput.h"

#include "chart/ChartData.h"
#include "readingsky/ReadingSky.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace halvaro::cli {

namespace mgd = modVedicGrahaDrishti;

namespace {

std::string Padded(std::string_view text, std::size_t width)
{
    std::string line(text);
    line.resize(std::max(width, text.size()), ' ');
    return line;
}

// The CSV columns of a reading's eight rows take their names from the graha
// and from the result screen's labels.
constexpr std::array<std::string_view, GrahaCount> GrahaColumnNames {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Rahu"};
constexpr std::array<std::string_view, 4> RowColumnNames {
    "Planets", "Planets_Position", "Aspects_Sign", "Aspects_Planets"};

} // namespace

std::string ReadingText(const mgd::ResultTexts& results)
{
    std::size_t width = 0;
    for (int row = 0; row < mgd::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        width = std::max({width, results.lblPlanets[r].size(), results.lblPlanets_Position[r].size()});
    }
    width += 2;
    std::string text;
    for (int row = 0; row < mgd::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        text += Padded(results.lblPlanets[r], width);
        text += results.lblAspects_Sign[r];
        text += '\n';
        text += Padded(results.lblPlanets_Position[r], width);
        text += results.lblAspects_Planets[r];
        text += '\n';
    }
    return text;
}

namespace {

// Whether any of the eight bytes of a word is below 0x20, a quote or a
// backslash: the bytes JSON escapes. Texts are mostly plain, so they are
// scanned a word at a time (the test for a byte below n is the classic one
// of "Bit Twiddling Hacks", exact for n up to 128).
bool HasByteToEscape(std::uint64_t word)
{
    constexpr std::uint64_t ones = 0x0101010101010101U;
    constexpr std::uint64_t highs = 0x8080808080808080U;
    const auto hasBelow = [](std::uint64_t x, std::uint64_t n) { return (x - ones * n) & ~x & highs; };
    const std::uint64_t quotes = word ^ (ones * static_cast<unsigned char>('"'));
    const std::uint64_t backslashes = word ^ (ones * static_cast<unsigned char>('\\'));
    return (hasBelow(word, 0x20U) | hasBelow(quotes, 1) | hasBelow(backslashes, 1)) != 0;
}

} // namespace

void AppendJsonString(std::string& json, std::string_view text)
{
    constexpr std::string_view hexDigits = "0123456789abcdef";
    json += '"';
    // A text of eight bytes or more is checked in words, the last one
    // overlapping the one before; most need no escape and go in at once.
    if (text.size() >= sizeof(std::uint64_t)) {
        bool plainText = true;
        for (std::size_t i = 0; plainText && i < text.size(); i += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + std::min(i, text.size() - sizeof word), sizeof word);
            plainText = !HasByteToEscape(word);
        }
        if (plainText) {
            json += text;
            json += '"';
            return;
        }
    }
    std::size_t plain = 0; // start of the run of bytes copied as they are
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20U && c != '"' && c != '\\') {
            continue;
        }
        json.append(text.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        default:
            json += "\\u00";
            json += hexDigits[code >> 4U];
            json += hexDigits[code & 0x0FU];
        }
    }
    json.append(text.data() + plain, text.size() - plain);
    json += '"';
}

std::string JsonString(std::string_view text)
{
    std::string json;
    AppendJsonString(json, text);
    return json;
}

void AppendJsonNumber(std::string& json, double value)
{
    if (!std::isfinite(value)) {
        json += "null";
        return;
    }
    std::array<char, 32> digits {};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
        std::chars_format::general, 17);
    (void)ec;
    json.append(digits.data(), end);
}

void AppendReadingJsonMembers(std::string& json, const Reading& reading)
{
    const auto& results = reading.Results;
    json += "\"GrahaPositionTexts\": [";
    for (std::size_t i = 0; i < reading.GrahaPositionTexts.size(); ++i) {
        json += i == 0 ? "" : ", ";
        AppendJsonString(json, reading.GrahaPositionTexts[i]);
    }
    json += "], \"MoonPositionText\": ";
    AppendJsonString(json, reading.MoonPositionText);
    json += ", \"Ayanamsa\": ";
    AppendJsonNumber(json, reading.Ayanamsa);
    json += ", \"rows\": [";
    for (int row = 0; row < mgd::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        json += row == 0 ? "[" : ", [";
        AppendJsonString(json, results.lblPlanets[r]);
        json += ", ";
        AppendJsonString(json, results.lblPlanets_Position[r]);
        json += ", ";
        AppendJsonString(json, results.lblAspects_Sign[r]);
        json += ", ";
        AppendJsonString(json, results.lblAspects_Planets[r]);
        json += "]";
    }
    json += "], \"Lagna\": ";
    const auto lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? chart::SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    if (lagna) {
        AppendJsonString(json, chart::ShortPlaceText(*lagna));
    } else {
        json += "null";
    }
    json += ", \"Ketu\": ";
    AppendJsonString(json, modVedicPlanetPosition::ShortPositionText(reading.Places[IndexOf(Graha::Ketu)]));
    json += ", \"Sky\": ";
    AppendJsonString(json, SkyModelName(reading.Sky));
}

std::string SkyLine(const Reading& reading)
{
    return reading.Sky == SkyModel::Classic ? std::string() : std::string(readingsky::SkyCaption(reading.Sky)) + "\n";
}

std::string ReadingJson(const Reading& reading)
{
    std::string json = "{";
    AppendReadingJsonMembers(json, reading);
    json += "}\n";
    return json;
}

void AppendCsvField(std::string& csv, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        csv += text;
        return;
    }
    csv += '"';
    for (const char c : text) {
        csv += c;
        if (c == '"') {
            csv += '"';
        }
    }
    csv += '"';
}

std::string ReadingCsvHeader()
{
    std::string header;
    for (const std::string_view graha : GrahaColumnNames) {
        header += graha;
        header += ',';
    }
    header += "MoonPositionText,Ayanamsa";
    for (const std::string_view graha : GrahaColumnNames) {
        for (const std::string_view column : RowColumnNames) {
            header += ',';
            header += graha;
            header += '.';
            header += column;
        }
    }
    return header;
}

int ReadingCsvFieldCount()
{
    return static_cast<int>(GrahaColumnNames.size() + 2 + GrahaColumnNames.size() * RowColumnNames.size());
}

void AppendReadingCsvFields(std::string& csv, const Reading& reading)
{
    for (const auto& text : reading.GrahaPositionTexts) {
        AppendCsvField(csv, text);
        csv += ',';
    }
    AppendCsvField(csv, reading.MoonPositionText);
    csv += ',';
    AppendJsonNumber(csv, reading.Ayanamsa);
    const auto& results = reading.Results;
    for (int row = 0; row < mgd::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        for (const std::string_view text : {std::string_view(results.lblPlanets[r]),
                 std::string_view(results.lblPlanets_Position[r]), std::string_view(results.lblAspects_Sign[r]),
                 std::string_view(results.lblAspects_Planets[r])}) {
            csv += ',';
            AppendCsvField(csv, text);
        }
    }
}

} // namespace halvaro::cli
