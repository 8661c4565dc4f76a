#include "birth/BirthRoad.h"

#include "atlas/PlaceEntries.h"
#include "atlas/ZoneListMatch.h"

namespace halvaro::birth {

ZoneAnswer OffsetInZone(atlas::ZoneCache& zones, std::string_view zone, const CivilDateTime& local,
    std::optional<bool> dst)
{
    const auto choice = !dst ? atlas::DstChoice::Unspecified
        : *dst               ? atlas::DstChoice::Daylight
                             : atlas::DstChoice::Standard;
    ZoneAnswer answer {std::nullopt, zones.OffsetAt(zone, local, choice)};
    if (const auto& found = answer.Found.Offset) {
        answer.Offset = ExactOffset {found->UtcOffsetSeconds, atlas::ZoneListEntryFor(*found), found->Zone};
        answer.Offset->LocalMeanTime = found->UtcOffsetSeconds % 60 != 0;
    }
    return answer;
}

ExactOffset GivenOffset(int utcOffsetSeconds)
{
    const bool wholeMinutes = utcOffsetSeconds % 60 == 0;
    return {utcOffsetSeconds, wholeMinutes ? atlas::ZoneListEntryFor(utcOffsetSeconds / 60, "", false) : std::nullopt,
        {}};
}

BirthResult ResolveBirth(const BirthRequest& request, atlas::ZoneCache& zones, const Conventions& conventions)
{
    BirthData entries = request.Entries;
    std::string zone = request.TimeZone;
    if (request.Place) {
        atlas::PutPlace(*request.Place, entries);
        if (zone.empty() && !request.UtcOffsetSeconds && !request.ListEntryChosen) {
            zone = request.Place->TimeZone;
        }
    }
    // The zone is asked at the local time as given; a date the check refuses
    // gets the check's message, not the zone's.
    std::optional<ExactOffset> offset;
    std::optional<atlas::ZoneOffsetResult> refusal;
    if (request.Offset) {
        offset = request.Offset;
    } else if (request.LocalMeanTime) {
        offset = ExactOffset {};
        offset->LocalMeanTime = true;
    } else if (request.UtcOffsetSeconds) {
        offset = GivenOffset(*request.UtcOffsetSeconds);
    } else if (!zone.empty()) {
        ZoneAnswer answer = OffsetInZone(zones,
            zone, {entries.Year, entries.Month, entries.Day, entries.Hour, entries.Minute}, request.Dst);
        offset = std::move(answer.Offset);
        if (!offset) {
            refusal = std::move(answer.Found);
        }
    }
    BirthCheck checked = ValidateInput(entries, conventions, offset ? &*offset : nullptr);
    if (checked.Failure) {
        return {checked.Failure, std::nullopt, {}};
    }
    if (refusal) {
        return {std::nullopt, std::move(refusal), {}};
    }
    return {std::nullopt, std::nullopt, std::move(checked.Value)};
}

} // namespace halvaro::birth
