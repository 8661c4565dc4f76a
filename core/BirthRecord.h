#pragma once

#include "core/BirthData.h"

#include <cstdint>
#include <string>

namespace halvaro {

// 16-bit booleans as the record stores them.
inline constexpr std::int16_t True16 = -1;
inline constexpr std::int16_t False16 = 0;

// The birth data of a calculation in the record's own form: numbers parsed,
// zone corrections looked up, place names trimmed.
struct BirthRecordType {
    std::string Name;               // exactly as typed, not trimmed
    std::int16_t Day = 0;           // 1..31
    std::int16_t Month = 0;         // 1..12
    std::int16_t Year = 0;          // 1901..2050
    std::int16_t Hour = 0;          // 0..23, local clock time
    std::int16_t Minute = 0;        // 0..59
    // Sizes of the zone's corrections. Kept as the record's named fields; the
    // moment itself is taken from the signed corrections below, so that a
    // zone east of Greenwich for a birth west of it stays right.
    std::int16_t ZoneHours = 0;
    std::int16_t ZoneMinutes = 0;
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

// The record of a birth. A field the data cannot give (a box that holds no
// number, a zone position outside the table) keeps its value from `base`.
BirthRecordType BirthRecordOf(const BirthData& data, const BirthRecordType& base = {});

// The application-wide record of the window's calculation steps. Only the
// driver writes it; the named steps read it.
extern BirthRecordType BirthRecord;

} // namespace halvaro
