#pragma once

#include "core/Calendar.h"

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

// The birth data of a worked reading: the zone's corrections (add to local
// time to get UT) and the longitude as the worked examples give them.
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

// The moment of a worked birth: its offset is the corrections with their sign
// reversed, an hour more with daylight saving.
inline BirthMoment MomentOf(const Birth& b)
{
    halvaro::Birth birth;
    birth.Local = {b.year, b.month, b.day, b.hour, b.minute};
    birth.UtcOffsetMinutes = -(b.zoneHourCorrection * 60 + b.zoneMinuteCorrection) + (b.daylightSaving ? 60 : 0);
    const double longitude = b.longitudeDegrees + b.longitudeMinutes / 60.0;
    birth.LongitudeDeg = b.east ? longitude : -longitude;
    return BirthMomentOf(birth);
}

// The worked readings: 2000 January 1 at Greenwich; New Delhi 1975 under
// IST (+5.3); New York, 74°0' West, under a zone of -5 with daylight saving.
inline constexpr Birth Greenwich2000Birth() { return {"Greenwich2000", 2000, 1, 1, 12, 0, 0, 0, 0, 0, false, false}; }
inline constexpr Birth Delhi1975Birth() { return {"Delhi1975", 1975, 6, 15, 10, 30, -5, -30, 77, 13, true, false}; }
inline constexpr Birth WestSummer1990Birth() { return {"WestSummer1990", 1990, 7, 4, 9, 0, 5, 0, 74, 0, false, true}; }

// 58°23' West under -3, late in the evening so that Universal Time passes
// midnight.
inline constexpr Birth WestEvening1990 {"WestEvening1990", 1990, 3, 10, 22, 45, 3, 0, 58, 23, false, false};
// A zone east of Greenwich at a place west of it (CET in Madrid, 3°41' W).
inline constexpr Birth MadridCet1990 {"MadridCet1990", 1990, 3, 10, 12, 0, -1, 0, 3, 41, false, false};

} // namespace halvaro::testing
