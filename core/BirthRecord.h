#pragma once

#include <cstdint>
#include <string>

namespace halvaro {

// 16-bit booleans as the record stores them.
inline constexpr std::int16_t True16 = -1;
inline constexpr std::int16_t False16 = 0;

// The birth data of the current reading. Only the calculation driver writes
// it; the calculation steps read it.
struct BirthRecordType {
    std::string Name;               // exactly as typed, not trimmed
    std::int16_t Day = 0;           // 1..31
    std::int16_t Month = 0;         // 1..12
    std::int16_t Year = 0;          // 1901..2050
    std::int16_t Hour = 0;          // 0..23, local clock time
    std::int16_t Minute = 0;        // 0..59
    std::int16_t ZoneHours = 0;     // |hour correction| of the zone
    std::int16_t ZoneMinutes = 0;   // |minute correction| of the zone
    std::int16_t LongitudeDegrees = 0;
    std::int16_t LongitudeMinutes = 0;
    std::int16_t LatitudeDegrees = 0;
    std::int16_t LatitudeMinutes = 0;
    std::int16_t IsEast = False16;
    std::int16_t IsSouth = False16;
    std::int16_t DaylightSaving = False16;
    std::string City;               // trimmed
    std::string State;              // trimmed
    std::string Country;            // trimmed
    std::int16_t ZoneHourCorrection = 0;   // signed: add to local time to get UT
    std::int16_t ZoneMinuteCorrection = 0; // signed, same sign as the hours
};

// The application-wide record.
extern BirthRecordType BirthRecord;

} // namespace halvaro
