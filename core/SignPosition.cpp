#include "core/SignPosition.h"

#include "core/Text.h"

#include <cmath>
#include <cstddef>

namespace halvaro {

std::optional<SignParts> SignPartsOf(double angle)
{
    const double x = std::fabs(angle);
    if (!std::isfinite(x)) {
        return std::nullopt;
    }
    double deg = std::floor(x);
    const double f = x - deg;
    const double mm = f * 60;
    const double min = std::floor(mm);
    const double sec = std::floor(60 * (mm - min));
    const double signIndex = std::floor(deg / 30);
    if (!(signIndex >= 0 && signIndex <= 11)) {
        return std::nullopt;
    }
    deg -= 30 * signIndex; // whole numbers below 360: exact, as repeated subtraction
    return SignParts {static_cast<unsigned>(deg), static_cast<unsigned>(min), static_cast<unsigned>(sec),
        static_cast<int>(signIndex)};
}

std::string_view SignAbbreviation(int sign)
{
    return SignAbbreviations.substr(3 * static_cast<std::size_t>(sign), 3);
}

PositionText FormatSignPosition(double angle)
{
    const auto parts = SignPartsOf(angle);
    if (!parts) {
        return {};
    }
    PositionText text;
    text.appendNumber(parts->Degrees)
        .append(DegreeSign)
        .append(' ')
        .appendNumber(parts->Minutes)
        .append("' ")
        .appendNumber(parts->Seconds)
        .append("\" ")
        .append(SignAbbreviation(parts->Sign));
    return text;
}

} // namespace halvaro
