#pragma once

namespace halvaro::modVedicPlanetPosition {

// Working values of ComputeAyanamsa, overwritten by each call.
extern double LocalHours;         // birth clock time in hours
extern double ZoneOffsetHours;    // signed zone correction in hours, after daylight saving
extern double WestLongitude;      // informational: degrees, positive west
extern double BirthJulianDay;     // Julian Day Number of the civil birth date
extern double UniversalHours;     // may lie below 0 or at 24 and above; the date is not carried
extern double CenturiesSince1900; // Julian centuries from JD 2415020
extern double Ayanamsa;           // degrees, negative for every supported date

// Reads BirthRecord; writes the values above.
void ComputeAyanamsa();

// Day number at noon of a civil date (Julian calendar before the reform,
// Gregorian after); 2000 January 1 gives 2451545.
double JulianDayNumber(int month, int day, int year);

// The ayanamsa in degrees for a time in Julian centuries since 1900.
double AyanamsaDegrees(double centuries);

// Universal Time of birth in hours from the record's clock time and the
// zone's own signed corrections; daylight saving moves it one hour earlier.
// Shared by the Moon engine so that both use one and the same moment.
double BirthUniversalHours(int hour, int minute, int zoneHourCorrection, int zoneMinuteCorrection,
    bool daylightSaving);

} // namespace halvaro::modVedicPlanetPosition
