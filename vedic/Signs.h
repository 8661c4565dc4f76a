#pragma once

#include "core/SignPosition.h"

#include <array>
#include <optional>
#include <string_view>

// The twelve signs of a sidereal longitude and their ninth parts, the
// Navamsa. (No graha here, so that the charts can take the Navamsa alone.)
namespace halvaro::vedic {

inline constexpr int SignCount = 12;

// As the result screen spells them: index 0 is Mesha (sign 1).
using halvaro::VedicSignNames;

// A finite longitude brought into [0, 360); nothing for one that is not finite.
std::optional<double> NormalizedLongitude(double longitudeDeg);

// The 108 parts of 3°20' (a pada, and a Navamsa) of a longitude in [0, 360),
// 0..107. One count serves the nakshatra, the pada and the Navamsa, so that
// the three always agree.
int NinthPartOf(double longitudeDeg);

// The Navamsa sign 1..12 of a longitude in [0, 360): the ninth parts of a
// sign, 3°20' each, counted on from Mesha without a break.
int NavamsaSign(double longitudeDeg);

} // namespace halvaro::vedic
