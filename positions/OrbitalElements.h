#pragma once

#include "core/Angles.h"
#include "core/Graha.h"

#include <array>

namespace halvaro::modVedicPlanetPosition {

using halvaro::DegToRad;
using halvaro::Pi;
using halvaro::TwoPi;
inline constexpr double KeplerTolerance = 1e-12;

// Rows of the element table: Mercury, Venus, the Earth, Mars, Jupiter and
// Saturn, in the order of the published table.
inline constexpr int BodyCount = 6;

// One row of mean elements: base + rate x T (T in Julian centuries from
// J2000). a, e rates per century in their own unit; the angles' bases in
// degrees, their rates in arc-seconds per century.
struct OrbitalElementRow {
    double aBase, aRate;
    double eBase, eRate;
    double iBase, iRate;
    double nodeBase, nodeRate;
    double perihelionBase, perihelionRate;
    double lBase, lRate;
};

extern const std::array<OrbitalElementRow, BodyCount> OrbitalElementTable;

// Days since 2000 January 1, 12:00 UT (Gregorian date, UT clock time).
double DayNumber(int year, int month, int day, int hour, int minute);

// The geocentric tropical longitudes of the Sun (seen from the Earth's row)
// and the five planets at one day number, in [0, 360], each at its graha's
// index; the Moon's and the nodes' entries are left as they are. False when
// one of them is not finite.
bool GeocentricLongitudes(double dayNumber, std::array<double, GrahaCount>& longitudes);

double NormalizeRadians(double x);
double TrueAnomaly(double meanAnomaly, double eccentricity);
double QuadrantArcTangent(double y, double x);

} // namespace halvaro::modVedicPlanetPosition
