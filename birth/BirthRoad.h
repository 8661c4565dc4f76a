// birth/ holds the checked birth from what the user gave: boxes, a place of the atlas, an IANA zone or an
// offset (to the second), one road for the window and `halvaro-cli`.
#pragma once

// The checked birth from what the user gave: boxes, a place of the atlas, an
// IANA zone or an offset. The window and the command line both take this
// road, so that the same birth reaches the same Birth.

#include "atlas/Atlas.h"
#include "atlas/ZoneHistory.h"
#include "core/Birth.h"
#include "core/BirthData.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::birth {

// A birth before the atlas is asked: the boxes, and what stands for some of
// them. A place stands for the place boxes and, unless a zone or an offset
// is given or the list entry was chosen, for the zone too; a zone or an
// offset stands for the list entry.
struct BirthRequest {
    BirthData Entries;
    std::optional<atlas::Place> Place;
    bool ListEntryChosen = false; // the boxes' zone list entry, even beside a place
    std::string TimeZone;         // IANA name; empty for none
    std::optional<int> UtcOffsetSeconds;
    std::optional<bool> Dst; // in an autumn overlap: the daylight offset, or the standard
    // The place's local mean time, instead of any zone or offset.
    bool LocalMeanTime = false;
    // An offset as a reading file keeps it (to the second, with its zone and
    // list entry), instead of all the above.
    std::optional<ExactOffset> Offset;
};

// The offset in force in a zone at a local time, with the list entry that
// gives it exactly; without an offset, what the database said. Before the
// zone kept a standard time, while the database gives a city's mean time (an
// offset with seconds: Kolkata's zone has Howrah's until 1870 and Madras's
// until 1906), the place's own local mean time stands instead.
struct ZoneAnswer {
    std::optional<ExactOffset> Offset;
    atlas::ZoneOffsetResult Found;
};
ZoneAnswer OffsetInZone(atlas::ZoneCache& zones, std::string_view zone, const CivilDateTime& local,
    std::optional<bool> dst);

// An offset given as it is, with the list entry that gives it, if any.
ExactOffset GivenOffset(int utcOffsetSeconds);

struct BirthResult {
    std::optional<InputCheckFailure> Failure;          // a box refused, before anything else
    std::optional<atlas::ZoneOffsetResult> ZoneRefusal; // the zone had no single offset then
    Birth Value;                                        // meaningful only without either
};

// The checked birth of a request, made whole by the input check: the
// place's names and coordinates as the boxes take them (atlas::PutPlace),
// the offset given, or the one in force in its zone at the local time.
BirthResult ResolveBirth(const BirthRequest& request, atlas::ZoneCache& zones,
    const Conventions& conventions = {});

// The birth's clock at any moment (a UT Julian day): the offset in seconds
// its IANA zone's history gives then, or its own offset when it has no zone
// (or a local mean time). Holds `zones`, which must outlive it.
std::function<int(double)> BirthClock(const Birth& birth, atlas::ZoneCache& zones);

} // namespace halvaro::birth
