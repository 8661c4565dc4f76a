#pragma once

#include "core/Angles.h"

#include <array>

namespace halvaro::modVedicPlanetPosition {

using halvaro::DegToRad;
using halvaro::Pi;
using halvaro::TwoPi;
inline constexpr double KeplerTolerance = 1e-12;

// Body indices of LoadOrbitalElements and GeocentricLongitude.
inline constexpr int Mercury = 0;
inline constexpr int Venus = 1;
inline constexpr int Earth = 2; // as a body of GeocentricLongitude: the Sun
inline constexpr int Mars = 3;
inline constexpr int Jupiter = 4;
inline constexpr int Saturn = 5;
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

// The geocentric tropical longitudes of all six bodies at one day number, in
// [0, 360], by body index; false when one of them is not finite.
bool GeocentricLongitudes(double dayNumber, std::array<double, BodyCount>& longitudes);

double NormalizeRadians(double x);
double TrueAnomaly(double meanAnomaly, double eccentricity);
double QuadrantArcTangent(double y, double x);

} // namespace halvaro::modVedicPlanetPosition
