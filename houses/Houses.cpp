#include "houses/Houses.h"

#include "core/Text.h"

#include <cmath>

namespace halvaro::houses {

namespace {

double Reduced(double degrees)
{
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0 ? reduced + 360 : reduced >= 360 ? 0 : reduced;
}

// How far `to` lies on from `from`, eastward, in [0, 360).
double ArcFrom(double from, double to)
{
    return Reduced(to - from);
}

} // namespace

std::optional<HouseSystem> HouseSystemNamed(std::string_view option)
{
    for (std::size_t i = 0; i < HouseSystemCount; ++i) {
        if (HouseSystemTable[i].Option == option) {
            return static_cast<HouseSystem>(i);
        }
    }
    return std::nullopt;
}

Cusps WholeSignCusps(double lagnaDeg)
{
    const double first = 30 * std::floor(Reduced(lagnaDeg) / 30);
    Cusps cusps {};
    for (std::size_t house = 0; house < cusps.size(); ++house) {
        cusps[house] = Reduced(first + 30 * static_cast<double>(house));
    }
    return cusps;
}

Cusps SripatiCusps(double ascendantDeg, double midheavenDeg)
{
    const double nadir = Reduced(midheavenDeg + 180);
    // The middles of houses 1..12: each quadrant's angle and its thirds.
    Cusps middles {};
    const double firstQuadrant = ArcFrom(ascendantDeg, nadir);  // houses 1 to 4
    const double secondQuadrant = 180 - firstQuadrant;          // houses 4 to 7
    for (std::size_t third = 0; third < 3; ++third) {
        const double k = static_cast<double>(third);
        middles[third] = Reduced(ascendantDeg + k * firstQuadrant / 3);
        middles[third + 3] = Reduced(nadir + k * secondQuadrant / 3);
        middles[third + 6] = Reduced(ascendantDeg + 180 + k * firstQuadrant / 3);
        middles[third + 9] = Reduced(midheavenDeg + k * secondQuadrant / 3);
    }
    Cusps cusps {};
    for (std::size_t house = 0; house < cusps.size(); ++house) {
        const double before = middles[(house + 11) % 12];
        cusps[house] = Reduced(before + ArcFrom(before, middles[house]) / 2);
    }
    return cusps;
}

int HouseOf(const Cusps& cusps, double longitudeDeg)
{
    const double longitude = Reduced(longitudeDeg);
    for (std::size_t house = 0; house < cusps.size(); ++house) {
        const double span = ArcFrom(cusps[house], cusps[(house + 1) % 12]);
        if (ArcFrom(cusps[house], longitude) < span) {
            return static_cast<int>(house) + 1;
        }
    }
    return 1; // cusps that do not run round the circle in order: none is passed
}

Houses HousesBetween(HouseSystem system, const Cusps& cusps, const std::array<double, GrahaCountWithKetu>& longitudes)
{
    Houses houses;
    houses.System = system;
    houses.Cusp = cusps;
    for (std::size_t graha = 0; graha < longitudes.size(); ++graha) {
        houses.Grahas[graha] = HouseOf(cusps, longitudes[graha]);
    }
    return houses;
}

std::string NoCuspsNote(HouseSystem system, double latitudeDeg)
{
    const auto minutes = static_cast<long long>(std::floor(std::fabs(latitudeDeg) * 60));
    return std::string(NamesOf(system).Shown) + " houses do not exist at latitude " + DecimalText(minutes / 60)
        + "\xC2\xB0" + (minutes % 60 < 10 ? "0" : "") + DecimalText(minutes % 60) + "' "
        + (latitudeDeg < 0 ? "S" : "N")
        + ": inside the polar circle some degrees of the zodiac never rise, and the system cannot divide "
          "their time. Choose Sripati or whole-sign houses.";
}

} // namespace halvaro::houses
