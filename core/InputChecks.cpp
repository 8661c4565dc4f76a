#include "core/InputChecks.h"

#include "core/Ranges.h"

namespace halvaro {

namespace {

constexpr std::string_view WrongFebruaryDate = "Please Enter Correct Date Or Month!";
// The thirty-day months' message has a blank before the exclamation mark.
constexpr std::string_view WrongThirtyDayDate = "Please Enter Correct Date Or Month !";

constexpr int February = 2;

InputCheckFailure ErrorAt(std::string_view message, InputControl control)
{
    return {message, MessageIcon::Error, control};
}

InputCheckFailure WrongDate(std::string_view message)
{
    return {message, MessageIcon::Information, InputControl::None};
}

// Over the years offered, 1901 to 2050, divisibility by 4 agrees with the
// Gregorian rule.
bool IsLeapYear(int year)
{
    return year % 4 == 0;
}

bool IsThirtyDayMonth(int month)
{
    return month == 4 || month == 6 || month == 9 || month == 11;
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

} // namespace

std::optional<InputCheckFailure> ValidateInput(const BirthData& entries)
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

    // The window's lists cannot hold these values; a caller that fills the
    // entries by other means gets a message instead of a reading computed on
    // a date, time or zone that does not exist.
    if (!DayRange.Contains(entries.Day) || !MonthRange.Contains(entries.Month)) {
        return WrongDate(WrongFebruaryDate);
    }
    if (!YearRange.Contains(entries.Year)) {
        return ErrorAt("Please Enter A Year From 1901 To 2050", InputControl::None);
    }
    if (!HourRange.Contains(entries.Hour) || !MinuteRange.Contains(entries.Minute)) {
        return ErrorAt("Please Enter Correct Time Of Birth", InputControl::None);
    }
    if (!ZoneRange.Contains(entries.ZonePosition)) {
        return ErrorAt("Please Select Your Time Zone", InputControl::None);
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

// Typing is filtered to digits, but a paste through the context menu is not;
// the boxes hold at most three characters.
std::optional<std::int16_t> BoxNumber(std::string_view text)
{
    const auto value = DigitsNumber(text, BoxDigitCount);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*value);
}

bool LetterBoxAccepts(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == ' ' || code == 8 || code == 127;
}

bool NumberBoxAccepts(int code)
{
    return (code >= '0' && code <= '9') || code == 8 || code == 127;
}

} // namespace halvaro
