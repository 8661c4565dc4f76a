#pragma once

#include "core/Birth.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvaro::atlas {

// Which of the two readings of a local time that occurs twice (the autumn
// overlap) the caller means: daylight is the earlier, before the clocks went
// back (the larger offset); standard the later (also where neither reading
// is daylight saving, as when a local mean time gave way to a standard one).
enum class DstChoice { Unspecified, Daylight, Standard };

// What the tz database says was in force at one place's local civil time.
struct ZoneOffset {
    std::string Zone;         // the IANA name as the database spells it
    int UtcOffsetMinutes = 0; // local clock time minus UT, to the nearest minute
    int UtcOffsetSeconds = 0; // the same to the second (local mean times have seconds)
    std::string Abbreviation; // e.g. "IST", "BDST", "+0630"
    bool DaylightSaving = false; // the database's own flag
};

struct ZoneOffsetResult {
    enum class Fault { None, UnknownZone, NoSuchLocalTime, TwiceLocalTime, NotADate, NoDatabase };
    std::optional<ZoneOffset> Offset;
    Fault Problem = Fault::None;
    std::vector<std::string> ClosestZones; // UnknownZone: the names nearest to the one given
    std::string Error;                     // in words for the user
};

// Offsets from the IANA tz database of the system (/usr/share/zoneinfo, or
// the folder TZDIR names), read once per zone and kept: a batch holds one
// cache and asks it for each record. Any year is answered: past a zone's
// last listed change its file's closing rule gives the daylight-saving
// dates, before its first the zone's local mean time holds. Not for sharing
// between threads; each thread holds its own.
class ZoneCache {
public:
    // The offset in force in `zone` (an IANA name, e.g. "Asia/Kolkata"; a
    // name differing only in case is accepted) at the local date and time.
    // A time in the spring gap is an error naming the gap; a time in the
    // autumn overlap is an error naming both offsets unless `choice` says
    // which.
    ZoneOffsetResult OffsetAt(std::string_view zone, const CivilDateTime& local,
        DstChoice choice = DstChoice::Unspecified);

private:
    struct LoadedZone;
    // The zone of a name; null when the database has none. Throws when the
    // database's list of names cannot be read.
    const LoadedZone* Locate(std::string_view zone);
    const std::vector<std::string>& ZoneNames();

    std::map<std::string, std::shared_ptr<const LoadedZone>, std::less<>> located;
    std::optional<std::vector<std::string>> names; // every zone and link name, read on first need
};

// An offset as "+05:30", "-04:00", "+00:00".
std::string UtcOffsetText(int utcOffsetMinutes);
// An offset to the second, "+05:53:20"; as UtcOffsetText when it is whole minutes.
std::string UtcOffsetSecondsText(int utcOffsetSeconds);

// "+05:30", "-4:00", "+00:00" back to minutes: a sign, hours 0 to 14 in one
// or two digits, a colon, two digits of minutes 0 to 59; empty otherwise.
std::optional<int> ParseUtcOffset(std::string_view text);

// The line that says what was found for a birth, e.g.
// "UTC+06:30 (Asia/Kolkata) on 15 June 1943".
std::string FoundOffsetLine(int utcOffsetMinutes, std::string_view zone, const CivilDateTime& local);

} // namespace halvaro::atlas
