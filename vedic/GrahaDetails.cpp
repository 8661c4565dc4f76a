#include "vedic/GrahaDetails.h"

namespace halvaro::vedic {

std::optional<ReadingDetails> ReadingDetailsOf(const GrahaLongitudes& longitudes, std::optional<double> lagnaDeg,
    const std::optional<GrahaLongitudes>& speeds)
{
    ReadingDetails details;
    for (std::size_t index = 0; index < longitudes.size(); ++index) {
        const auto graha = static_cast<Graha>(index);
        const std::optional<ZodiacPlace> place = ZodiacPlaceOf(longitudes[index]);
        if (!place) {
            return std::nullopt;
        }
        GrahaDetails& row = details.Grahas[index];
        row.Which = graha;
        row.Name = NamesOf(graha).Plain;
        row.Place = *place;
        row.Dignity = DignityOf(graha, place->Longitude);
        if (speeds) {
            row.Speed = (*speeds)[index];
        }
        row.Retrograde = IsRetrograde(graha, row.Speed.value_or(0));
    }
    if (lagnaDeg) {
        const std::optional<ZodiacPlace> place = ZodiacPlaceOf(*lagnaDeg);
        if (!place) {
            return std::nullopt;
        }
        details.Lagna = GrahaDetails {std::nullopt, LagnaName, *place, Dignity::None, std::nullopt, false};
    }
    return details;
}

} // namespace halvaro::vedic
