#include "positions/OrbitalElements.h"

#include <bit>
#include <cmath>

namespace halvaro::modVedicPlanetPosition {

// Mean Keplerian elements of the planets at J2000 with their rates per
// century, for the mean ecliptic and equinox of J2000: E. M. Standish (JPL),
// "Keplerian elements for approximate positions of the major planets",
// 1800-2050 table (angle rates in arc-seconds per century).
const std::array<OrbitalElementRow, BodyCount> OrbitalElementTable = {{
    {0.38709893, +0.00000066, 0.20563069, +0.00002527, 7.00487, -23.51, 48.33167, -446.30, 77.45645, +573.57, 252.25084, +538101628.29},
    {0.72333199, +0.00000092, 0.00677323, -0.00004938, 3.39471, -2.86, 76.68069, -996.89, 131.53298, -108.80, 181.97973, +210664136.06},
    {1.00000011, -0.00000005, 0.01671022, -0.00003804, 0.00005, -46.94, -11.26064, -18228.25, 102.94719, +1198.28, 100.46435, +129597740.63},
    {1.52366231, -0.00007221, 0.09341233, +0.00011902, 1.85061, -25.47, 49.57854, -1020.19, 336.04084, +1560.78, 355.45332, +68905103.78},
    {5.20336301, +0.00060737, 0.04839266, -0.00012880, 1.30530, -4.15, 100.55615, +1217.17, 14.75385, +839.93, 34.40438, +10925078.35},
    {9.53707032, -0.00301530, 0.05415060, -0.00036762, 2.48446, +6.11, 113.71504, -1591.05, 92.43194, -1948.89, 49.94432, +4401052.95},
}};

namespace {

// The Earth's row of the table; as a body it gives the Sun.
constexpr std::size_t EarthRow = 2;

// The graha each row gives.
constexpr std::array<Graha, BodyCount> GrahaOfRow {
    Graha::Mercury, Graha::Venus, Graha::Sun, Graha::Mars, Graha::Jupiter, Graha::Saturn};

// A body's mean elements at a day number: a and e in their own units, the
// angles in radians, the mean longitude L reduced into [0, 2π).
struct OrbitalElements {
    double a, e, i, node, perihelion, l;
};

constexpr double RadToDeg = 180 / Pi;

// A Newton step that has not met the tolerance by now never will (an
// eccentricity of 1 or more); the table's orbits need a handful.
constexpr int KeplerStepLimit = 64;

OrbitalElements ElementsAt(const OrbitalElementRow& row, double dayNumber)
{
    const double t = dayNumber / 36525;
    OrbitalElements el {};
    el.a = row.aBase + row.aRate * t;
    el.e = row.eBase + row.eRate * t;
    el.i = (row.iBase + row.iRate * t / 3600) * DegToRad;
    el.node = (row.nodeBase + row.nodeRate * t / 3600) * DegToRad;
    el.perihelion = (row.perihelionBase + row.perihelionRate * t / 3600) * DegToRad;
    el.l = NormalizeRadians((row.lBase + row.lRate * t / 3600) * DegToRad);
    return el;
}

// One Newton step towards the eccentric anomaly E of E − e sin E = M.
double KeplerStep(double e0, double e, double m)
{
    return e0 - (e0 - e * std::sin(e0) - m) / (1 - e * std::cos(e0));
}

// Kepler's equation for several orbits side by side. Each orbit takes exactly
// the steps it would take alone, so its result is the same to the bit; but
// the orbits' sines and divisions no longer wait on each other, and the
// processor overlaps them.
template <std::size_t N>
std::array<double, N> TrueAnomalies(const std::array<double, N>& meanAnomaly, const std::array<double, N>& eccentricity)
{
    static_assert(N <= 32, "one bit per orbit");
    const auto& m = meanAnomaly;
    const auto& e = eccentricity;
    std::array<double, N> e0 {};
    std::array<double, N> e1 {};
    std::array<int, N> steps {};
    unsigned pending = 0; // the orbits whose last step moved by more than the tolerance
    for (std::size_t k = 0; k < N; ++k) {
        e0[k] = m[k] + e[k] * std::sin(m[k]) * (1 + e[k] * std::cos(m[k]));
        e1[k] = KeplerStep(e0[k], e[k], m[k]);
        steps[k] = 1;
        if (std::fabs(e1[k] - e0[k]) > KeplerTolerance) {
            pending |= 1U << k;
        }
    }
    while (pending != 0) {
        for (unsigned bits = pending; bits != 0; bits &= bits - 1) {
            const auto k = static_cast<std::size_t>(std::countr_zero(bits));
            if (steps[k] == KeplerStepLimit) {
                e1[k] = std::nan("");
                pending &= ~(1U << k);
                continue;
            }
            e0[k] = e1[k];
            e1[k] = KeplerStep(e0[k], e[k], m[k]);
            ++steps[k];
            if (!(std::fabs(e1[k] - e0[k]) > KeplerTolerance)) {
                pending &= ~(1U << k);
            }
        }
    }
    std::array<double, N> nu {};
    for (std::size_t k = 0; k < N; ++k) {
        nu[k] = 2 * std::atan(std::sqrt((1 + e[k]) / (1 - e[k])) * std::tan(e1[k] / 2));
        if (nu[k] < 0) {
            nu[k] = nu[k] + TwoPi;
        }
    }
    return nu;
}

// The Earth's heliocentric position, which every body's geocentric longitude
// starts from.
struct EarthPosition {
    double x = 0, y = 0;
};

EarthPosition EarthAt(const OrbitalElements& el, double nu)
{
    const double r = el.a * (1 - el.e * el.e) / (1 + el.e * std::cos(nu));
    return {r * std::cos(nu + el.perihelion), r * std::sin(nu + el.perihelion)};
}

// The body's longitude seen from the Earth, in [0, 360]; NaN when not finite.
double LongitudeFrom(const EarthPosition& earth, const OrbitalElements& body, double nu, bool isEarth)
{
    double x = 0;
    double y = 0;
    if (!isEarth) { // as a body, the Earth's elements stand for the Sun at the origin
        const double r = body.a * (1 - body.e * body.e) / (1 + body.e * std::cos(nu));
        const double u = nu + body.perihelion - body.node;
        x = r * (std::cos(body.node) * std::cos(u) - std::sin(u) * std::sin(body.node) * std::cos(body.i));
        y = r * (std::sin(body.node) * std::cos(u) + std::sin(u) * std::cos(body.node) * std::cos(body.i));
    }

    double lambda = QuadrantArcTangent(y - earth.y, x - earth.x) * RadToDeg;
    if (!std::isfinite(lambda)) {
        return std::nan("");
    }
    while (lambda > 360) { // at most once: the arctangent lies within a half turn
        lambda = lambda - 360;
    }
    while (lambda < 0) {
        lambda = lambda + 360;
    }
    return lambda;
}

} // namespace

double DayNumber(int year, int month, int day, int hour, int minute)
{
    const double y = year;
    const double m = month;
    return 367 * y - std::floor(7 * (y + std::floor((m + 9) / 12)) / 4) + std::floor(275 * m / 9) + day - 730531.5
        + (hour + static_cast<double>(minute) / 60) / 24;
}

double NormalizeRadians(double x)
{
    const double q = x / TwoPi;
    const double f = q - std::trunc(q);
    double r = TwoPi * f;
    if (r < 0) {
        r = r + TwoPi;
    }
    return r;
}

double TrueAnomaly(double meanAnomaly, double eccentricity)
{
    return TrueAnomalies<1>({meanAnomaly}, {eccentricity})[0];
}

double QuadrantArcTangent(double y, double x)
{
    if (x > 0) {
        return std::atan(y / x);
    }
    if (x < 0) {
        if (y == 0) {
            return Pi; // the negative x-axis
        }
        return (Pi - std::atan(std::fabs(y / x))) * (y < 0 ? -1.0 : 1.0);
    }
    if (x == 0) {
        if (y == 0) {
            return 0;
        }
        return (y < 0 ? -1.0 : 1.0) * Pi / 2;
    }
    return std::nan(""); // x is NaN
}

bool GeocentricLongitudes(double dayNumber, std::array<double, GrahaCount>& longitudes)
{
    std::array<OrbitalElements, BodyCount> elements {};
    std::array<double, BodyCount> meanAnomalies {};
    std::array<double, BodyCount> eccentricities {};
    for (std::size_t row = 0; row < BodyCount; ++row) {
        elements[row] = ElementsAt(OrbitalElementTable[row], dayNumber);
        meanAnomalies[row] = NormalizeRadians(elements[row].l - elements[row].perihelion);
        eccentricities[row] = elements[row].e;
    }
    const std::array<double, BodyCount> nu = TrueAnomalies(meanAnomalies, eccentricities);
    const EarthPosition earth = EarthAt(elements[EarthRow], nu[EarthRow]);
    for (std::size_t row = 0; row < BodyCount; ++row) {
        const double lambda = LongitudeFrom(earth, elements[row], nu[row], row == EarthRow);
        if (std::isnan(lambda)) {
            return false;
        }
        longitudes[IndexOf(GrahaOfRow[row])] = lambda;
    }
    return true;
}

} // namespace halvaro::modVedicPlanetPosition
