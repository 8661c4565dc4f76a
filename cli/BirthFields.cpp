#include "cli/BirthFields.h"

#include "core/InputChecks.h"
#include "core/Ranges.h"
#include "core/Text.h"

#include <array>

namespace halvaro::cli {

namespace {

// The parts of a value between separators, without allocating: a batch
// splits four values of every record. More parts than fit are counted, not kept.
struct Parts {
    std::array<std::string_view, 3> Part;
    std::size_t Count = 0;

    [[nodiscard]] std::size_t size() const { return Count; }
    std::string_view operator[](std::size_t i) const { return Part[i]; }
};

Parts Split(std::string_view text, char separator)
{
    Parts parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (parts.Count < parts.Part.size()) {
            parts.Part[parts.Count] = text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        }
        ++parts.Count;
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

// A value outside its list: "--date: the year 1900 is outside 1901 to 2050".
std::string OutsideList(std::string_view label, std::string_view part, int value, ListRange list)
{
    return std::string(label) + ": the " + std::string(part) + " " + DecimalText(value) + " is outside "
        + DecimalText(list.First) + " to " + DecimalText(list.Last);
}

char UpperAscii(char c)
{
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// DD:MM followed by one of two direction letters, upper or lower case; the
// degree and minute texts go to their boxes as typed, at most three digits
// each as the boxes hold.
struct Angle {
    std::string Degrees, Minutes;
    bool First; // N or E
};

std::optional<Angle> ParseAngle(std::string_view value, char first, char second)
{
    if (value.empty()) {
        return std::nullopt;
    }
    const char upper = UpperAscii(value.back());
    if (upper != first && upper != second) {
        return std::nullopt;
    }
    const auto parts = Split(value.substr(0, value.size() - 1), ':');
    if (parts.size() != 2 || !DigitsNumber(parts[0], BoxDigitCount) || !DigitsNumber(parts[1], BoxDigitCount)) {
        return std::nullopt;
    }
    return Angle {std::string(parts[0]), std::string(parts[1]), upper == first};
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (UpperAscii(text[i]) != UpperAscii(lower[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

// Arguments are shown with their control characters escaped, so a message
// cannot steer the terminal it is printed on.
std::string Shown(std::string_view value)
{
    const std::string printable = PrintableText(value);
    std::string shown;
    shown.reserve(printable.size() + 2);
    shown += '\'';
    shown += printable;
    shown += '\'';
    return shown;
}

ValueError ParseDate(std::string_view label, std::string_view value, BirthData& entries)
{
    const auto parts = Split(value, '-');
    const auto form = [&] { return std::string(label) + ": " + Shown(value) + " is not a date of the form YYYY-MM-DD"; };
    if (parts.size() != 3 || parts[0].size() != 4) {
        return form();
    }
    const auto year = DigitsNumber(parts[0], 4);
    const auto month = DigitsNumber(parts[1], 2);
    const auto day = DigitsNumber(parts[2], 2);
    if (!year || !month || !day) {
        return form();
    }
    if (!YearRange.Contains(*year)) {
        return OutsideList(label, "year", *year, YearRange);
    }
    if (!MonthRange.Contains(*month)) {
        return OutsideList(label, "month", *month, MonthRange);
    }
    if (!DayRange.Contains(*day)) {
        return OutsideList(label, "day", *day, DayRange);
    }
    entries.Year = *year;
    entries.Month = *month;
    entries.Day = *day;
    return std::nullopt;
}

ValueError ParseTime(std::string_view label, std::string_view value, BirthData& entries)
{
    const auto parts = Split(value, ':');
    const auto hour = parts.size() == 2 ? DigitsNumber(parts[0], 2) : std::nullopt;
    const auto minute = parts.size() == 2 ? DigitsNumber(parts[1], 2) : std::nullopt;
    if (!hour || !minute) {
        return std::string(label) + ": " + Shown(value) + " is not a time of the form HH:MM";
    }
    if (!HourRange.Contains(*hour)) {
        return OutsideList(label, "hour", *hour, HourRange);
    }
    if (!MinuteRange.Contains(*minute)) {
        return OutsideList(label, "minute", *minute, MinuteRange);
    }
    entries.Hour = *hour;
    entries.Minute = *minute;
    return std::nullopt;
}

ValueError ParseZone(std::string_view label, std::string_view value, BirthData& entries)
{
    const auto zone = DigitsNumber(value, 3);
    if (!zone || !ZoneRange.Contains(*zone)) {
        return std::string(label) + ": " + Shown(value) + " is not a zone position from " + DecimalText(ZoneRange.First)
            + " to " + DecimalText(ZoneRange.Last) + " (see --zones)";
    }
    entries.ZonePosition = *zone;
    return std::nullopt;
}

ValueError ParseLatitude(std::string_view label, std::string_view value, BirthData& entries)
{
    auto angle = ParseAngle(value, 'N', 'S');
    if (!angle) {
        return std::string(label) + ": " + Shown(value) + " is not a latitude of the form DD:MM followed by N or S";
    }
    entries.LatDeg = std::move(angle->Degrees);
    entries.LatMin = std::move(angle->Minutes);
    entries.North = angle->First;
    entries.South = !angle->First;
    return std::nullopt;
}

ValueError ParseLongitude(std::string_view label, std::string_view value, BirthData& entries)
{
    auto angle = ParseAngle(value, 'E', 'W');
    if (!angle) {
        return std::string(label) + ": " + Shown(value) + " is not a longitude of the form DDD:MM followed by E or W";
    }
    entries.LonDeg = std::move(angle->Degrees);
    entries.LonMin = std::move(angle->Minutes);
    entries.East = angle->First;
    entries.West = !angle->First;
    return std::nullopt;
}

ValueError ParseDaylightSaving(std::string_view label, std::string_view value, BirthData& entries)
{
    if (value.empty() || EqualsIgnoringCase(value, "false")) {
        entries.DaylightSaving = false;
    } else if (EqualsIgnoringCase(value, "true")) {
        entries.DaylightSaving = true;
    } else {
        return std::string(label) + ": " + Shown(value) + " is neither true nor false";
    }
    return std::nullopt;
}

} // namespace halvaro::cli
