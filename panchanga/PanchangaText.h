#pragma once

#include "panchanga/Panchanga.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The panchanga's names and times as the outputs spell them.
namespace halvaro::panchanga {

// 1-30: Pratipada .. Chaturdashi, Purnima (15), Amavasya (30).
std::string_view TithiName(int tithi);
// "Shukla" for 1-15, "Krishna" for 16-30.
std::string_view PakshaOf(int tithi);
// 1-27: Vishkambha .. Vaidhriti.
std::string_view YogaName(int yoga);
// 1-60: Kimstughna, then Bava .. Vishti in turn, then Shakuni, Chatushpada, Naga.
std::string_view KaranaName(int karana);
// 1-27, as the positions table spells them.
std::string_view NakshatraNameOf(int nakshatra);
// 0 Sunday: "Ravivara" .., and "Sunday" ..
std::string_view VaraName(int weekday);
std::string_view WeekdayName(int weekday);
// The name of an element's number.
std::string_view ElementName(Element element, int number);
// "Tithi", "Nakshatra", "Yoga", "Karana".
std::string_view ElementTitle(Element element);

// Local civil time, ISO 8601 with the offset, to the nearest second:
// "2013-01-18T06:49:46+05:30" (an offset with seconds: "+05:53:20").
std::string IsoLocalTime(const LocalMoment& moment);
// The clock time, "06:49:46", led by the date, "2013-01-19 06:49:58", when
// its local date is not `dayNumber`'s (a Julian day number at noon).
std::string ShortLocalTime(const LocalMoment& moment, double dayNumber);
// The local date's day number (at noon) of a moment, after rounding to the second.
double LocalDayNumberOf(const LocalMoment& moment);

// The --details section and the window's panel: the panchanga at the birth,
// the times with the birth's date left out; `classicSky` says that the
// reading's own positions are the classic model's.
std::string MomentPanchangaText(const MomentPanchanga& panchanga, bool classicSky, std::string_view ayanamsaName);

// The panchanga at birth as a table: a row for each element, the vara, the
// hora lord and each rising and setting, with its value and, for the
// elements, when it began and ends (the birth's date left out).
struct PanchangaRow {
    std::string Title, Value, Start, End;
};
std::vector<PanchangaRow> PanchangaRows(const MomentPanchanga& panchanga);
// What the table is of: "Precise sky, Lahiri; sunrise: Hindu (...)", and
// for a classic reading that its positions are the classic model's.
std::string PanchangaHeading(const MomentPanchanga& panchanga, bool classicSky, std::string_view ayanamsaName);

// --panchanga: a date's panchanga at a place, from sunrise to sunrise.
std::string DayPanchangaText(const DayPanchanga& day, std::string_view placeName, std::string_view ayanamsaName);

} // namespace halvaro::panchanga
