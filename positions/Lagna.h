#pragma once

namespace halvaro::modVedicPlanetPosition {

// Whether a reading has a Lagna, and if not, why.
enum class LagnaStatus {
    NotComputed,   // the sky model gave none
    Computed,
    PolarLatitude, // beyond 90° less the obliquity the ecliptic can lie along the horizon
    NoSuchLatitude // beyond 90°, or not a number
};

struct LagnaResult {
    LagnaStatus Status = LagnaStatus::NotComputed;
    double Longitude = 0; // sidereal degrees in [0, 360); meaningful only when Computed
};

// Greenwich mean sidereal time in degrees [0, 360) at a Julian day of
// Universal Time: the IAU 1982 expression as Meeus gives it (Astronomical
// Algorithms, 2nd ed., eq. 12.4).
double GreenwichSiderealDegrees(double julianDayUt);

// Mean obliquity of the ecliptic in degrees (Meeus, eq. 22.2); Universal
// Time stands in for Dynamical Time, which moves it by far less than an
// arc-second.
double MeanObliquityDegrees(double julianDay);

// The tropical ecliptic longitude in [0, 360) that rises on the eastern
// horizon (Meeus, eq. 14.2, the eastern of its two points) for a local
// sidereal time, obliquity and latitude, all in degrees.
double AscendantDegrees(double localSiderealDeg, double obliquityDeg, double latitudeDeg);

// Whether the Lagna of a latitude can be drawn: NoSuchLatitude beyond 90°,
// PolarLatitude where the ecliptic can lie along the horizon, else Computed.
LagnaStatus LagnaLatitudeStatus(double julianDayUt, double latitudeDeg);

// The classic model's Lagna: the ascendant of the birth moment and place
// (latitude north positive, longitude east positive) less |ayanamsa|, as the
// graha positions take it off.
LagnaResult ClassicLagna(double julianDayUt, double latitudeDeg, double longitudeDeg, double ayanamsa);

} // namespace halvaro::modVedicPlanetPosition
