#pragma once

#include "core/FixedText.h"

#include <string_view>

// The sign position text of the planetary positions, shared by the Moon engine.
namespace halvaro::modVedicPlanetPosition {

// Three letters per sign, Aries (0) to Pisces (11).
inline constexpr std::string_view SignAbbreviations = "AriTauGemCanLeoVirLibScoSagCapAquPis";

// The long position text of a sidereal longitude in degrees, e.g.
// 19° 27' 44" Lib; every part truncated. A negative angle is formatted as
// its absolute value. A longitude that is not finite, or whose sign index
// falls outside 0..11, has no text: the result is empty.
PositionText FormatSignPosition(double angle);

} // namespace halvaro::modVedicPlanetPosition
