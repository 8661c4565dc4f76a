#pragma once

#include "core/InputChecks.h"

#include <optional>

namespace halvaro {

// Driver step 3: writes every field of BirthRecord from checked entries and
// the time-zone table. A zone position outside the table leaves the zone
// fields as they were.
void WriteBirthRecord(const BirthEntries& entries);

// Driver steps 4 to 7 on the record as it stands: ayanamsa, Moon, graha
// positions, aspects. The result texts are in modVedicGrahaDrishti::Results.
void ComputeReading();

// The whole driver without a window: checks, tables, record, steps.
// Returns the failed check, or nothing when the reading was computed; on a
// failure the record and the results keep their previous values.
std::optional<InputCheckFailure> CalculateReading(const BirthEntries& entries);

} // namespace halvaro
