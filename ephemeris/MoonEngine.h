#pragma once

#include "core/FixedText.h"

namespace halvaro::modVedicEphemeris {

inline constexpr double DegToRad = 0.0174532925199433;

// Working values of the engine, overwritten on every run.
extern double EngineLocalHours;
extern double EngineZoneHours;      // signed zone correction in hours, after daylight saving
extern double EngineWestLongitude;  // informational: degrees, positive west
extern double BirthDayNumber;
extern double EngineUniversalHours; // may lie outside 0..24; the date is not carried
extern double T;                    // Julian centuries from 2000 January 1, 12:00
extern double EngineSiderealCorrection;
extern double MoonLongitude;        // tropical λ, then sidereal

// The Moon's sidereal position, kept until the next run.
extern PositionText MoonPositionText;

// Reads BirthRecord; writes the values above.
void ComputeEphemeris();

// Degrees to add to a tropical longitude to make it sidereal (negative).
double SiderealCorrection(double t);

// Σl of the 25-row series, degrees, for T in Julian centuries from J2000.
double LunarLongitudeSeries(double t);

// Reduces λ into [0, 360]: up while below 0, down while above 360 (exactly
// 360 stays 360). Done with a remainder; the result is bit for bit that of
// the repeated additions or subtractions.
double ReduceMoonLongitude(double lambda);

} // namespace halvaro::modVedicEphemeris
