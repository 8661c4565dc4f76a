#include "core/Calendar.h"

#include <chrono>
#include <cmath>

namespace halvaro::modVedicPlanetPosition {

namespace chr = std::chrono;

double JulianDayNumber(int month, int day, int year)
{
    const double m = 12 * (static_cast<double>(year) + 4800) + month - 3;
    double j = std::floor((2 * (m - 12 * std::floor(m / 12)) + 7 + 365 * m) / 12) + day + std::floor(m / 48) - 32083;
    if (j > 2299171) {
        j = j + std::floor(m / 4800) - std::floor(m / 1200) + 38;
    }
    return j;
}

double ClockHours(int hour, int minute)
{
    return static_cast<double>(hour) + static_cast<double>(minute) / 60;
}

// Following the zone's sign, not the hemisphere, keeps a western birth under
// an eastern zone (Spain under CET) at the right moment; where the two agree
// the bits are the same as taking the size of the zone and the direction of
// the longitude.
double ZoneCorrectionHours(int zoneHourCorrection, int zoneMinuteCorrection, bool daylightSaving)
{
    double hours = static_cast<double>(zoneHourCorrection) + static_cast<double>(zoneMinuteCorrection) / 60;
    if (daylightSaving) {
        hours = hours - 1;
    }
    return hours;
}

double BirthUniversalHours(int hour, int minute, int zoneHourCorrection, int zoneMinuteCorrection,
    bool daylightSaving)
{
    return ClockHours(hour, minute) + ZoneCorrectionHours(zoneHourCorrection, zoneMinuteCorrection, daylightSaving);
}

bool IsValidBirthTime(int year, int month, int day, int hour, int minute)
{
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    const chr::year_month_day date {chr::year {year}, chr::month {static_cast<unsigned>(month)},
        chr::day {static_cast<unsigned>(day)}};
    return date.ok() && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

CivilDateTime UniversalBirthTime(int year, int month, int day, int hour, int minute, int zoneHourCorrection,
    int zoneMinuteCorrection, bool daylightSaving)
{
    const chr::sys_days date {chr::year {year} / chr::month {static_cast<unsigned>(month)}
        / chr::day {static_cast<unsigned>(day)}};
    const chr::minutes shift = chr::hours {hour + zoneHourCorrection - (daylightSaving ? 1 : 0)}
        + chr::minutes {minute + zoneMinuteCorrection};
    const chr::sys_time<chr::minutes> moment = date + shift;
    const chr::sys_days utDate = chr::floor<chr::days>(moment);
    const chr::year_month_day ut {utDate};
    const chr::hh_mm_ss clock {moment - utDate};
    return {static_cast<int>(ut.year()), static_cast<int>(static_cast<unsigned>(ut.month())),
        static_cast<int>(static_cast<unsigned>(ut.day())), static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count())};
}

} // namespace halvaro::modVedicPlanetPosition
