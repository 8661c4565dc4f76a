#include "vedic/Signs.h"

#include <cmath>

namespace halvaro::vedic {

std::optional<double> NormalizedLongitude(double longitudeDeg)
{
    if (!std::isfinite(longitudeDeg)) {
        return std::nullopt;
    }
    double x = std::fmod(longitudeDeg, 360.0);
    if (x < 0) {
        x += 360.0;
    }
    // A tiny negative angle rounds up to a whole turn.
    return x >= 360.0 ? 0.0 : x;
}

// Each part is 10/3 of a degree; multiplying by 3 first keeps the
// whole-degree boundaries (every third part) exact.
int NinthPartOf(double longitudeDeg)
{
    const int part = static_cast<int>(std::floor(longitudeDeg * 3 / 10));
    return part < 0 ? 0 : (part > 107 ? 107 : part);
}

} // namespace halvaro::vedic
