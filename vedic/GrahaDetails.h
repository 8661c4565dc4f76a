// vedic/ holds what an astrologer reads beyond the positions: sign, nakshatra and pada, the vargas (one table
// of rules, `VargaSign`), dignity, motion, the Vimshottari dasha, and the details text.
#pragma once

#include "core/Graha.h"
#include "vedic/Dignity.h"
#include "vedic/Motion.h"
#include "vedic/Zodiac.h"

#include <array>
#include <optional>
#include <string_view>

namespace halvaro::vedic {

// One row of the positions table: a graha, or the Lagna.
struct GrahaDetails {
    std::optional<Graha> Which;      // nothing for the Lagna
    std::string_view Name;           // "Sun" .. "Rahu", "Ketu", "Lagna"
    ZodiacPlace Place;
    vedic::Dignity Dignity = vedic::Dignity::None; // none for the nodes and the Lagna
    std::optional<double> Speed;     // degrees a day; nothing for the Lagna or an unknown motion
    bool Retrograde = false;
};

// The nine grahas in Graha order, then the Lagna when the sky gave one.
struct ReadingDetails {
    std::array<GrahaDetails, GrahaCountWithKetu> Grahas;
    std::optional<GrahaDetails> Lagna;
};

inline constexpr std::string_view LagnaName = "Lagna";

// From the nine sidereal longitudes (Ketu included), the Lagna's when there
// is one, and the daily motions when the sky gave them. Nothing when a
// longitude is not finite.
std::optional<ReadingDetails> ReadingDetailsOf(const GrahaLongitudes& longitudes, std::optional<double> lagnaDeg,
    const std::optional<GrahaLongitudes>& speeds);

} // namespace halvaro::vedic
