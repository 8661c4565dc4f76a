#pragma once

#include "core/BirthRecord.h"
#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace halvaro::testing {

// A difference of two angles in degrees, wrapped into (-180, 180].
inline double AngleDifferenceDeg(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d <= -180) {
        d += 360;
    } else if (d > 180) {
        d -= 360;
    }
    return d;
}

inline int DecimalsOf(std::string_view printed)
{
    const auto point = printed.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(printed.size() - point - 1);
}

// Reference values are printed to a few decimals, some cut and some rounded
// at the last digit ("271.90602…"): either way the value lies within one unit
// of that digit. The error is reported in `unit`, scaled by `perUnit` (3600
// for arc-seconds of a degree value).
inline ::testing::AssertionResult AgreesWithPrinted(double actual, const std::string& printed,
    std::string_view unit = "", double perUnit = 1)
{
    const double lastDigit = std::pow(10.0, -DecimalsOf(printed));
    const double expected = std::strtod(printed.c_str(), nullptr);
    if (std::fabs(actual - expected) < lastDigit) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream message;
    message << std::setprecision(17) << "expected " << printed << "..., got " << actual << ", off by "
            << (actual - expected) * perUnit << ' ' << unit;
    return ::testing::AssertionFailure() << message.str();
}

// The birth data of a worked reading as the driver writes them.
struct Birth {
    const char* name;
    int year, month, day, hour, minute;
    int zoneHourCorrection, zoneMinuteCorrection;
    int longitudeDegrees, longitudeMinutes;
    bool east, daylightSaving;
};

inline void PrintTo(const Birth& b, std::ostream* os)
{
    *os << b.name;
}

inline void WriteRecord(const Birth& b)
{
    BirthRecordType r;
    r.Year = static_cast<std::int16_t>(b.year);
    r.Month = static_cast<std::int16_t>(b.month);
    r.Day = static_cast<std::int16_t>(b.day);
    r.Hour = static_cast<std::int16_t>(b.hour);
    r.Minute = static_cast<std::int16_t>(b.minute);
    r.ZoneHourCorrection = static_cast<std::int16_t>(b.zoneHourCorrection);
    r.ZoneMinuteCorrection = static_cast<std::int16_t>(b.zoneMinuteCorrection);
    r.ZoneHours = static_cast<std::int16_t>(std::abs(b.zoneHourCorrection));
    r.ZoneMinutes = static_cast<std::int16_t>(std::abs(b.zoneMinuteCorrection));
    r.LongitudeDegrees = static_cast<std::int16_t>(b.longitudeDegrees);
    r.LongitudeMinutes = static_cast<std::int16_t>(b.longitudeMinutes);
    r.IsEast = b.east ? True16 : False16;
    r.DaylightSaving = b.daylightSaving ? True16 : False16;
    BirthRecord = r;
}

// A worked birth as the driver writes it from the input screen's entries.
inline Birth BirthOf(const char* name, const BirthData& entries)
{
    const BirthRecordType r = RecordOf(entries);
    return {name, r.Year, r.Month, r.Day, r.Hour, r.Minute, r.ZoneHourCorrection, r.ZoneMinuteCorrection,
        r.LongitudeDegrees, r.LongitudeMinutes, r.IsEast == True16, r.DaylightSaving == True16};
}

// The worked readings: 2000 January 1 at Greenwich; New Delhi 1975 under
// IST (+5.3); New York, 74°0' West, under a zone of -5 with daylight saving.
inline Birth Greenwich2000Birth()
{
    return BirthOf("Greenwich2000", Greenwich2000());
}
inline Birth Delhi1975Birth()
{
    return BirthOf("Delhi1975", Delhi1975());
}
inline Birth WestSummer1990Birth()
{
    return BirthOf("WestSummer1990", NewYork1990());
}

// 58°23' West under -3, late in the evening so that Universal Time passes
// midnight.
inline constexpr Birth WestEvening1990 {"WestEvening1990", 1990, 3, 10, 22, 45, 3, 0, 58, 23, false, false};
// A zone east of Greenwich at a place west of it (CET in Madrid, 3°41' W).
inline constexpr Birth MadridCet1990 {"MadridCet1990", 1990, 3, 10, 12, 0, -1, 0, 3, 41, false, false};

} // namespace halvaro::testing
