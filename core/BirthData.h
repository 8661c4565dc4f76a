#pragma once

#include <string>

namespace halvaro {

// One person's birth data as every source gives it: the input screen, a
// reading file, the command line. Day, month, year, hour and minute are the
// values the lists show (Month 1 = January); ZonePosition is the zone list
// position (the time-zone table index). The degree and minute boxes stay
// texts, as typed, so that the checks can tell an empty box from a wrong one.
struct BirthData {
    std::string Name;
    std::string LatDeg, LatMin, LonDeg, LonMin;
    std::string City, State, Country;
    // The option pairs: the screen can show neither option of a pair chosen.
    bool North = true, South = false; // optLat(0), optLat(1)
    bool East = true, West = false;   // optLong(0), optLong(1)
    bool DaylightSaving = false;
    int Day = 1, Month = 1, Year = 1901, Hour = 0, Minute = 0;
    int ZonePosition = 0;
};

} // namespace halvaro
