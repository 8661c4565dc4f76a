#pragma once

#include "core/Calendar.h"
#include "core/FixedText.h"

#include <array>
#include <string_view>

namespace halvaro::modVedicPlanetPosition {

inline constexpr int GrahaCount = 8;

// The grahas' English and Vedic names in Graha order.
inline constexpr std::array<std::string_view, GrahaCount> EnglishGrahaNames = {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "North Node"};
inline constexpr std::array<std::string_view, GrahaCount> VedicGrahaNames = {
    "Surya", "Chandra", "Budha", "Shukra", "Mangala", "Guru", "Shani", "Rahu"};

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

// The sidereal longitude of a tropical one: s − |ayanamsa|, brought up into
// [0, 360).
double SiderealLongitude(double tropicalDeg, double ayanamsa);

// The node's tropical longitude at a day number, as the node's table gives
// it (radians turned into degrees with 3.1416, one degree taken off).
double NodeLongitude(double dayNumber);

// The sidereal longitudes of the eight grahas in Graha order at a day number,
// the Moon's as the Moon engine gives it; false when one is not finite.
bool SiderealGrahaLongitudes(double dayNumber, double ayanamsa, double moonSiderealDeg,
    std::array<double, GrahaCount>& longitudes);

// The short position text of a sidereal longitude, made from the numbers: the
// same text as ShortPositionText of its long text, empty where that is empty.
ShortText ShortSignPosition(double longitudeDeg);

// The short position texts and the sign indices of sidereal longitudes;
// false when one has no text.
bool GrahaPositionTextsOf(const std::array<double, GrahaCount>& longitudes, std::array<ShortText, GrahaCount>& texts,
    std::array<int, GrahaCount>& signs);

} // namespace halvaro::modVedicPlanetPosition
