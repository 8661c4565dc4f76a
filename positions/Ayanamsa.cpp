#include "positions/Ayanamsa.h"

#include "core/Angles.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

double CenturiesSince1900Of(double birthJulianDay, double universalHours)
{
    return ((birthJulianDay - 2415020) + universalHours / 24 - 0.5) / 36525;
}

double AyanamsaDegrees(double centuries)
{
    // Newcomb's general precession in longitude (5025.64" + 1.11" T per
    // century, T from 1900) with the two largest terms of the nutation in
    // longitude (17.23" sin of the Moon's node, 1.27" sin of twice the Sun's
    // mean longitude, both arguments in arc-seconds of 1900's elements),
    // about the epoch value 80861.27".
    const double t = centuries;
    // The node's longitude is brought below 360 only from above; a negative
    // value keeps its sign.
    const double n = SubtractTurnsWhileAtLeast360((933060 - 6962911 * t + 7.5 * (t * t)) / 3600);
    const double s = (259205536 * t + 2013816) / 3600;
    const double p = 17.23 * std::sin(n * DegToRad) + 1.27 * std::sin(s * DegToRad) - (5025.64 + 1.11 * t) * t;
    return (p - 80861.27) / 3600;
}

double ComputeAyanamsa(const BirthMoment& moment)
{
    return AyanamsaDegrees(CenturiesSince1900Of(moment.JulianDayNumber, moment.UniversalHours));
}

} // namespace halvaro::modVedicPlanetPosition
