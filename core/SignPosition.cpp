#include "core/SignPosition.h"

#include "core/Text.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

PositionText FormatSignPosition(double angle)
{
    const double x = std::fabs(angle);
    if (!std::isfinite(x)) {
        return {};
    }
    double deg = std::floor(x);
    const double f = x - deg;
    const double mm = f * 60;
    const double min = std::floor(mm);
    const double sec = std::floor(60 * (mm - min));
    const double signIndex = std::floor(deg / 30);
    if (!(signIndex >= 0 && signIndex <= 11)) {
        return {};
    }
    deg -= 30 * signIndex; // whole numbers below 360: exact, as repeated subtraction

    const auto sign = static_cast<std::size_t>(signIndex);
    PositionText text;
    text.appendNumber(static_cast<unsigned>(deg))
        .append(DegreeSign)
        .append(' ')
        .appendNumber(static_cast<unsigned>(min))
        .append("' ")
        .appendNumber(static_cast<unsigned>(sec))
        .append("\" ")
        .append(SignAbbreviations.substr(3 * sign, 3));
    return text;
}

} // namespace halvaro::modVedicPlanetPosition
