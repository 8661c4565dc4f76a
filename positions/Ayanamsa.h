#pragma once

#include "core/Calendar.h"

namespace halvaro::modVedicPlanetPosition {

// The ayanamsa of a birth moment, in degrees: negative for every supported
// date, NaN when the moment gives no finite value.
double ComputeAyanamsa(const BirthMoment& moment);

// The ayanamsa in degrees for a time in Julian centuries since 1900.
double AyanamsaDegrees(double centuries);

// Julian centuries from JD 2415020 of the civil date's day number and the
// Universal Time in hours (not carried into the date).
double CenturiesSince1900Of(double birthJulianDay, double universalHours);

} // namespace halvaro::modVedicPlanetPosition
