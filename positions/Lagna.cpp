#include "positions/Lagna.h"

#include "core/Angles.h"
#include "positions/GrahaPositions.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

namespace {

constexpr double J2000 = 2451545.0;
constexpr double DaysPerCentury = 36525.0;
constexpr double RadToDeg = 180 / Pi;

double TurnsReduced(double degrees)
{
    // Within a turn either way the remainder is the angle itself.
    if (degrees > -360 && degrees < 360) {
        return degrees < 0 ? degrees + 360.0 : degrees;
    }
    const double rest = TurnRemainder(degrees);
    return rest < 0 ? rest + 360.0 : rest;
}

} // namespace

double GreenwichSiderealDegrees(double julianDayUt)
{
    const double days = julianDayUt - J2000;
    const double t = days / DaysPerCentury;
    return TurnsReduced(280.46061837 + 360.98564736629 * days + 0.000387933 * t * t - t * t * t / 38710000.0);
}

double MeanObliquityDegrees(double julianDay)
{
    const double t = (julianDay - J2000) / DaysPerCentury;
    const double seconds = 21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t;
    return 23.0 + 26.0 / 60.0 + seconds / 3600.0;
}

double MidheavenDegrees(double localSiderealDeg, double obliquityDeg)
{
    const double theta = localSiderealDeg * DegToRad;
    return TurnsReduced(std::atan2(std::sin(theta), std::cos(theta) * std::cos(obliquityDeg * DegToRad)) * RadToDeg);
}

double AscendantDegrees(double localSiderealDeg, double obliquityDeg, double latitudeDeg)
{
    const double theta = localSiderealDeg * DegToRad;
    const double epsilon = obliquityDeg * DegToRad;
    const double phi = latitudeDeg * DegToRad;
    // atan2 of the numerator and minus the denominator of 14.2 picks the
    // point east of the meridian at once, wherever the ecliptic cannot lie
    // along the horizon.
    const double y = std::cos(theta);
    const double x = -(std::sin(epsilon) * std::tan(phi) + std::cos(epsilon) * std::sin(theta));
    const double ascendant = TurnsReduced(std::atan2(y, x) * RadToDeg);
    // Inside the polar circles that point can lie more than 180° after the
    // MC; the other crossing, opposite it, is the one that rises.
    const double afterMidheaven = TurnsReduced(ascendant - MidheavenDegrees(localSiderealDeg, obliquityDeg));
    return afterMidheaven >= 180 ? TurnsReduced(ascendant + 180) : ascendant;
}

LagnaStatus LagnaLatitudeStatus(double latitudeDeg)
{
    if (!(std::fabs(latitudeDeg) <= 90)) {
        return LagnaStatus::NoSuchLatitude;
    }
    if (std::fabs(latitudeDeg) == 90) {
        return LagnaStatus::PolarLatitude;
    }
    return LagnaStatus::Computed;
}

LagnaResult ClassicLagna(double julianDayUt, double latitudeDeg, double longitudeDeg, double ayanamsa)
{
    if (const LagnaStatus status = LagnaLatitudeStatus(latitudeDeg); status != LagnaStatus::Computed) {
        return {status, 0};
    }
    const double obliquity = MeanObliquityDegrees(julianDayUt);
    const double localSidereal = TurnsReduced(GreenwichSiderealDegrees(julianDayUt) + longitudeDeg);
    const double sidereal = SiderealLongitude(AscendantDegrees(localSidereal, obliquity, latitudeDeg), ayanamsa);
    if (!std::isfinite(sidereal) || !std::isfinite(longitudeDeg)) {
        return {LagnaStatus::NotComputed, 0};
    }
    // A tropical value just below 360 less a tiny ayanamsa can round to 360.
    return {LagnaStatus::Computed, sidereal >= 360 ? 0.0 : sidereal};
}

} // namespace halvaro::modVedicPlanetPosition
