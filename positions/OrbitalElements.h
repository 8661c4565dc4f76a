#pragma once

#include <array>

namespace halvaro::modVedicPlanetPosition {

inline constexpr double DegToRad = 0.0174532925199433;
inline constexpr double Pi = 3.14159265358979;
inline constexpr double TwoPi = 6.28318530717958;
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

// Module-level working values; each call overwrites them.
extern double ElementA;          // AU
extern double ElementE;
extern double ElementI;          // radians
extern double ElementNode;       // radians
extern double ElementPerihelion; // radians
extern double ElementL;          // radians, in [0, 2π)
extern double TropicalLongitude; // degrees, result of GeocentricLongitude

// Days since 2000 January 1, 12:00 UT (Gregorian date, UT clock time).
double DayNumber(int year, int month, int day, int hour, int minute);

void LoadOrbitalElements(int index, double dayNumber);

// Geocentric tropical longitude of body `index` into TropicalLongitude, in [0, 360].
void GeocentricLongitude(int index, double dayNumber);

// GeocentricLongitude that tells whether it ran to the end: false for an
// index outside 0..5 or a longitude that is not finite, and TropicalLongitude
// then keeps its previous value.
bool TryGeocentricLongitude(int index, double dayNumber);

double NormalizeRadians(double x);
double TrueAnomaly(double meanAnomaly, double eccentricity);
double QuadrantArcTangent(double y, double x);

} // namespace halvaro::modVedicPlanetPosition
