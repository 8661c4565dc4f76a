#pragma once

// The birth moment's calendar helpers, shared by the Moon engine and the
// planetary positions so that both use one and the same moment.
namespace halvaro::modVedicPlanetPosition {

// Day number at noon of a civil date (Julian calendar before the reform,
// Gregorian after); 2000 January 1 gives 2451545.
double JulianDayNumber(int month, int day, int year);

// Clock time in hours.
double ClockHours(int hour, int minute);

// The zone's own signed correction in hours; daylight saving moves Universal
// Time one hour earlier wherever the birth place lies.
double ZoneCorrectionHours(int zoneHourCorrection, int zoneMinuteCorrection, bool daylightSaving);

// Universal Time of birth in hours from the clock time and the zone's own
// signed corrections; may lie below 0 or at 24 and above (the date is not
// carried).
double BirthUniversalHours(int hour, int minute, int zoneHourCorrection, int zoneMinuteCorrection,
    bool daylightSaving);

// A civil date and time after the zone's corrections have been added, with
// carrying into day, month and year.
struct CivilDateTime {
    int Year, Month, Day, Hour, Minute;
};

// True when the local date and clock time exist (Gregorian calendar).
bool IsValidBirthTime(int year, int month, int day, int hour, int minute);

// Local birth time (a valid one) plus the signed corrections, one hour
// earlier with daylight saving, carried across midnight, month and year ends.
CivilDateTime UniversalBirthTime(int year, int month, int day, int hour, int minute,
    int zoneHourCorrection, int zoneMinuteCorrection, bool daylightSaving);

} // namespace halvaro::modVedicPlanetPosition
