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
    // (Indian Time: +330).
    int UtcOffsetMinutes = 0;
    // The list entry that gave the offset; none when it came from elsewhere.
    std::optional<ZoneChoice> Zone;
    double LatitudeDeg = 0;  // north positive
    double LongitudeDeg = 0; // east positive
};

} // namespace halvaro
