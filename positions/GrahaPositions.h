#pragma once

#include "core/FixedText.h"

#include <array>
#include <string_view>

namespace halvaro::modVedicPlanetPosition {

inline constexpr int GrahaCount = 8;

// Long position texts of the bodies by body index (0 Mercury .. 5 Saturn).
extern std::array<PositionText, 6> BodyPositionTexts;
extern PositionText RahuPositionText;

// The Graha tables, index 0..7: Sun, Moon, Mercury, Venus, Mars, Jupiter,
// Saturn, North Node.
extern std::array<std::string_view, GrahaCount> GrahaNames;
extern std::array<std::string_view, GrahaCount> GrahaVedicNames;
extern std::array<ShortText, GrahaCount> GrahaPositionTexts;

// Day number (days from 2000 January 1, 12:00 UT) of the moment that the
// last ComputeGrahaPositions used.
extern double GrahaDayNumber;

// Reads BirthRecord, Ayanamsa and MoonPositionText; fills the tables above.
// A step that fails (no such local date, a value that is not finite, a long
// text without its marks) ends the call; what it wrote before stays.
void ComputeGrahaPositions();

// The short form of a long position text: 08 Sag 03. Empty when the text
// has no degree sign followed by an apostrophe to split it at.
ShortText ShortPositionText(std::string_view longText);

// A civil date and time after the zone's corrections have been added, with
// carrying into day, month and year.
struct CivilDateTime {
    int Year, Month, Day, Hour, Minute;
};

// True when the local date and clock time exist (Gregorian calendar).
bool IsValidBirthTime(int year, int month, int day, int hour, int minute);

// Local birth time (a valid one) plus the signed corrections, one hour
// earlier with daylight saving, carried across midnight, month and year ends.
CivilDateTime UniversalBirthTime(int year, int month, int day, int hour, int minute,
    int zoneHourCorrection, int zoneMinuteCorrection, bool daylightSaving);

} // namespace halvaro::modVedicPlanetPosition
