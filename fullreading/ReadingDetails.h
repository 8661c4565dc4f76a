#pragma once

#include "calculation/Reading.h"
#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"

#include <optional>

// What the window and the command line show of a reading beyond its
// positions, whichever sky gave them: the rows of the positions table and the Vimshottari dasha.
namespace halvaro::fullreading {

// Degrees a day of the nine grahas (Ketu moves with Rahu) in the reading's
// sky; nothing when the sky gives no motion for its moment.
std::optional<vedic::GrahaLongitudes> GrahaSpeedsOf(const Reading& reading);

// The positions table's rows: the nine grahas with their motions, and the
// Lagna when the sky gave one. Nothing when a longitude is not finite.
std::optional<vedic::ReadingDetails> DetailsOf(const Reading& reading);

// The dasha from the Moon at the birth moment.
std::optional<vedic::VimshottariDasha> DashaOf(const Reading& reading);

} // namespace halvaro::fullreading
