#pragma once

#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"

#include <optional>
#include <string>

namespace halvaro::vedic {

// The text a person reads after the result texts when asking for details:
// the positions table (graha, position, nakshatra, pada, lord, Navamsa sign,
// dignity, R for retrograde), the dasha balance at birth and the maha dasha
// table, the one running at `todayJulianDay` (UT) marked with its antar dasha.
std::string DetailsText(const ReadingDetails& details, const VimshottariDasha& dasha,
    std::optional<double> todayJulianDay);

} // namespace halvaro::vedic
