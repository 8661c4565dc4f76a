#pragma once

#include <cstddef>

namespace halvaro {

// The values the input screen's lists offer, and so the values a reading may
// hold from any source: the window, a reading file, the command line.
struct ListRange {
    int First, Last;
    [[nodiscard]] constexpr bool Contains(int value) const { return value >= First && value <= Last; }
};

inline constexpr ListRange DayRange {1, 31};
inline constexpr ListRange MonthRange {1, 12};
// The years of birth each sky covers, and any year a reading may hold
// (the file reader and the command line's date take these, the sky's own
// check follows).
inline constexpr ListRange ClassicYearRange {1901, 2050};
inline constexpr ListRange PreciseYearRange {1600, 2399};
inline constexpr ListRange YearRange = PreciseYearRange;
inline constexpr ListRange HourRange {0, 23};
inline constexpr ListRange MinuteRange {0, 59};
inline constexpr int TimeZoneCount = 71;
inline constexpr ListRange ZoneRange {0, TimeZoneCount - 1};

// Where a place can be: minutes below 60, a latitude up to 90°00′ and a
// longitude up to 180°00′ on either side, counted in arc-minutes.
inline constexpr ListRange ArcMinuteRange {0, 59};
inline constexpr ListRange LatitudeArcMinuteRange {0, 90 * 60};
inline constexpr ListRange LongitudeArcMinuteRange {0, 180 * 60};

// A degree or minute box holds at most three digits.
inline constexpr std::size_t BoxDigitCount = 3;

} // namespace halvaro
