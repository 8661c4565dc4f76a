#pragma once

#include "core/SignPosition.h"

#include <array>
#include <optional>
#include <string_view>

// The twelve signs of a sidereal longitude and their ninth parts, the padas.
namespace halvaro::vedic {

inline constexpr int SignCount = 12;

// As the result screen spells them: index 0 is Mesha.
using halvaro::VedicSignNames;

// A finite longitude brought into [0, 360); nothing for one that is not finite.
std::optional<double> NormalizedLongitude(double longitudeDeg);

// The 108 parts of 3°20' (a pada, and a Navamsa) of a longitude in [0, 360),
// 0..107. One count serves the nakshatra, the pada and the Navamsa (the
// Navamsa's rule counts its parts the same way), so that the three agree.
int NinthPartOf(double longitudeDeg);

} // namespace halvaro::vedic
