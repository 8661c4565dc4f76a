#include "ephemeris/MoonEngine.h"

#include "core/Angles.h"
#include "core/Calendar.h"
#include "core/SignPosition.h"

#include <array>
#include <cmath>

namespace halvaro::modVedicEphemeris {

namespace {

// One periodic term: coefficient (degrees) × sin(d·D + m·M + mp·M′ + f·F),
// times E when the term holds the Sun's anomaly. The multiples are whole
// numbers kept as doubles, the values they took when converted for each use.
struct LongitudeTerm {
    double coefficient;
    double d, m, mp, f;
    bool timesE;
};

// The 25 largest terms of the Moon's longitude from the ELP-based series in
// Meeus, Astronomical Algorithms, chapter 47.
constexpr std::array<LongitudeTerm, 25> LongitudeSeries = {{
    {+6.288774, 0, 0, 1, 0, false},
    {+1.274027, 2, 0, -1, 0, false},
    {+0.658314, 2, 0, 0, 0, false},
    {+0.213618, 0, 0, 2, 0, false},
    {-0.185116, 0, 1, 0, 0, true},
    {-0.114332, 0, 0, 0, 2, false},
    {+0.058793, 2, 0, -2, 0, false},
    {+0.057066, 2, -1, -1, 0, true},
    {+0.053322, 2, 0, 1, 0, false},
    {+0.045758, 2, -1, 0, 0, true},
    {-0.040923, 0, 1, -1, 0, true},
    {-0.034720, 1, 0, 0, 0, false},
    {-0.030383, 0, 1, 1, 0, true},
    {+0.015327, 2, 0, 0, -2, false},
    {-0.012528, 0, 0, 1, 2, false},
    {+0.010980, 0, 0, 1, -2, false},
    {+0.010675, 4, 0, -1, 0, false},
    {+0.010034, 0, 0, 3, 0, false},
    {+0.008548, 4, 0, -2, 0, false},
    {-0.007888, 2, 1, -1, 0, true},
    {-0.006766, 2, 1, 0, 0, true},
    {-0.005163, 1, 0, -1, 0, false},
    {+0.004987, 1, 1, 0, 0, true},
    {+0.004036, 2, -1, 1, 0, true},
    {+0.003994, 2, 0, 2, 0, false},
}};

// A combination written out (2D − M′) and one summed from the table differ
// only by exact additions of zero, so the table keeps the written bits.
double Argument(const LongitudeTerm& term, double d, double m, double mp, double f)
{
    return term.d * d + term.m * m + term.mp * mp + term.f * f;
}

} // namespace

double SiderealCorrection(double t)
{
    // Newcomb's general precession in longitude (5025.64" + 1.11" T per
    // century) and the two largest terms of the nutation in longitude
    // (17.23" of the node, 1.27" of the Sun), about an epoch 85886.27" back;
    // the Moon's node and the Sun's mean longitude as in Meeus, Astronomical
    // Algorithms, chapter 22.
    const double omega = 125.044555 - 1934.1361849 * t + 0.0020762 * (t * t);
    const double l = 280.466449 + 36000.7698231 * t + 0.0003106 * (t * t);
    const double p = 1.27 * std::sin(l * DegToRad) + 17.23 * std::sin(omega * DegToRad) - (5025.64 + 1.11 * t) * t;
    return (p - 85886.27) / 3600;
}

// The Moon's mean elongation, the Sun's and the Moon's mean anomalies and the
// Moon's argument of latitude: Meeus, Astronomical Algorithms, 47.2 to 47.5
// without their terms in T squared and beyond.
double LunarLongitudeSeries(double t)
{
    const double d = (297.8502042 + 445267.1115168 * t) * DegToRad;
    const double m = (357.5291092 + 35999.0502909 * t) * DegToRad;
    const double mp = (134.9634114 + 477198.8676313 * t) * DegToRad;
    const double f = (93.2720993 + 483202.0175273 * t) * DegToRad;
    // The eccentricity of the Earth's orbit shrinks the terms in M.
    const double e = 1 - 0.002516 * t - 0.0000074 * (t * t);

    double sum = 0;
    for (const LongitudeTerm& term : LongitudeSeries) {
        double value = term.coefficient * std::sin(Argument(term, d, m, mp, f));
        if (term.timesE) {
            value = value * e;
        }
        sum = sum + value;
    }
    return sum;
}

double ReduceMoonLongitude(double lambda)
{
    return SubtractTurnsWhileAbove360(AddTurnsWhileNegative(lambda));
}

double CenturiesSinceJ2000(double birthDayNumber, double universalHours)
{
    return ((birthDayNumber - 2451545) + universalHours / 24 - 0.5) / 36525;
}

double MoonSiderealLongitude(double t)
{
    // The Moon's mean longitude: Meeus 47.1 without its terms in T squared and beyond.
    const double meanLongitude = 218.3164591 + 481267.88134236 * t;
    const double lambda = meanLongitude + LunarLongitudeSeries(t);
    if (!std::isfinite(lambda)) {
        return std::nan("");
    }
    // Never reduced from above: λ ≤ 360 plus a negative correction stays below.
    double sidereal = ReduceMoonLongitude(lambda) + SiderealCorrection(t);
    if (sidereal < 0) {
        sidereal = sidereal + 360;
    }
    return sidereal;
}

MoonPosition ComputeEphemeris(const BirthMoment& moment)
{
    MoonPosition moon;
    moon.Longitude = MoonSiderealLongitude(CenturiesSinceJ2000(moment.JulianDayNumber, moment.UniversalHours));
    moon.MoonPositionText = FormatSignPosition(moon.Longitude);
    return moon;
}

} // namespace halvaro::modVedicEphemeris
