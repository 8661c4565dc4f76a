#pragma once

#include "core/Graha.h"

#include <string_view>

namespace halvaro::vedic {

enum class Dignity { None, Exalted, Debilitated, Moolatrikona, Own };

// "Exalted", "Debilitated", "Moolatrikona", "Own"; empty for None.
std::string_view DignityName(Dignity dignity);

// The dignity of a graha at a sidereal longitude in [0, 360). The nodes
// have none.
Dignity DignityOf(Graha graha, double longitudeDeg);

} // namespace halvaro::vedic
