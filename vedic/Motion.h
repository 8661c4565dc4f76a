#pragma once

#include "core/Graha.h"

#include <array>
#include <optional>

namespace halvaro::vedic {

// The nine sidereal longitudes of one moment, in Graha order, Ketu last.
using GrahaLongitudes = std::array<double, GrahaCountWithKetu>;

// Whether a graha moving this many degrees a day is retrograde. The Sun and
// the Moon never are; the mean nodes always are, whatever the number says.
bool IsRetrograde(Graha graha, double speedDegPerDay);

// How far either side of the moment the classic sky is taken for its motion.
inline constexpr double MotionHalfStepDays = 0.25;

// Degrees a day of a sky model that gives longitudes but no speeds: its
// longitudes MotionHalfStepDays before and after the moment, their difference
// wrapped into (-180, 180] and divided by the time between them (a central
// difference, exact to a few thousandths of a degree a day even for the Moon).
// Nothing when a longitude is not finite.
std::optional<GrahaLongitudes> DailyMotions(const GrahaLongitudes& before, const GrahaLongitudes& after);

} // namespace halvaro::vedic
