#include "positions/GrahaPositions.h"

#include "core/Angles.h"
#include "positions/OrbitalElements.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

namespace {

// The node's table turns radians back into degrees with 3.1416, not π.
constexpr double NodeRadToDeg = 180 / 3.1416;

constexpr std::size_t MoonIndex = IndexOf(Graha::Moon);
constexpr std::size_t RahuIndex = IndexOf(Graha::Rahu);
constexpr std::size_t KetuIndex = IndexOf(Graha::Ketu);

} // namespace

double SiderealLongitude(double tropicalDeg, double ayanamsa)
{
    return AddTurnsWhileNegative(tropicalDeg - std::fabs(ayanamsa));
}

// The mean node's longitude in degrees from the day number: Paul Schlyter,
// "How to compute planetary positions" (N = 125.1228 - 0.0529538083 d).
double NodeLongitude(double dayNumber)
{
    return NormalizeRadians((125.1228 - 0.0529538083 * dayNumber) * DegToRad) * NodeRadToDeg - 1;
}

// "05 Tau 07": degrees and minutes below 100, so two digits each.
ShortText ShortPositionText(const SignPlace& place)
{
    const auto digit = [](int value) { return static_cast<char>('0' + value); };
    const std::string_view sign = SignAbbreviation(place.Sign);
    const std::array<char, 9> text {digit(place.Degrees / 10), digit(place.Degrees % 10), ' ', sign[0], sign[1],
        sign[2], ' ', digit(place.Minutes / 10), digit(place.Minutes % 10)};
    return ShortText(std::string_view(text.data(), text.size()));
}

std::optional<GrahaPositions> GrahaPositionsOf(const std::array<double, GrahaCount>& longitudes)
{
    GrahaPositions positions;
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const auto place = SignPlaceOf(longitudes[graha]);
        if (!place) {
            return std::nullopt;
        }
        positions.Longitudes[graha] = longitudes[graha];
        positions.Places[graha] = *place;
        positions.GrahaPositionTexts[graha] = ShortPositionText(*place);
    }
    // Ketu's place is Rahu's, six signs on, cut once, so that the two never
    // differ by a minute where adding 180 would round a last bit.
    positions.Longitudes[KetuIndex] = KetuLongitude(longitudes[RahuIndex]);
    positions.Places[KetuIndex] = positions.Places[RahuIndex];
    positions.Places[KetuIndex].Sign = (positions.Places[RahuIndex].Sign + 6) % 12;
    return positions;
}

double KetuLongitude(double rahuDeg)
{
    return rahuDeg >= 180 ? rahuDeg - 180 : rahuDeg + 180;
}

std::optional<std::array<double, GrahaCount>> ClassicSiderealLongitudes(const BirthMoment& moment, double ayanamsa,
    double moonSiderealDeg)
{
    const CivilDateTime& ut = moment.Universal;
    const double dayNumber = DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);
    std::array<double, GrahaCount> longitudes {};
    if (!GeocentricLongitudes(dayNumber, longitudes)) {
        return std::nullopt;
    }
    longitudes[RahuIndex] = NodeLongitude(dayNumber);
    for (double& longitude : longitudes) {
        longitude = SiderealLongitude(longitude, ayanamsa);
    }
    longitudes[MoonIndex] = moonSiderealDeg;
    return longitudes;
}

std::optional<GrahaPositions> ComputeGrahaPositions(const BirthMoment& moment, double ayanamsa,
    double moonSiderealDeg)
{
    const auto longitudes = ClassicSiderealLongitudes(moment, ayanamsa, moonSiderealDeg);
    return longitudes ? GrahaPositionsOf(*longitudes) : std::nullopt;
}

} // namespace halvaro::modVedicPlanetPosition
