#include "vedic/Zodiac.h"

#include "core/SignPosition.h"

#include <cmath>

namespace halvaro::vedic {

namespace {

// The 108 parts of 3°20' (a pada, and a Navamsa) of a longitude in [0, 360).
// One count serves the nakshatra, the pada and the Navamsa, so that the three
// always agree. Each part is 10/3 of a degree; multiplying by 3 first keeps
// the whole-degree boundaries (every third part) exact.
int PartOf(double longitudeDeg)
{
    const int part = static_cast<int>(std::floor(longitudeDeg * 3 / 10));
    return part < 0 ? 0 : (part > 107 ? 107 : part);
}

} // namespace

std::optional<double> NormalizedLongitude(double longitudeDeg)
{
    if (!std::isfinite(longitudeDeg)) {
        return std::nullopt;
    }
    double x = std::fmod(longitudeDeg, 360.0);
    if (x < 0) {
        x += 360.0;
    }
    // A tiny negative angle rounds up to a whole turn.
    return x >= 360.0 ? 0.0 : x;
}

int NavamsaSign(double longitudeDeg)
{
    return PartOf(longitudeDeg) % SignCount + 1;
}

std::optional<ZodiacPlace> ZodiacPlaceOf(double longitudeDeg)
{
    const std::optional<double> longitude = NormalizedLongitude(longitudeDeg);
    if (!longitude) {
        return std::nullopt;
    }
    // The same truncation as the result screen's position texts.
    const auto parts = modVedicPlanetPosition::SignPartsOf(*longitude);
    if (!parts) {
        return std::nullopt;
    }
    const int part = PartOf(*longitude);
    ZodiacPlace place;
    place.Longitude = *longitude;
    place.Sign = parts->Sign + 1;
    place.Degrees = static_cast<int>(parts->Degrees);
    place.Minutes = static_cast<int>(parts->Minutes);
    place.Seconds = static_cast<int>(parts->Seconds);
    place.Nakshatra = part / 4 + 1;
    place.Pada = part % 4 + 1;
    place.NakshatraLord = NakshatraLordOrder[static_cast<std::size_t>(part / 4 % 9)];
    place.Navamsa = NavamsaSign(*longitude);
    return place;
}

} // namespace halvaro::vedic
