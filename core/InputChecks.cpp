#include "core/InputChecks.h"

#include "core/Ranges.h"
#include "core/Text.h"
#include "core/TimeZones.h"

#include <cmath>

namespace halvaro {

namespace {

constexpr char WrongFebruaryDate[] = "Please Enter Correct Date Or Month!";
// The thirty-day months' message has a blank before the exclamation mark.
constexpr char WrongThirtyDayDate[] = "Please Enter Correct Date Or Month !";

constexpr int February = 2;

InputCheckFailure ErrorAt(std::string_view message, InputControl control)
{
    return {message, MessageIcon::Error, control};
}

InputCheckFailure WrongDate(std::string_view message)
{
    return {message, MessageIcon::Information, InputControl::None};
}

// Gregorian: over the classic years, 1901 to 2050, divisibility by 4 alone
// gives the same answer.
bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool IsThirtyDayMonth(int month)
{
    return month == 4 || month == 6 || month == 9 || month == 11;
}

// Typing is filtered to digits, but a paste through the context menu is not;
// the boxes hold at most three characters.
std::optional<int> BoxNumber(std::string_view text)
{
    return DigitsNumber(text, BoxDigitCount);
}

// A place on the globe: minutes below 60, then no more than the largest
// latitude or longitude, the degree box taking the focus.
std::optional<InputCheckFailure> CheckAngle(std::string_view degrees, std::string_view minutes, ListRange range,
    InputCheckFailure minutesFailure, InputCheckFailure degreesFailure)
{
    const int wholeMinutes = *BoxNumber(minutes);
    if (!ArcMinuteRange.Contains(wholeMinutes)) {
        return minutesFailure;
    }
    if (!range.Contains(*BoxNumber(degrees) * 60 + wholeMinutes)) {
        return degreesFailure;
    }
    return std::nullopt;
}

// Degrees and minutes of checked boxes as signed degrees.
double SignedDegrees(std::string_view degrees, std::string_view minutes, bool negative)
{
    const double value
        = static_cast<double>(*BoxNumber(degrees)) + static_cast<double>(*BoxNumber(minutes)) / 60;
    return negative ? -value : value;
}

// Whole minutes to the nearest, halves away from zero, and the seconds left.
void SetOffset(Birth& birth, int utcOffsetSeconds)
{
    const int magnitude = utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds;
    const int minutes = (magnitude + 30) / 60;
    birth.UtcOffsetMinutes = utcOffsetSeconds < 0 ? -minutes : minutes;
    birth.UtcOffsetExtraSeconds = utcOffsetSeconds - birth.UtcOffsetMinutes * 60;
}

// The birth of entries that passed every check.
Birth BirthOf(const BirthData& entries, const ExactOffset* offset)
{
    const TimeZone& zone = TimeZoneTable[static_cast<std::size_t>(entries.ZonePosition)];
    Birth birth;
    // The name is kept as typed; the place names lose their outer blanks.
    birth.Name = entries.Name;
    birth.City = TrimBlanks(entries.City);
    birth.State = TrimBlanks(entries.State);
    birth.Country = TrimBlanks(entries.Country);
    birth.Local = {entries.Year, entries.Month, entries.Day, entries.Hour, entries.Minute};
    // The table holds corrections (add to local time to get UT); daylight
    // saving puts the clock one hour ahead.
    birth.LatitudeDeg = SignedDegrees(entries.LatDeg, entries.LatMin, entries.South);
    birth.LongitudeDeg = SignedDegrees(entries.LonDeg, entries.LonMin, !entries.East);
    if (offset != nullptr && offset->LocalMeanTime) {
        SetOffset(birth, LocalMeanTimeSeconds(birth.LongitudeDeg));
        birth.TimeZone = offset->TimeZone;
        birth.LocalMeanTime = true;
    } else if (offset != nullptr) {
        SetOffset(birth, offset->UtcOffsetSeconds);
        birth.Zone = offset->Zone;
        birth.TimeZone = offset->TimeZone;
    } else {
        birth.UtcOffsetMinutes
            = -(zone.HourCorrection * 60 + zone.MinuteCorrection) + (entries.DaylightSaving ? 60 : 0);
        birth.Zone = ZoneChoice {entries.ZonePosition, entries.DaylightSaving};
    }
    return birth;
}

// The degree or minute box's two checks: present, then a whole number.
std::optional<InputCheckFailure> CheckNumberBox(std::string_view text, std::string_view emptyMessage,
    InputControl control)
{
    if (text.empty()) {
        return ErrorAt(emptyMessage, control);
    }
    if (!BoxNumber(text)) {
        return ErrorAt(OnlyNumbersMessage, control);
    }
    return std::nullopt;
}

std::optional<InputCheckFailure> FirstFailure(const BirthData& entries, const Conventions& conventions)
{
    // A text of blanks is not empty: only the empty text is refused.
    if (entries.Name.empty()) {
        return ErrorAt("Please Enter Your Name", InputControl::txtName);
    }
    if (auto failure = CheckNumberBox(entries.LatDeg, "Please Enter Degree of Latitude", InputControl::txtLatDeg)) {
        return failure;
    }
    if (auto failure = CheckNumberBox(entries.LatMin, "Please Enter Minutes of Latitude", InputControl::txtLatMin)) {
        return failure;
    }
    if (auto failure = CheckNumberBox(entries.LonDeg, "Please Enter Degree of Longitude", InputControl::txtLonDeg)) {
        return failure;
    }
    if (auto failure = CheckNumberBox(entries.LonMin, "Please Enter Minute of Longitude", InputControl::txtLonMin)) {
        return failure;
    }
    if (entries.City.empty()) {
        return ErrorAt("Please Enter Your City name", InputControl::txtCity);
    }
    if (entries.State.empty()) {
        return ErrorAt("Please Enter Your State name", InputControl::txtState);
    }
    if (entries.Country.empty()) {
        return ErrorAt("Please Enter Your Country name", InputControl::txtCountry);
    }
    if (!entries.North && !entries.South) {
        return ErrorAt("Please Select Direction For The Latitude", InputControl::optLat);
    }
    if (!entries.East && !entries.West) {
        return ErrorAt("Please Select Direction For The Longitude", InputControl::optLong);
    }
    if (entries.Month == February) {
        if (IsLeapYear(entries.Year) ? entries.Day >= 30 : entries.Day >= 29) {
            return WrongDate(WrongFebruaryDate);
        }
    }
    if (IsThirtyDayMonth(entries.Month) && entries.Day == 31) {
        return WrongDate(WrongThirtyDayDate);
    }

    // After the screen's own checks, so that each of them still comes first.
    if (auto failure = CheckAngle(entries.LatDeg, entries.LatMin, LatitudeArcMinuteRange,
            ErrorAt("Please Enter Minutes of Latitude From 0 To 59", InputControl::txtLatMin),
            ErrorAt("Please Enter A Latitude Of 90 Degrees Or Less", InputControl::txtLatDeg))) {
        return failure;
    }
    if (auto failure = CheckAngle(entries.LonDeg, entries.LonMin, LongitudeArcMinuteRange,
            ErrorAt("Please Enter Minute of Longitude From 0 To 59", InputControl::txtLonMin),
            ErrorAt("Please Enter A Longitude Of 180 Degrees Or Less", InputControl::txtLonDeg))) {
        return failure;
    }

    // The window's lists cannot hold these values; a caller that fills the
    // entries by other means gets a message instead of a reading computed on
    // a date, time or zone that does not exist.
    if (!DayRange.Contains(entries.Day) || !MonthRange.Contains(entries.Month)) {
        return WrongDate(WrongFebruaryDate);
    }
    if (!conventions.Years().Contains(entries.Year)) {
        return YearFailure(conventions);
    }
    if (!HourRange.Contains(entries.Hour) || !MinuteRange.Contains(entries.Minute)) {
        return ErrorAt("Please Enter Correct Time Of Birth", InputControl::None);
    }
    if (!ZoneRange.Contains(entries.ZonePosition)) {
        return ErrorAt("Please Select Your Time Zone", InputControl::None);
    }
    return std::nullopt;
}

} // namespace

int LocalMeanTimeSeconds(double longitudeDeg)
{
    return static_cast<int>(std::lround(longitudeDeg * 240));
}

InputCheckFailure YearFailure(const Conventions& conventions)
{
    return {conventions.Sky == SkyModel::Precise ? PreciseYearMessage : ClassicYearMessage, MessageIcon::Error,
        InputControl::None};
}

BirthCheck ValidateInput(const BirthData& entries, const Conventions& conventions, const ExactOffset* offset)
{
    if (auto failure = FirstFailure(entries, conventions)) {
        return {failure, {}};
    }
    return {std::nullopt, BirthOf(entries, offset)};
}

bool NameCharacterAllowed(char32_t code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == ' ' || code == '\'' || code == '-'
        || code == '.';
}

std::optional<char32_t> FirstNameCharacterRefused(std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Character c = DecodeUtf8(utf8, pos);
        // A byte of no character stands for itself; the UTF-8 check names it.
        const char32_t code = c.Length == 0 ? static_cast<unsigned char>(utf8[pos]) : c.Code;
        if (!NameCharacterAllowed(code)) {
            return code;
        }
        pos += c.Length == 0 ? 1 : c.Length;
    }
    return std::nullopt;
}

std::optional<int> DigitsNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace halvaro
