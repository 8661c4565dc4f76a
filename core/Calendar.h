#pragma once

#include "core/Birth.h"

#include <array>
#include <string_view>

// The birth moment, shared by the Moon engine, the planetary positions and
// the precise sky so that all of them use one and the same moment.
namespace halvaro {

// The months' English names, January first: the month list and the chart's dates.
inline constexpr std::array<std::string_view, 12> MonthNames = {"January", "February", "March", "April", "May",
    "June", "July", "August", "September", "October", "November", "December"};

// Day number at noon of a civil date (Julian calendar before the reform,
// Gregorian after); 2000 January 1 gives 2451545.
double JulianDayNumber(int month, int day, int year);

// Clock time in hours.
double ClockHours(int hour, int minute);

// The hours to add to local clock time to obtain Universal Time.
double UtcCorrectionHours(int utcOffsetSeconds);

// Local date and clock time less the offset, carried across midnight, month
// and year ends; with seconds in the offset, the minute the clocks of
// Universal Time showed.
CivilDateTime UniversalBirthTime(const CivilDateTime& local, int utcOffsetMinutes, int extraSeconds = 0);

// The moment of a birth, as every step of the calculation takes it.
struct BirthMoment {
    CivilDateTime Universal {}; // UT, carried into the date
    double UniversalHours = 0;  // clock time plus the correction; may lie outside 0..24
    double JulianDayNumber = 0; // of the local civil birth date, at noon
    double JulianDay = 0;       // the moment itself, UT
};

BirthMoment BirthMomentOf(const Birth& birth);

} // namespace halvaro
