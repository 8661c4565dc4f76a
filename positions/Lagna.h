#pragma once

namespace halvaro::modVedicPlanetPosition {

// Whether a reading has a Lagna, and if not, why.
enum class LagnaStatus {
    NotComputed,   // the sky model gave none
    Computed,
    PolarLatitude, // at a pole, where no point of the horizon is east
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

// The tropical ecliptic longitude in [0, 360) that rises (Meeus, eq. 14.2)
// for a local sidereal time, obliquity and latitude, all in degrees. Of the
// two points where the ecliptic meets the horizon it is the one that lies
// less than 180° after the MC: the eastern one outside the polar circles, and
// inside them the convention of the Swiss Ephemeris, where the rising point
// can stand west of the meridian.
double AscendantDegrees(double localSiderealDeg, double obliquityDeg, double latitudeDeg);

// The tropical ecliptic longitude on the upper meridian (the MC) for a local
// sidereal time and obliquity, in degrees [0, 360).
double MidheavenDegrees(double localSiderealDeg, double obliquityDeg);

// Whether the Lagna of a latitude can be drawn: NoSuchLatitude beyond 90°,
// PolarLatitude at a pole, else Computed.
LagnaStatus LagnaLatitudeStatus(double latitudeDeg);

// The classic model's Lagna: the ascendant of the birth moment and place
// (latitude north positive, longitude east positive) less |ayanamsa|, as the
// graha positions take it off.
LagnaResult ClassicLagna(double julianDayUt, double latitudeDeg, double longitudeDeg, double ayanamsa);

} // namespace halvaro::modVedicPlanetPosition
