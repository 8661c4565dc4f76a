#include "vedic/Zodiac.h"

#include "core/SignPosition.h"
#include "vedic/Varga.h"

#include <cmath>

namespace halvaro::vedic {

std::optional<ZodiacPlace> ZodiacPlaceOf(double longitudeDeg)
{
    const std::optional<double> longitude = NormalizedLongitude(longitudeDeg);
    if (!longitude) {
        return std::nullopt;
    }
    // The same truncation as the result screen's position texts.
    const std::optional<SignPlace> rasi = SignPlaceOf(*longitude);
    const std::optional<int> navamsa = VargaSign(NavamsaVarga, *longitude);
    if (!rasi || !navamsa) {
        return std::nullopt;
    }
    const int part = NinthPartOf(*longitude);
    ZodiacPlace place;
    place.Longitude = *longitude;
    place.Rasi = *rasi;
    place.Navamsa = *navamsa;
    place.Nakshatra = part / 4 + 1;
    place.Pada = part % 4 + 1;
    place.NakshatraLord = NakshatraLordOrder[static_cast<std::size_t>(part / 4 % 9)];
    return place;
}

} // namespace halvaro::vedic
