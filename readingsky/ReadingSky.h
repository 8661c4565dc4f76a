#pragma once

#include "calculation/Reading.h"
#include "core/Birth.h"
#include "core/BirthData.h"

#include <string_view>

// The choice between the sky models, above both: the classic calculation and
// the precise sky.
namespace halvaro::readingsky {

// The reading of a checked birth in the given sky; Reading::Sky names it.
ReadingResult CalculateReading(const Birth& birth, SkyModel sky);

// The road of the form as typed: the input checks, then the reading. A
// failed check is the result's failure.
ReadingResult CalculateReading(const BirthData& entries, SkyModel sky);

// One line naming the sky a reading was made in, for the result screen and
// the command line: "Sky: classic model", "Sky: precise (Swiss Ephemeris, Lahiri)".
std::string_view SkyCaption(SkyModel sky);

} // namespace halvaro::readingsky
