#pragma once

// The lines a reading file keeps after its 17th: what the 17 cannot hold
// (an offset to the second, the zone it was found in, local mean time, the
// sky and the conventions). A reader of the 17 lines ignores them, so they
// are written only when they say something; each is "key=value", shifted
// as every line is.

#include "core/Birth.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvaro::readings {

// The list entry (without daylight saving) whose offset lies nearest an
// offset, the first in list order on a tie: line 7 of a birth whose offset
// no entry gives, so that a reader of the 17 lines still comes close.
int NearestListEntry(int utcOffsetSeconds);

// The offset, in seconds, a list entry gives.
int ListEntryOffsetSeconds(const ZoneChoice& entry);

// The extra lines' texts, unshifted, in their order; empty when the 17
// lines say it all (an entry of the list, the classic sky).
std::vector<std::string> ExtraLineTexts(const Birth& birth, const Conventions& conventions);

// What the extra lines restore. `entry` is what lines 7 and 14 hold: the
// offset's zone when it gives the offset exactly.
struct ExtrasRead {
    std::optional<ExactOffset> Offset;
    std::optional<Conventions> Chosen; // when the file names its sky
    std::optional<int> BadLine;        // index into the texts of the line refused
    std::string Reason;                // why: after "line N " when BadLine is given, else whole
};
ExtrasRead ReadExtraLines(const std::vector<std::string_view>& texts, const ZoneChoice& entry);

} // namespace halvaro::readings
