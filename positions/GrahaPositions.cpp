#include "positions/GrahaPositions.h"

#include "core/BirthRecord.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/OrbitalElements.h"
#include "positions/SignPosition.h"
#include "positions/TurnReduction.h"

#include <cmath>
#include <cstdint>

namespace halvaro::modVedicPlanetPosition {

std::array<PositionText, BodyCount> BodyPositionTexts;
PositionText RahuPositionText;
std::array<std::string_view, GrahaCount> GrahaNames;
std::array<std::string_view, GrahaCount> GrahaVedicNames;
std::array<ShortText, GrahaCount> GrahaPositionTexts;
double GrahaDayNumber = 0;

namespace {

constexpr std::array<std::string_view, GrahaCount> EnglishNames = {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "North Node"};
constexpr std::array<std::string_view, GrahaCount> VedicNames = {
    "Surya", "Chandra", "Budha", "Shukra", "Mangala", "Guru", "Shani", "Rahu"};

// The node's table turns radians back into degrees with 3.1416, not π.
constexpr double NodeRadToDeg = 180 / 3.1416;

constexpr std::string_view DegreeSign = "\xC2\xB0";

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
    }
    return count;
}

std::string_view LastCharacters(std::string_view text, std::size_t count)
{
    std::size_t start = text.size();
    while (count > 0 && start > 0) {
        --start;
        if (!IsContinuationByte(text[start])) {
            --count;
        }
    }
    return text.substr(start);
}

void AppendTwoDigits(ShortText& out, std::string_view number)
{
    if (CharacterCount(number) <= 1) {
        out.append('0');
    }
    out.append(number);
}

bool IsLeapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(std::int64_t year, int month)
{
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

std::int64_t FloorDivide(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days from 1970 January 1 in the proleptic Gregorian calendar, counted in
// 400-year eras of 146097 days with the year starting on March 1, so that
// the leap day falls at the end.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = FloorDivide(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day)
{
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDivide(z, 146097);
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

// s − |ayanamsa| brought into [0, 360]; empty when it has no text.
PositionText SiderealText(double tropicalDeg)
{
    const double s = AddTurnsWhileNegative(tropicalDeg - std::fabs(Ayanamsa));
    return FormatSignPosition(s);
}

} // namespace

bool IsValidBirthTime(int year, int month, int day, int hour, int minute)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23
        && minute >= 0 && minute <= 59;
}

CivilDateTime UniversalBirthTime(int year, int month, int day, int hour, int minute, int zoneHourCorrection,
    int zoneMinuteCorrection, bool daylightSaving)
{
    std::int64_t minutes = std::int64_t {hour} * 60 + minute + std::int64_t {zoneHourCorrection} * 60
        + zoneMinuteCorrection - (daylightSaving ? 60 : 0);
    const std::int64_t dayShift = FloorDivide(minutes, 1440);
    minutes -= dayShift * 1440;

    std::int64_t utYear = 0;
    int utMonth = 0;
    int utDay = 0;
    CivilFromDays(DaysFromCivil(year, month, day) + dayShift, utYear, utMonth, utDay);
    return {static_cast<int>(utYear), utMonth, utDay, static_cast<int>(minutes / 60), static_cast<int>(minutes % 60)};
}

ShortText ShortPositionText(std::string_view longText)
{
    const std::string_view u = TrimSpaces(longText);
    const std::size_t degreeAt = u.find(DegreeSign);
    const std::size_t minuteAt = u.find('\'');
    if (degreeAt == std::string_view::npos || minuteAt == std::string_view::npos
        || minuteAt < degreeAt + DegreeSign.size()) {
        return {};
    }
    const std::size_t minuteStart = degreeAt + DegreeSign.size();
    const std::string_view degText = TrimSpaces(u.substr(0, degreeAt));
    const std::string_view minText = TrimSpaces(u.substr(minuteStart, minuteAt - minuteStart));
    const std::string_view signText = TrimSpaces(LastCharacters(longText, 3));

    ShortText text;
    AppendTwoDigits(text, degText);
    text.append(' ').append(signText).append(' ');
    AppendTwoDigits(text, minText);
    return text;
}

void ComputeGrahaPositions()
{
    GrahaNames = EnglishNames;
    GrahaVedicNames = VedicNames;

    const BirthRecordType& birth = BirthRecord;
    if (!IsValidBirthTime(birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute)) {
        return; // no such local date and time: there is no moment to compute
    }
    const CivilDateTime ut = UniversalBirthTime(birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute,
        birth.ZoneHourCorrection, birth.ZoneMinuteCorrection, birth.DaylightSaving != False16);
    const double d = DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);
    GrahaDayNumber = d;

    for (int index = 0; index < BodyCount; ++index) {
        if (!TryGeocentricLongitude(index, d)) {
            return;
        }
        const PositionText text = SiderealText(TropicalLongitude);
        if (text.empty()) {
            return;
        }
        BodyPositionTexts[static_cast<std::size_t>(index)] = text;
    }

    const double node = NormalizeRadians((125.1228 - 0.0529538083 * d) * DegToRad) * NodeRadToDeg - 1;
    const PositionText nodeText = SiderealText(node);
    if (nodeText.empty()) {
        return;
    }
    RahuPositionText = nodeText;

    const std::array<std::string_view, GrahaCount> longTexts = {BodyPositionTexts[Earth],
        modVedicEphemeris::MoonPositionText, BodyPositionTexts[Mercury], BodyPositionTexts[Venus],
        BodyPositionTexts[Mars], BodyPositionTexts[Jupiter], BodyPositionTexts[Saturn], RahuPositionText};
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const ShortText text = ShortPositionText(longTexts[graha]);
        if (text.empty()) {
            return;
        }
        GrahaPositionTexts[graha] = text;
    }
}

} // namespace halvaro::modVedicPlanetPosition
