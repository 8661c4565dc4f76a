#include "aspects/ReferenceTables.h"

#include "core/TimeZones.h"

namespace halvaro::modVedicPlanetPosition {

namespace {

constexpr std::array<std::string_view, TimeZoneCount> ZoneNames()
{
    std::array<std::string_view, TimeZoneCount> names {};
    for (int i = 0; i < TimeZoneCount; ++i) {
        names[i] = TimeZoneTable[i].Name;
    }
    return names;
}

constexpr std::array<std::int16_t, TimeZoneCount> ZoneHourCorrections()
{
    std::array<std::int16_t, TimeZoneCount> hours {};
    for (int i = 0; i < TimeZoneCount; ++i) {
        hours[i] = TimeZoneTable[i].HourCorrection;
    }
    return hours;
}

constexpr std::array<std::int16_t, TimeZoneCount> ZoneMinuteCorrections()
{
    std::array<std::int16_t, TimeZoneCount> minutes {};
    for (int i = 0; i < TimeZoneCount; ++i) {
        minutes[i] = TimeZoneTable[i].MinuteCorrection;
    }
    return minutes;
}

} // namespace

// Filled at compile time as well, so a reader that runs before the first
// FillReferenceTables still finds the zones.
std::array<std::string_view, TimeZoneCount> TimeZoneNames = ZoneNames();
std::array<std::int16_t, TimeZoneCount> TimeZoneHourCorrections = ZoneHourCorrections();
std::array<std::int16_t, TimeZoneCount> TimeZoneMinuteCorrections = ZoneMinuteCorrections();

void FillReferenceTables()
{
    TimeZoneNames = ZoneNames();
    TimeZoneHourCorrections = ZoneHourCorrections();
    TimeZoneMinuteCorrections = ZoneMinuteCorrections();
}

} // namespace halvaro::modVedicPlanetPosition
