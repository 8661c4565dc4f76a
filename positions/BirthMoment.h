#pragma once

#include "core/Calendar.h"

namespace halvaro::modVedicPlanetPosition {

// Working values of ComputeAyanamsa, overwritten by each call.
extern double LocalHours;         // birth clock time in hours; kept for the record of the run
// Not the size of the zone offset but its signed correction after daylight
// saving: the moment follows the zone's own sign.
extern double ZoneOffsetHours;
extern double WestLongitude;      // kept for the record of the run; the moment no longer needs it
extern double BirthJulianDay;     // Julian Day Number of the civil birth date
extern double UniversalHours;     // may lie below 0 or at 24 and above; the date is not carried
extern double CenturiesSince1900; // Julian centuries from JD 2415020
extern double Ayanamsa;           // degrees, negative for every supported date

// Reads BirthRecord; writes the values above.
void ComputeAyanamsa();

// The ayanamsa in degrees for a time in Julian centuries since 1900.
double AyanamsaDegrees(double centuries);

// Julian centuries from JD 2415020 of the civil date's day number and the
// Universal Time in hours (not carried into the date).
double CenturiesSince1900Of(double birthJulianDay, double universalHours);

} // namespace halvaro::modVedicPlanetPosition
