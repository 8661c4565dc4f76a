#pragma once

#include "core/BirthData.h"
#include "core/InputChecks.h"

#include <optional>

namespace halvaro {

// The calculation driver as the window's named steps run it, over the
// module-level values. Programs use CalculateReading (calculation/Reading.h),
// which gives the same texts as a value; this driver keeps the steps and
// their shared values whole for readers and tests of the steps.

// Driver step 3: writes every field of BirthRecord from checked birth data
// and the time-zone table. A zone position outside the table leaves the zone
// fields as they were.
void WriteBirthRecord(const BirthData& birth);

// Driver steps 4 to 7 on the record as it stands: ayanamsa, Moon, graha
// positions, aspects. The result texts are in modVedicGrahaDrishti::Results.
void ComputeReading();

// The whole driver over the module-level values: checks, tables, record,
// steps. Returns the failed check, or nothing when the reading was computed;
// on a failure the record and the results keep their previous values.
std::optional<InputCheckFailure> RunCalculationDriver(const BirthData& birth);

} // namespace halvaro
