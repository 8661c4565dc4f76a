#pragma once

#include "core/Ranges.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace halvaro::modVedicPlanetPosition {

using halvaro::TimeZoneCount;

// The named tables the driver fills; programs read the constant TimeZoneTable
// (core/TimeZones.h), which these are copied from.
// The zone list: display text, and the whole hours and minutes to add to
// local clock time to obtain Universal Time. A saved reading stores the
// index, so the order never changes.
extern std::array<std::string_view, TimeZoneCount> TimeZoneNames;
extern std::array<std::int16_t, TimeZoneCount> TimeZoneHourCorrections;
extern std::array<std::int16_t, TimeZoneCount> TimeZoneMinuteCorrections;

// Writes all 71 entries of the three tables.
void FillReferenceTables();

} // namespace halvaro::modVedicPlanetPosition
