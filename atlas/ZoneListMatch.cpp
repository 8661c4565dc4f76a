#include "atlas/ZoneListMatch.h"

#include "core/Text.h"
#include "core/TimeZones.h"

namespace halvaro::atlas {

namespace {

// The abbreviation of a list entry: the second of its comma-separated parts,
// "Indian Time, IST, +5.3" → "IST".
std::string_view EntryAbbreviation(std::string_view name)
{
    const std::size_t first = name.find(',');
    const std::size_t second = name.find(',', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) {
        return {};
    }
    return TrimmedBlanks(name.substr(first + 1, second - first - 1));
}

} // namespace

int ZoneChoiceOffsetMinutes(const ZoneChoice& choice)
{
    const TimeZone& zone = TimeZoneTable.at(static_cast<std::size_t>(choice.Position));
    return -(zone.HourCorrection * 60 + zone.MinuteCorrection) + (choice.DaylightSaving ? 60 : 0);
}

std::optional<ZoneChoice> ZoneListEntryFor(int utcOffsetMinutes, std::string_view abbreviation, bool daylightSaving)
{
    std::optional<ZoneChoice> best;
    int bestRank = 0;
    for (std::size_t i = 0; i < TimeZoneTable.size(); ++i) {
        for (const bool dst : {false, true}) {
            const ZoneChoice choice {static_cast<int>(i), dst};
            if (ZoneChoiceOffsetMinutes(choice) != utcOffsetMinutes) {
                continue;
            }
            const int rank = EntryAbbreviation(TimeZoneTable[i].Name) == abbreviation ? 3
                : dst == daylightSaving                                               ? 2
                                                                                      : 1;
            if (rank > bestRank) {
                best = choice;
                bestRank = rank;
            }
        }
    }
    return best;
}

std::optional<ZoneChoice> ZoneListEntryFor(const ZoneOffset& offset)
{
    if (offset.UtcOffsetSeconds != offset.UtcOffsetMinutes * 60) {
        return std::nullopt;
    }
    return ZoneListEntryFor(offset.UtcOffsetMinutes, offset.Abbreviation, offset.DaylightSaving);
}

} // namespace halvaro::atlas
