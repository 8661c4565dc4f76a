// positions/ holds the ayanamsa, orbital elements, graha positions with Ketu, short position texts, Lagna.
#pragma once

#include "core/Calendar.h"
#include "core/FixedText.h"
#include "core/Graha.h"
#include "core/SignPosition.h"

#include <array>
#include <optional>

namespace halvaro::modVedicPlanetPosition {

using halvaro::GrahaCount;
using halvaro::GrahaCountWithKetu;

// The positions of the grahas in Graha order, Ketu last: sidereal longitudes
// in [0, 360), their places in the signs, and the short position texts of
// the eight of the result screen. Ketu stands opposite Rahu, at Rahu's
// degrees and minutes six signs on.
struct GrahaPositions {
    std::array<double, GrahaCountWithKetu> Longitudes {};
    std::array<SignPlace, GrahaCountWithKetu> Places {};
    std::array<ShortText, GrahaCount> GrahaPositionTexts;
};

// The positions of the eight sidereal longitudes of any sky; nothing when one
// has no place (not finite, or 360 and beyond).
std::optional<GrahaPositions> GrahaPositionsOf(const std::array<double, GrahaCount>& longitudes);

// The classic model's positions at a birth moment: the Sun and the planets
// from their mean orbital elements, Rahu the mean node, all less the
// ayanamsa's size, and the Moon as the Moon engine gave it.
std::optional<GrahaPositions> ComputeGrahaPositions(const BirthMoment& moment, double ayanamsa,
    double moonSiderealDeg);

// The eight longitudes of ComputeGrahaPositions alone, without their places
// and texts (which the grahas' daily motion has no use for); nothing when a
// planet's is not finite.
std::optional<std::array<double, GrahaCount>> ClassicSiderealLongitudes(const BirthMoment& moment, double ayanamsa,
    double moonSiderealDeg);

// Ketu's longitude, opposite Rahu's.
double KetuLongitude(double rahuDeg);

// The short position text of a place in a sign: 08 Sag 03, the long text's
// degrees, sign and minutes, the seconds dropped.
ShortText ShortPositionText(const SignPlace& place);

// The sidereal longitude of a tropical one: s − |ayanamsa|, brought up into
// [0, 360).
double SiderealLongitude(double tropicalDeg, double ayanamsa);

// The node's tropical longitude at a day number, as the node's table gives
// it (radians turned into degrees with 3.1416, one degree taken off).
double NodeLongitude(double dayNumber);

} // namespace halvaro::modVedicPlanetPosition
