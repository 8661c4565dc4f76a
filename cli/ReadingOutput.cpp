#include "cli/ReadingOutput.h"

#include "atlas/ZoneHistory.h"
#include "chart/ChartData.h"
#include "readingsky/ReadingDetails.h"
#include "vedic/DetailsText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>

namespace halvaro::cli {

namespace mgd = modVedicGrahaDrishti;
constexpr auto RowCount = static_cast<std::size_t>(mgd::RowCount);

namespace {

// The CSV columns of a reading's eight rows take their names from the graha
// and from the result screen's labels; those of the positions table, from
// its rows (the eight, Ketu and the Lagna) and columns.
constexpr std::array<std::string_view, 10> DetailRowNames {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Rahu", "Ketu", "Lagna"};
constexpr std::span<const std::string_view, GrahaCount> GrahaColumnNames(DetailRowNames.data(), GrahaCount);
constexpr std::array<std::string_view, 3> DetailColumnNames {"Nakshatra", "Pada", "Navamsa"};
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

// The Lagna's short position; empty when the reading has none.
std::string LagnaText(const Reading& reading)
{
    const auto lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? chart::SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    return lagna ? chart::ShortPlaceText(*lagna) : std::string();
}

std::string KetuText(const Reading& reading)
{
    return std::string(std::string_view(modVedicPlanetPosition::ShortPositionText(reading.Places[IndexOf(Graha::Ketu)])));
}

void String(JsonWriter& json, std::string_view text)
{
    json.Text(text);
}

void Key(JsonWriter& json, std::string_view key)
{
    json.Text(key);
}

void Member(JsonWriter& json, std::string_view key, std::string_view text)
{
    Key(json, key);
    String(json, text);
}

// The key, then null when no value is to follow it.
bool KeyOrNull(JsonWriter& json, std::string_view key, bool hasValue)
{
    Key(json, key);
    if (!hasValue) {
        json.Null();
    }
    return hasValue;
}

// Degrees with six decimals (a hundredth of an arc-second); null when unknown.
std::string_view DegreesDigits(std::optional<double> degrees, std::array<char, 32>& digits)
{
    if (!degrees || !std::isfinite(*degrees)) {
        return "null";
    }
    return SixDecimals(*degrees, digits);
}

void Degrees(JsonWriter& json, std::string_view key, std::optional<double> degrees)
{
    Key(json, key);
    std::array<char, 32> digits {};
    const std::string_view text = DegreesDigits(degrees, digits);
    json.Raw(text == "null" ? rapidjson::kNullType : rapidjson::kNumberType, text.size(),
        [&](char* at) { return std::copy(text.begin(), text.end(), at); });
}

// Lays out bytes that need no escaping (the keys, the names of the tables,
// numbers) for JsonWriter::Raw.
struct Layout {
    char* At;
    Layout& operator<<(std::string_view bytes)
    {
        std::memcpy(At, bytes.data(), bytes.size());
        At += bytes.size();
        return *this;
    }
    template <std::size_t Size>
    Layout& operator<<(const char (&bytes)[Size])
    {
        return *this << std::string_view(bytes, Size - 1);
    }
    Layout& operator<<(int number)
    {
        At = std::to_chars(At, At + 11, number).ptr;
        return *this;
    }
};

// Room for a name of the tables, a number and a date.
constexpr std::size_t NameBound = 24;
constexpr std::size_t NumberBound = 32;
constexpr std::size_t DateBound = std::tuple_size_v<vedic::DateChars>;

void NameOrNull(JsonWriter& json, std::string_view key, std::string_view name)
{
    if (KeyOrNull(json, key, !name.empty())) {
        String(json, name);
    }
}

void WriteGrahas(JsonWriter& json, const std::optional<vedic::ReadingDetails>& details)
{
    if (!KeyOrNull(json, "Grahas", details.has_value())) {
        return;
    }
    constexpr std::size_t rowBound = 256 + 5 * NameBound + 6 * NumberBound;
    json.Raw(rapidjson::kArrayType, (details->Grahas.size() + 1) * rowBound, [&](char* at) {
        Layout out {at};
        const auto row = [&](const vedic::GrahaDetails& graha) {
            const vedic::ZodiacPlace& place = graha.Place;
            std::array<char, 32> digits {};
            const std::string_view dignity = vedic::DignityName(graha.Dignity);
            out << "{\"Graha\":\"" << graha.Name << "\",\"Longitude\":" << DegreesDigits(place.Longitude, digits)
                << ",\"Sign\":" << place.Sign << ",\"SignName\":\"" << place.SignName()
                << "\",\"Nakshatra\":" << place.Nakshatra << ",\"NakshatraName\":\"" << place.NakshatraName()
                << "\",\"Pada\":" << place.Pada << ",\"NakshatraLord\":\"" << NamesOf(place.NakshatraLord).Plain
                << "\",\"Navamsa\":" << place.Navamsa << ",\"Dignity\":";
            if (dignity.empty()) {
                out << "null";
            } else {
                out << "\"" << dignity << "\"";
            }
            out << ",\"Speed\":" << DegreesDigits(graha.Speed, digits)
                << (graha.Retrograde ? ",\"Retrograde\":true}" : ",\"Retrograde\":false}");
        };
        out << "[";
        for (const vedic::GrahaDetails& graha : details->Grahas) {
            row(graha);
            out << ",";
        }
        if (details->Lagna) {
            row(*details->Lagna);
        } else {
            --out.At; // no comma after the last
        }
        out << "]";
        return out.At;
    });
}

// The start of a period's members up to its start date, for each lord:
// "Lord":"Ketu","Start":"
struct LordFragment {
    std::array<char, 32> Bytes {};
    std::size_t Size = 0;
};
constexpr std::array<LordFragment, GrahaCountWithKetu> LordFragments = [] {
    std::array<LordFragment, GrahaCountWithKetu> fragments {};
    for (std::size_t graha = 0; graha < fragments.size(); ++graha) {
        LordFragment& fragment = fragments[graha];
        for (const std::string_view part :
            {std::string_view("\"Lord\":\""), NamesOf(static_cast<Graha>(graha)).Plain, std::string_view("\",\"Start\":\"")}) {
            for (const char c : part) {
                fragment.Bytes[fragment.Size++] = c;
            }
        }
    }
    return fragments;
}();

// "Lord":"Ketu","Start":"1979-04-04","End":"1986-04-04". Whole buffers are
// copied, a known length being a few moves where a length known only at run
// time is a call; the bytes past the text are written over next or dropped
// (the bound counts them).
void PutPeriod(Layout& out, const vedic::DashaPeriod& period)
{
    const LordFragment& lord = LordFragments[IndexOf(period.Lord)];
    std::memcpy(out.At, lord.Bytes.data(), lord.Bytes.size());
    out.At += lord.Size;
    vedic::DateChars date {};
    const auto putDate = [&](std::chrono::year_month_day day) {
        const std::size_t size = vedic::DateText(day, date).size();
        std::memcpy(out.At, date.data(), date.size());
        out.At += size;
    };
    putDate(period.Start);
    out << "\",\"End\":\"";
    putDate(period.End);
    out << "\"";
}

void WriteDasha(JsonWriter& json, const std::optional<vedic::VimshottariDasha>& dasha)
{
    if (!KeyOrNull(json, "Dasha", dasha.has_value())) {
        return;
    }
    static_assert(vedic::DashaYearDays == 365.25);
    constexpr std::size_t periodBound = 48 + std::tuple_size_v<decltype(LordFragment::Bytes)> + 2 * DateBound;
    constexpr std::size_t bound = 256 + vedic::DashaCount * (vedic::DashaCount + 1) * periodBound;
    json.Raw(rapidjson::kObjectType, bound, [&](char* at) {
        Layout out {at};
        const vedic::DashaBalance& balance = dasha->Balance;
        out << "{\"System\":\"Vimshottari\",\"YearDays\":365.25,\"Balance\":{\"Lord\":\"" << NamesOf(balance.Lord).Plain
            << "\",\"Years\":" << balance.WholeYears << ",\"Months\":" << balance.Months << ",\"Days\":" << balance.Days
            << "},\"Periods\":[";
        for (const vedic::MahaDasha& maha : dasha->Periods) {
            out << (&maha == dasha->Periods.data() ? "{" : ",{");
            PutPeriod(out, maha.Period);
            out << ",\"Sub\":[";
            for (const vedic::DashaPeriod& antar : maha.Sub) {
                out << (&antar == maha.Sub.data() ? "{" : ",{");
                PutPeriod(out, antar);
                out << "}";
            }
            out << "]}";
        }
        out << "]}";
        return out.At;
    });
}

void WriteBirth(JsonWriter& json, const Birth& birth, std::string_view timeZone)
{
    Key(json, "Birth");
    json.StartObject();
    const CivilDateTime& local = birth.Local;
    vedic::DateChars date {};
    Member(json, "Date", vedic::DateText(std::chrono::year(local.Year) / local.Month / local.Day, date));
    const std::array<char, 6> time {static_cast<char>('0' + local.Hour / 10), static_cast<char>('0' + local.Hour % 10), ':',
        static_cast<char>('0' + local.Minute / 10), static_cast<char>('0' + local.Minute % 10), '\0'};
    Member(json, "Time", std::string_view(time.data(), 5));
    Member(json, "UtcOffset", atlas::UtcOffsetText(birth.UtcOffsetMinutes));
    NameOrNull(json, "TimeZone", timeZone);
    Degrees(json, "Latitude", birth.LatitudeDeg);
    Degrees(json, "Longitude", birth.LongitudeDeg);
    Member(json, "City", birth.City);
    Member(json, "State", birth.State);
    Member(json, "Country", birth.Country);
    json.EndObject();
}

} // namespace

namespace {

// Whether String would escape a byte of the text: a control character, the
// quote or the backslash. Eight bytes at a time (the tests of "Bit Twiddling
// Hacks", S. E. Anderson: a byte below n, a byte equal to zero).
bool NeedsEscape(std::string_view text)
{
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    const auto escaped = [](const char* bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, 8);
        const auto zeroByte = [](std::uint64_t eight) { return (eight - ones) & ~eight & highs; };
        const std::uint64_t control = (word - ones * 0x20) & ~word & highs;
        return (control | zeroByte(word ^ (ones * '"')) | zeroByte(word ^ (ones * '\\'))) != 0;
    };
    if (text.size() < 8) {
        return std::any_of(text.begin(), text.end(),
            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; });
    }
    for (std::size_t at = 0; at + 8 < text.size(); at += 8) {
        if (escaped(text.data() + at)) {
            return true;
        }
    }
    return escaped(text.data() + text.size() - 8); // the last eight, overlapping
}

// An array of texts, or (width > 0) of arrays of `width` texts each: laid out
// whole when no text needs escaping, as the reading's texts never do, and
// through String otherwise.
void WriteTexts(JsonWriter& json, std::span<const std::string_view> texts, std::size_t width)
{
    std::size_t bytes = 2 + 2 * texts.size() / std::max<std::size_t>(width, 1);
    for (const std::string_view text : texts) {
        if (NeedsEscape(text)) {
            json.StartArray();
            for (std::size_t i = 0; i < texts.size(); ++i) {
                if (width > 0 && i % width == 0) {
                    json.StartArray();
                }
                json.String(texts[i].data(), static_cast<rapidjson::SizeType>(texts[i].size()));
                if (width > 0 && i % width == width - 1) {
                    json.EndArray();
                }
            }
            json.EndArray();
            return;
        }
        bytes += text.size() + 3;
    }
    json.Raw(rapidjson::kArrayType, bytes, [&](char* at) {
        Layout out {at};
        out << "[";
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i > 0) {
                out << ",";
            }
            if (width > 0 && i % width == 0) {
                out << "[";
            }
            out << "\"" << texts[i] << "\"";
            if (width > 0 && i % width == width - 1) {
                out << "]";
            }
        }
        out << "]";
        return out.At;
    });
}

} // namespace

void JsonWriter::Text(std::string_view text)
{
    if (NeedsEscape(text)) {
        String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        return;
    }
    Raw(rapidjson::kStringType, text.size() + 2, [&](char* at) {
        *at++ = '"';
        at = std::copy(text.begin(), text.end(), at);
        *at++ = '"';
        return at;
    });
}

std::string_view SixDecimals(double value, std::array<char, 32>& digits)
{
    char* const first = digits.data();
    char* const last = first + digits.size();
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e9)) {
        return {first, static_cast<std::size_t>(std::to_chars(first, last, value, std::chars_format::fixed, 6).ptr - first)};
    }
    // Below 2^52 the scaled value's fraction is exact and a multiple of its
    // last place, and the product's rounding error (exact through fma) is at
    // most half of that place: so the two decide between the neighbouring
    // millionths exactly, ties to even as printf has them.
    const double scaled = magnitude * 1e6;
    const double error = std::fma(magnitude, 1e6, -scaled);
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    auto millionths = static_cast<std::uint64_t>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && (error > 0 || (error == 0 && millionths % 2 == 1)))) {
        ++millionths;
    }
    char* at = first;
    if (std::signbit(value)) {
        *at++ = '-';
    }
    at = std::to_chars(at, last, millionths / 1'000'000).ptr;
    *at++ = '.';
    auto six = static_cast<std::uint32_t>(millionths % 1'000'000);
    for (std::size_t i = 6; i-- > 0; six /= 10) {
        at[i] = static_cast<char>('0' + six % 10);
    }
    return {first, static_cast<std::size_t>(at + 6 - first)};
}

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

std::string DetailsSection(const Reading& reading, double todayJulianDay)
{
    const auto details = readingsky::DetailsOf(reading);
    const auto dasha = readingsky::DashaOf(reading);
    return details && dasha ? "\n" + vedic::DetailsText(*details, *dasha, todayJulianDay) : std::string();
}

void WriteReadingMembers(JsonWriter& json, const Reading& reading, const ReadingContext& context)
{
    Key(json, "GrahaPositionTexts");
    std::array<std::string_view, GrahaCount> positions {};
    std::ranges::copy(reading.GrahaPositionTexts, positions.begin());
    WriteTexts(json, positions, 0);
    Member(json, "MoonPositionText", reading.MoonPositionText);
    Key(json, "Ayanamsa");
    std::array<char, 32> digits {};
    const std::string_view ayanamsa = AyanamsaDigits(reading.Ayanamsa, digits);
    json.RawValue(ayanamsa.data(), ayanamsa.size(), rapidjson::kNumberType);
    Key(json, "rows");
    std::array<std::string_view, 4 * RowCount> rows {};
    for (std::size_t row = 0; row < RowCount; ++row) {
        std::ranges::copy(RowTexts(reading.Results, row), rows.begin() + static_cast<std::ptrdiff_t>(4 * row));
    }
    WriteTexts(json, rows, 4);
    NameOrNull(json, "Lagna", LagnaText(reading));
    Member(json, "Ketu", KetuText(reading));
    Member(json, "Sky", SkyModelName(reading.Sky));
    if (context.SkyDiffers) {
        Key(json, "SkyDiffers");
        json.StartArray();
        for (const readingsky::SkyDifference& difference : *context.SkyDiffers) {
            String(json, NamesOf(difference.Which).Plain);
        }
        json.EndArray();
    }
    WriteGrahas(json, readingsky::DetailsOf(reading));
    WriteDasha(json, readingsky::DashaOf(reading));
    WriteBirth(json, context.BirthValue, context.TimeZone);
}

std::string ReadingJson(const Reading& reading, const ReadingContext& context)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    WriteReadingMembers(json, reading, context);
    json.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string PlacesJson(const std::vector<atlas::Place>& places)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartArray();
    for (const atlas::Place& place : places) {
        json.StartObject();
        Member(json, "Name", place.Name);
        Member(json, "State", place.State);
        Member(json, "Country", place.Country);
        Member(json, "CountryCode", place.CountryCode);
        Degrees(json, "Latitude", place.LatitudeDeg);
        Degrees(json, "Longitude", place.LongitudeDeg);
        Member(json, "TimeZone", place.TimeZone);
        Key(json, "Population");
        json.Uint(place.Population);
        json.EndObject();
    }
    json.EndArray();
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
    header += ",Lagna,Ketu,Sky";
    for (const std::string_view row : DetailRowNames) {
        for (const std::string_view column : DetailColumnNames) {
            header.append(",").append(row).append(".").append(column);
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
    for (const std::string& text : {LagnaText(reading), KetuText(reading), std::string(SkyModelName(reading.Sky))}) {
        csv.Put(',');
        AppendCsvField(csv, text);
    }
    const auto details = readingsky::DetailsOf(reading);
    for (std::size_t row = 0; row < DetailRowNames.size(); ++row) {
        const vedic::GrahaDetails* graha = !details ? nullptr
            : row < details->Grahas.size()       ? &details->Grahas[row]
            : details->Lagna                     ? &*details->Lagna
                                                 : nullptr;
        if (graha == nullptr) {
            Append(csv, ",,,");
            continue;
        }
        const vedic::ZodiacPlace& place = graha->Place;
        csv.Put(',');
        Append(csv, place.NakshatraName());
        csv.Put(',');
        csv.Put(static_cast<char>('0' + place.Pada));
        csv.Put(',');
        Append(csv, vedic::VedicSignNames[static_cast<std::size_t>(place.Navamsa - 1)]);
    }
}

} // namespace halvaro::cli
