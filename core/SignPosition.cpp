#include "core/SignPosition.h"

#include "core/Text.h"

#include <cmath>
#include <cstddef>

namespace halvaro {

std::optional<SignPlace> SignPlaceOf(double angle)
{
    const double x = std::fabs(angle);
    // The signs end at 360 (a NaN fails the test as well).
    if (!(x < 360)) {
        return std::nullopt;
    }
    // Below 360 each floor is the truncation of a small non-negative number,
    // done exactly by the conversion to a whole number.
    const auto deg = static_cast<unsigned>(x);
    const double mm = (x - deg) * 60;
    const auto min = static_cast<unsigned>(mm);
    const auto sec = static_cast<unsigned>(60 * (mm - min));
    return SignPlace {static_cast<int>(deg / 30), static_cast<int>(deg % 30), static_cast<int>(min),
        static_cast<int>(sec)};
}

PositionText FormatSignPosition(double angle)
{
    const auto parts = SignPlaceOf(angle);
    if (!parts) {
        return {};
    }
    // Every part is below 60: one digit or two, without a loop over them.
    PositionText text;
    const auto appendPart = [&text](int value) -> PositionText& {
        if (value >= 10) {
            text.append(static_cast<char>('0' + value / 10));
        }
        return text.append(static_cast<char>('0' + value % 10));
    };
    appendPart(parts->Degrees).append(DegreeSign).append(' ');
    appendPart(parts->Minutes).append("' ");
    appendPart(parts->Seconds).append("\" ").append(SignAbbreviation(parts->Sign));
    return text;
}

} // namespace halvaro
