#include "core/Calendar.h"

#include <chrono>
#include <cmath>

namespace halvaro {

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

// The quotient of two whole numbers is rounded once, so for a whole number
// of minutes m, -60m / 3600 is the same double as -m / 60: the seconds
// change no bit of any whole-minute offset's moment.
double UtcCorrectionHours(int utcOffsetSeconds)
{
    return static_cast<double>(-utcOffsetSeconds) / 3600;
}

CivilDateTime UniversalBirthTime(const CivilDateTime& local, int utcOffsetMinutes, int extraSeconds)
{
    const chr::sys_days date {chr::year {local.Year} / chr::month {static_cast<unsigned>(local.Month)}
        / chr::day {static_cast<unsigned>(local.Day)}};
    const chr::seconds shift = chr::hours {local.Hour} + chr::minutes {local.Minute - utcOffsetMinutes}
        - chr::seconds {extraSeconds};
    const chr::sys_time<chr::minutes> moment = chr::floor<chr::minutes>(date + shift);
    const chr::sys_days utDate = chr::floor<chr::days>(moment);
    const chr::year_month_day ut {utDate};
    const chr::hh_mm_ss clock {moment - utDate};
    return {static_cast<int>(ut.year()), static_cast<int>(static_cast<unsigned>(ut.month())),
        static_cast<int>(static_cast<unsigned>(ut.day())), static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count())};
}

BirthMoment BirthMomentOf(const Birth& birth)
{
    const CivilDateTime& local = birth.Local;
    BirthMoment moment;
    moment.Universal = UniversalBirthTime(local, birth.UtcOffsetMinutes, birth.UtcOffsetExtraSeconds);
    moment.UniversalHours = ClockHours(local.Hour, local.Minute) + UtcCorrectionHours(UtcOffsetSecondsOf(birth));
    moment.JulianDayNumber = JulianDayNumber(local.Month, local.Day, local.Year);
    moment.JulianDay = moment.JulianDayNumber + moment.UniversalHours / 24 - 0.5;
    return moment;
}

} // namespace halvaro
