// core/ holds the shared types and helpers: the birth data as typed and the checked birth, the input checks,
// the list ranges, the time-zone table, the conventions a reading is computed under, the month names, text,
// calendar and angle helpers, the sign position text, the grahas' order and names.
#pragma once

#include <optional>
#include <string>

namespace halvaro {

// A civil date and clock time: the local time of birth, or Universal Time
// after the offset has been taken off.
struct CivilDateTime {
    int Year = 1901, Month = 1, Day = 1, Hour = 0, Minute = 0;
};

// The zone list entry and daylight-saving flag a birth's offset came from:
// what a reading file stores.
struct ZoneChoice {
    int Position = 0;
    bool DaylightSaving = false;
};

// A checked birth: what every step after the input check takes. Nothing in
// it is a text to be parsed again.
struct Birth {
    std::string Name;                 // as typed
    std::string City, State, Country; // trimmed
    CivilDateTime Local;              // local civil date and clock time
    // Local clock time minus Universal Time, daylight saving included
    // (Indian Time: +330), to the nearest minute: what the outputs show.
    int UtcOffsetMinutes = 0;
    // The seconds the offset lies beyond those minutes, -30 to +29: the
    // local mean times of the tz database (Kathmandu until 1920, +05:41:16).
    // Zero for every offset of the list.
    int UtcOffsetExtraSeconds = 0;
    // The list entry that gave the offset; none when it came from elsewhere.
    std::optional<ZoneChoice> Zone;
    // The IANA zone the offset was found in ("Asia/Kolkata"); empty for none.
    std::string TimeZone;
    // The offset is the place's local mean time: its longitude at four
    // minutes a degree, to the second.
    bool LocalMeanTime = false;
    double LatitudeDeg = 0;  // north positive
    double LongitudeDeg = 0; // east positive
};

// The whole offset of a birth, in seconds.
constexpr int UtcOffsetSecondsOf(const Birth& birth)
{
    return birth.UtcOffsetMinutes * 60 + birth.UtcOffsetExtraSeconds;
}

} // namespace halvaro
