#pragma once

#include "calculation/Reading.h"
#include "core/Birth.h"
#include "core/BirthData.h"

#include <string>
#include <string_view>
#include <vector>

// The choice between the sky models, above both: the classic calculation and
// the precise sky.
namespace halvaro::fullreading {

// The reading of a checked birth in the given sky; Reading::Sky names it.
ReadingResult CalculateReading(const Birth& birth, SkyModel sky);

// The road of the form as typed: the input checks, then the reading. A
// failed check is the result's failure.
ReadingResult CalculateReading(const BirthData& entries, SkyModel sky);

// One line naming the sky a reading was made in, for the result screen and
// the command line: "Sky: classic model", "Sky: precise (Swiss Ephemeris, Lahiri)".
std::string_view SkyCaption(SkyModel sky);

// A graha that a classic reading puts in another sign than the precise sky
// does at the same moment, and the sign the precise sky gives it.
struct SkyDifference {
    Graha Which;
    int PreciseSign; // 0 Aries .. 11 Pisces
};

// The grahas of the result screen that the two skies place in different
// signs; empty for a precise reading, or when the precise sky gives nothing.
// Costs one precise computation.
std::vector<SkyDifference> SkyDifferences(const Reading& reading);

// Where the precise sky places them: "in the precise sky the Sun stands in
// Vrishabha, Mars in Mesha and Rahu in Meena"; empty for none.
std::string PreciseSkyPlaces(const std::vector<SkyDifference>& differences);

// The same as a sentence of its own, for a chart's caption: "In the precise
// sky the Sun stands in Vrishabha."; empty when the skies agree.
std::string SkyDifferencesSentence(const Reading& reading);

// The sky's caption, and for a classic reading whose grahas the precise sky
// places elsewhere, where: "Sky: classic model — in the precise sky the Sun
// stands in Vrishabha".
std::string SkyCaptionWithDifferences(SkyModel sky, const std::vector<SkyDifference>& differences);

} // namespace halvaro::fullreading
