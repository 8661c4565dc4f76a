// ephemeris/ holds the Moon position engine.
#pragma once

#include "core/Calendar.h"
#include "core/FixedText.h"

namespace halvaro::modVedicEphemeris {

// The Moon's sidereal longitude in degrees (NaN when the series gives no
// finite value) and its long position text (empty then).
struct MoonPosition {
    double Longitude = 0;
    PositionText MoonPositionText;
};

MoonPosition ComputeEphemeris(const BirthMoment& moment);

// Julian centuries from 2000 January 1, 12:00 of the civil date's day number
// and the Universal Time in hours (not carried into the date).
double CenturiesSinceJ2000(double birthDayNumber, double universalHours);

// The Moon's sidereal longitude in degrees at T, in [0, 360); NaN when the
// series gives no finite value.
double MoonSiderealLongitude(double t);

// Degrees to add to a tropical longitude to make it sidereal (negative).
double SiderealCorrection(double t);

// Σl of the 25-row series, degrees, for T in Julian centuries from J2000.
double LunarLongitudeSeries(double t);

// Reduces λ into [0, 360]: up while below 0, down while above 360 (exactly
// 360 stays 360). Done with a remainder; the result is bit for bit that of
// the repeated additions or subtractions.
double ReduceMoonLongitude(double lambda);

} // namespace halvaro::modVedicEphemeris
