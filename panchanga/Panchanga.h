// panchanga/ holds the panchanga of a moment and of a day at a place, in the precise sky: tithi, nakshatra, yoga
// and karana with their times found by a bracketed search, vara and hora lord, sunrise and sunset under a named
// convention, moonrise and moonset, rahu kala, yamaganda, gulika kala and abhijit muhurta, and their texts.
#pragma once

#include "calculation/Reading.h"
#include "core/Conventions.h"
#include "core/Graha.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace halvaro::panchanga {

// The local clock's offset from Universal Time, in seconds, in force at a
// moment (a UT Julian day): a fixed offset, or a zone's history.
using UtcOffsetAt = std::function<int(double julianDayUniversal)>;

// A moment as the outputs show it: UT, and the local clock's offset then.
struct LocalMoment {
    double JulianDay = 0; // UT
    int UtcOffsetSeconds = 0;
};

// The four elements counted from the Sun and the Moon.
enum class Element { Tithi, Nakshatra, Yoga, Karana, Count };
inline constexpr auto ElementCount = static_cast<std::size_t>(Element::Count);

// One element's part of the sky: its number (tithi 1-30, nakshatra 1-27,
// yoga 1-27, karana 1-60) and when it began and ends.
struct ElementSpan {
    Element Which = Element::Tithi;
    int Number = 1;
    LocalMoment Start;
    LocalMoment End;
};

// The element's count and the degrees of each part, and its number for the
// Sun's and the Moon's sidereal longitudes.
int PartsOf(Element element);
double PartDegrees(Element element);
// The angle the element is counted in: (Moon - Sun), the Moon, or (Sun + Moon), mod 360.
double ElementAngle(Element element, double sunDeg, double moonDeg);
int ElementNumber(Element element, double sunDeg, double moonDeg);

// The weekday of a UT moment on a local clock: 0 Sunday .. 6 Saturday.
int CivilWeekday(double julianDayUniversal, int utcOffsetSeconds);
// The lord of a weekday (0 Sunday: the Sun).
Graha VaraLord(int weekday);
// The lord of the hora `index` (0-11 by day from sunrise, 12-23 by night from
// sunset; 24 is the next day's first) of a weekday: the Chaldean order from the vara's lord.
Graha HoraLord(int weekday, int index);
// Which of the day's eight parts (1-8) rahu kala, yamaganda and gulika kala
// are on a weekday.
struct DayPartNumbers {
    int RahuKala, Yamaganda, GulikaKala;
};
DayPartNumbers DayPartsOf(int weekday);

// The panchanga at one moment and place.
struct MomentPanchanga {
    LocalMoment Moment; // the moment itself
    ElementSpan Tithi, Nakshatra, Yoga, Karana;
    int Pada = 1;
    int Vara = 0;         // 0 Sunday: from sunrise to sunrise
    int CivilWeekday = 0; // of the local date
    std::optional<Graha> HoraLord; // none without a sunrise, sunset and next sunrise
    // The Vedic day the moment belongs to; none in a polar day or night.
    std::optional<LocalMoment> Sunrise, Sunset, NextSunrise;
    // The local civil date's.
    std::optional<LocalMoment> CivilSunrise, CivilSunset, Moonrise, Moonset;
    SunriseConvention Convention = SunriseConvention::Hindu;
};

// Empty when the ephemeris refuses the moment.
std::optional<MomentPanchanga> PanchangaAt(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions, const UtcOffsetAt& clock);

// One stretch of the day: rahu kala and the others.
struct DayPart {
    LocalMoment Start, End;
};

// A civil date's panchanga: each element from sunrise to the next sunrise
// (local midnight to midnight where the Sun neither rises nor sets), in
// order, the first running at the day's start.
struct DayPanchanga {
    int Year = 2000, Month = 1, Day = 1;
    int Weekday = 0; // the vara of the day from its sunrise
    std::optional<LocalMoment> Sunrise, Sunset, NextSunrise, Moonrise, Moonset;
    LocalMoment From, To; // what the elements cover
    std::array<std::vector<ElementSpan>, ElementCount> Elements;
    // None without a sunrise and sunset.
    std::optional<DayPart> RahuKala, Yamaganda, GulikaKala, AbhijitMuhurta;
    SunriseConvention Convention = SunriseConvention::Hindu;
};

// Empty when the ephemeris refuses a moment of the day.
std::optional<DayPanchanga> PanchangaOfDay(int year, int month, int day, const BirthPlace& place,
    const Conventions& conventions, const UtcOffsetAt& clock);

} // namespace halvaro::panchanga
