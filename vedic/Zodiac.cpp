#include "vedic/Zodiac.h"

#include "core/SignPosition.h"

#include <cmath>

namespace halvaro::vedic {

std::optional<ZodiacPlace> ZodiacPlaceOf(double longitudeDeg)
{
    const std::optional<double> longitude = NormalizedLongitude(longitudeDeg);
    if (!longitude) {
        return std::nullopt;
    }
    // The same truncation as the result screen's position texts.
    const auto parts = SignPartsOf(*longitude);
    if (!parts) {
        return std::nullopt;
    }
    const int part = NinthPartOf(*longitude);
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
