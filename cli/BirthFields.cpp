#include "cli/BirthFields.h"

#include "birth/BirthRoad.h"
#include "core/InputChecks.h"
#include "core/Ranges.h"
#include "core/Text.h"

#include <algorithm>

namespace halvaro::cli {

const std::array<FieldRow, FieldCount> Fields {{
    {"name", "TEXT", "the person's name", true},
    {"date", "YYYY-MM-DD", "date of birth, 1901-01-01 to 2050-12-31, or with --sky precise 1600-01-01 to 2399-12-31", true},
    {"time", "HH:MM", "local clock time of birth, 00:00 to 23:59", true},
    {"zone", "N", "time zone by its list position, 0 to 70 (see --zones)", true},
    {"lat", "DD:MM(N|S)", "latitude in degrees and minutes, e.g. 28:39N, or in decimal degrees, 28.65N (to the "
                          "nearest minute)", true},
    {"lon", "DDD:MM(E|W)", "longitude in degrees and minutes, e.g. 77:13E, or in decimal degrees, 77.2167E", true},
    {"dst", "", "daylight saving time was in force", false},
    {"city", "TEXT", "place of birth: city,", true},
    {"state", "TEXT", "state", true},
    {"country", "TEXT", "and country", true},
    {"place", "TEXT", "instead of lat, lon, city, state and country: a place of the atlas, \"City\", \"City, State\", "
                      "\"City, Country\" (name or two-letter code) or \"City, State, Country\" (see --find-place); "
                      "alone, it gives the zone too", false},
    {"tz", "AREA/LOCATION", "instead of --zone: an IANA time zone, e.g. Asia/Kolkata, whose offset on the date of "
                            "birth is taken; in an autumn overlap --dst takes the daylight offset, --no-dst the standard", false},
    {"utc_offset", "+HH:MM|lmt", "instead of --zone: the offset from UT, daylight saving included, e.g. +05:30; or lmt, "
                                 "the place's local mean time (4 minutes a degree of longitude)", false},
    {"id", "", "", false},
}};

namespace {

// The value split at `separator` into exactly N parts of digits, each at
// most as long as its width (exactly, when `exact`).
template <std::size_t N>
std::optional<std::array<int, N>> Numbers(std::string_view value, char separator, std::array<std::size_t, N> widths,
    bool exact)
{
    std::array<int, N> numbers {};
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t end = i + 1 < N ? value.find(separator) : value.size();
        const std::string_view part = value.substr(0, end);
        const auto number = end == std::string_view::npos ? std::nullopt : DigitsNumber(part, widths[i]);
        if (!number || (exact && part.size() != widths[i])) {
            return std::nullopt;
        }
        numbers[i] = *number;
        value.remove_prefix(std::min(value.size(), end + 1));
    }
    return numbers;
}

// A value outside its list: "--date: the year 1900 is outside 1901 to 2050".
std::string OutsideList(std::string_view label, std::string_view part, int value, ListRange list)
{
    return std::string(label) + ": the " + std::string(part) + " " + DecimalText(value) + " is outside "
        + DecimalText(list.First) + " to " + DecimalText(list.Last);
}

// A date or a time: each part checked against its list in order, then all
// put into the birth.
struct Part {
    std::string_view Name;
    ListRange List;
    int* Target;
};

template <std::size_t N>
ValueError SetParts(std::string_view label, std::string_view value, const std::optional<std::array<int, N>>& numbers,
    std::string_view form, const std::array<Part, N>& parts)
{
    if (!numbers) {
        return std::string(label) + ": " + Shown(value) + " is not a " + std::string(form);
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (!parts[i].List.Contains((*numbers)[i])) {
            return OutsideList(label, parts[i].Name, (*numbers)[i], parts[i].List);
        }
    }
    for (std::size_t i = 0; i < N; ++i) {
        *parts[i].Target = (*numbers)[i];
    }
    return std::nullopt;
}

// DD:MM then one of two direction letters in either case; the degree and
// minute texts go to their boxes as typed, at most three digits each as the
// boxes hold.
// Decimal degrees ("28.65", "77.2167"), up to three digits before the point
// and six after, to the nearest minute as the boxes hold it: 28.65 is 28:39.
std::optional<std::pair<std::string, std::string>> DecimalDegrees(std::string_view angle)
{
    const std::size_t point = angle.find('.');
    const std::string_view whole = angle.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : angle.substr(point + 1);
    const auto wholeDegrees = DigitsNumber(whole, BoxDigitCount);
    constexpr std::size_t MostDecimals = 6;
    if (point == std::string_view::npos || !wholeDegrees || fraction.empty() || fraction.size() > MostDecimals
        || !DigitsNumber(fraction, MostDecimals)) {
        return std::nullopt;
    }
    // Millionths of a degree, in integers, so that the minute is rounded
    // exactly: 60 * millionths / 10^6, half a minute up.
    long long millionths = *DigitsNumber(fraction, MostDecimals);
    for (std::size_t i = fraction.size(); i < MostDecimals; ++i) {
        millionths *= 10;
    }
    const long long minutes = (*wholeDegrees * 1000000LL + millionths) * 60;
    const long long rounded = (minutes + 500000) / 1000000;
    return std::pair {DecimalText(rounded / 60), DecimalText(rounded % 60)};
}

ValueError SetAngle(std::string_view label, std::string_view value, BirthData& birth, bool latitude)
{
    const std::string_view first = latitude ? "n" : "e";
    const std::string_view second = latitude ? "s" : "w";
    const std::string_view direction = value.substr(value.empty() ? 0 : value.size() - 1);
    const std::string_view angle = value.substr(0, value.empty() ? 0 : value.size() - 1);
    const std::size_t colon = angle.find(':');
    const bool directed = EqualsIgnoringCase(direction, first) || EqualsIgnoringCase(direction, second);
    const auto decimal = colon == std::string_view::npos ? DecimalDegrees(angle) : std::nullopt;
    if (!directed || (!decimal && !Numbers<2>(angle, ':', {BoxDigitCount, BoxDigitCount}, false))) {
        return std::string(label) + ": " + Shown(value) + " is not a "
            + (latitude ? "latitude of the form DD:MM or DD.DDDD followed by N or S"
                        : "longitude of the form DDD:MM or DDD.DDDD followed by E or W");
    }
    (latitude ? birth.LatDeg : birth.LonDeg) = decimal ? decimal->first : std::string(angle.substr(0, colon));
    (latitude ? birth.LatMin : birth.LonMin) = decimal ? decimal->second : std::string(angle.substr(colon + 1));
    (latitude ? birth.North : birth.East) = EqualsIgnoringCase(direction, first);
    (latitude ? birth.South : birth.West) = !EqualsIgnoringCase(direction, first);
    return std::nullopt;
}

// A sign, one or two digits, a colon and two digits, whatever their values.
bool OffsetForm(std::string_view value)
{
    const std::size_t colon = value.find(':');
    const auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return value.size() >= 5 && (value[0] == '+' || value[0] == '-') && colon >= 2 && colon <= 3
        && value.size() == colon + 3 && digits(value.substr(1, colon - 1)) && digits(value.substr(colon + 1));
}

} // namespace

std::string Shown(std::string_view value)
{
    return "'" + PrintableText(value) + "'";
}

std::optional<Field> FieldNamed(std::string_view name)
{
    for (const bool exactly : {true, false}) { // the name as the table has it first, the faster
        for (std::size_t i = 0; i < FieldCount; ++i) {
            if (exactly ? name == Fields[i].Name : EqualsIgnoringCase(name, Fields[i].Name)) {
                return static_cast<Field>(i);
            }
        }
    }
    return std::nullopt;
}

std::string OptionName(Field field)
{
    std::string name = "--" + std::string(Fields[static_cast<std::size_t>(field)].Name);
    std::replace(name.begin(), name.end(), '_', '-');
    return name;
}

std::optional<Field> MissingField(const std::array<bool, FieldCount>& given)
{
    const auto has = [&](Field field) { return given[static_cast<std::size_t>(field)]; };
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const bool placeGives = field == Field::Lat || field == Field::Lon || field == Field::City
            || field == Field::State || field == Field::Country || field == Field::Zone;
        const bool zoneGiven = field == Field::Zone && (has(Field::Tz) || has(Field::UtcOffset));
        if (Fields[i].Required && !given[i] && !(placeGives && has(Field::Place)) && !zoneGiven) {
            return field;
        }
    }
    return std::nullopt;
}

ValueError SetField(Field field, std::string_view label, std::string_view value, BirthRequest& request, bool exact)
{
    if (value.find('\0') != std::string_view::npos) {
        return std::string(label) + ": " + Shown(value) + " holds a NUL character";
    }
    BirthData& birth = request.Entries;
    switch (field) {
    case Field::Name: birth.Name = value; break;
    case Field::City: birth.City = value; break;
    case Field::State: birth.State = value; break;
    case Field::Country: birth.Country = value; break;
    case Field::Date: // the year has always had its four digits
        return SetParts<3>(label, value, value.find('-') == 4 ? Numbers<3>(value, '-', {4, 2, 2}, exact) : std::nullopt,
            "date of the form YYYY-MM-DD",
            {{{"year", YearRange, &birth.Year}, {"month", MonthRange, &birth.Month}, {"day", DayRange, &birth.Day}}});
    case Field::Time: // a record's 9:30 as the option's
        return SetParts<2>(label, value, Numbers<2>(value, ':', {2, 2}, false), "time of the form HH:MM",
            {{{"hour", HourRange, &birth.Hour}, {"minute", MinuteRange, &birth.Minute}}});
    case Field::Lat: return SetAngle(label, value, birth, true);
    case Field::Lon: return SetAngle(label, value, birth, false);
    case Field::Zone: {
        const auto zone = DigitsNumber(value, 3);
        if (!zone || !ZoneRange.Contains(*zone)) {
            return std::string(label) + ": " + Shown(value) + " is not a zone position from "
                + DecimalText(ZoneRange.First) + " to " + DecimalText(ZoneRange.Last) + " (see --zones)";
        }
        birth.ZonePosition = *zone;
        request.ZoneGiven = true;
        break;
    }
    case Field::Dst:
        if (!value.empty() && !EqualsIgnoringCase(value, "false") && !EqualsIgnoringCase(value, "true")) {
            return std::string(label) + ": " + Shown(value) + " is neither true nor false";
        }
        birth.DaylightSaving = EqualsIgnoringCase(value, "true");
        request.Dst = value.empty() ? std::nullopt : std::optional<bool>(birth.DaylightSaving);
        break;
    case Field::Place:
    case Field::Tz:
        // No name in the atlas or the tz database is near so long; the
        // search for the closest names is not started for it.
        if (value.size() > MaxNameBytes) {
            return std::string(label) + ": the text is longer than " + DecimalText(static_cast<long long>(MaxNameBytes))
                + " bytes, which no " + (field == Field::Place ? "place" : "time zone") + " name is";
        }
        (field == Field::Place ? request.Place : request.TimeZone) = value;
        break;
    case Field::UtcOffset:
        request.LocalMeanTime = EqualsIgnoringCase(value, "lmt");
        request.UtcOffsetMinutes = value.empty() || request.LocalMeanTime ? std::nullopt : atlas::ParseUtcOffset(value);
        if (!value.empty() && !request.UtcOffsetMinutes && !request.LocalMeanTime) {
            return std::string(label) + ": " + Shown(value)
                + (OffsetForm(value) ? " is outside -14:59 to +14:59 (hours up to 14, minutes up to 59)"
                                     : " is not an offset of the form +HH:MM or -HH:MM, or lmt");
        }
        break;
    case Field::Id:
    case Field::Count: break;
    }
    return std::nullopt;
}

ValueError FillBirth(const FieldValues& values, BirthRequest& birth)
{
    const auto given = [&](Field field) { return !values[static_cast<std::size_t>(field)].empty(); };
    const bool place = given(Field::Place);
    const bool zone = place || given(Field::Tz) || given(Field::UtcOffset);
    if (given(Field::Zone) + given(Field::Tz) + given(Field::UtcOffset) > 1) {
        return "give one of \"zone\", \"tz\" and \"utc_offset\"";
    }
    for (const Field field : {Field::Lat, Field::Lon, Field::City, Field::State, Field::Country}) {
        if (place && given(field)) {
            return "\"place\" stands for \"" + std::string(Fields[static_cast<std::size_t>(field)].Name) + "\": give one or the other";
        }
    }
    // The values with syntax first, as the options have always been checked;
    // what a place or a zone name stands for may be left empty.
    for (const Field field : {Field::Date, Field::Time, Field::Zone, Field::Lat, Field::Lon, Field::Dst, Field::UtcOffset,
             Field::Name, Field::City, Field::State, Field::Country, Field::Place, Field::Tz, Field::Id}) {
        const auto i = static_cast<std::size_t>(field);
        const bool standsFor = field == Field::Zone ? zone : (field == Field::Lat || field == Field::Lon) && place;
        if (standsFor && values[i].empty()) {
            continue;
        }
        if (auto error = SetField(field, Fields[i].Name, values[i], birth, true)) {
            return error;
        }
    }
    return std::nullopt;
}

ResolvedBirth ResolveBirth(const BirthRequest& request, const AtlasOnce& places, atlas::ZoneCache& zones,
    const Conventions& conventions)
{
    ResolvedBirth resolved;
    birth::BirthRequest road {request.Entries, std::nullopt, request.ZoneGiven, request.TimeZone,
        request.UtcOffsetMinutes ? std::optional<int>(*request.UtcOffsetMinutes * 60) : std::nullopt, request.Dst,
        request.LocalMeanTime, request.Offset};
    if (!request.Place.empty()) {
        const atlas::AtlasLoad& load = places.Get();
        const atlas::Resolution found = load.Loaded ? load.Loaded->Resolve(request.Place) : atlas::Resolution {};
        if (!found.Found) {
            resolved.Error = load.Loaded ? found.Error : load.Error;
            return resolved;
        }
        road.Place = *found.Found;
    }
    birth::BirthResult checked = birth::ResolveBirth(road, zones, conventions);
    if (checked.Failure) {
        resolved.Error = checked.Failure->Message;
    } else if (checked.ZoneRefusal) {
        resolved.Error = checked.ZoneRefusal->Error;
        if (checked.ZoneRefusal->Problem == atlas::ZoneOffsetResult::Fault::TwiceLocalTime) {
            *resolved.Error += " (--dst takes the first, --no-dst the second; in a batch record, dst true or false)";
        } else if (checked.ZoneRefusal->Problem == atlas::ZoneOffsetResult::Fault::NoSuchLocalTime) {
            *resolved.Error += " (--utc-offset gives the offset meant, in a batch record utc_offset; or correct the time)";
        }
    } else {
        resolved.Value = std::move(checked.Value);
    }
    return resolved;
}

} // namespace halvaro::cli
