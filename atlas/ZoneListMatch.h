#pragma once

#include "atlas/ZoneHistory.h"
#include "core/Birth.h"

#include <optional>
#include <string_view>

namespace halvaro::atlas {

// The offset a zone list entry gives: its civil offset, one hour more with
// daylight saving.
int ZoneChoiceOffsetMinutes(const ZoneChoice& choice);

// The zone list entry and daylight-saving flag (core/TimeZones.h) that give
// an offset, so that a reading found through the atlas can be stored in a
// reading file; empty when no entry gives it (Nepal's +05:45). Of the
// entries that give the offset, the first in this order is taken:
//   1. an entry whose abbreviation is the database's ("IST" for India since
//      1945, "BDST" for London in 1941, "EWT" for New York in 1943);
//   2. an entry whose daylight-saving flag is the database's (India in 1943,
//      "+0630" with daylight saving: Indian Time and DST rather than North
//      Sumatra Time);
//   3. the first in list order.
std::optional<ZoneChoice> ZoneListEntryFor(int utcOffsetMinutes, std::string_view abbreviation, bool daylightSaving);
// For a found offset; none when it has seconds, which no entry gives.
std::optional<ZoneChoice> ZoneListEntryFor(const ZoneOffset& offset);

} // namespace halvaro::atlas
