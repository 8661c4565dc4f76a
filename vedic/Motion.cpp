#include "vedic/Motion.h"

#include <cmath>

namespace halvaro::vedic {

bool IsRetrograde(Graha graha, double speedDegPerDay)
{
    switch (graha) {
    case Graha::Sun:
    case Graha::Moon: return false;
    case Graha::Rahu:
    case Graha::Ketu: return true;
    default: return speedDegPerDay < 0;
    }
}

std::optional<GrahaLongitudes> DailyMotions(const GrahaLongitudes& before, const GrahaLongitudes& after)
{
    GrahaLongitudes speeds {};
    for (std::size_t graha = 0; graha < speeds.size(); ++graha) {
        double step = std::remainder(after[graha] - before[graha], 360.0); // in [-180, 180]
        if (!std::isfinite(step)) {
            return std::nullopt;
        }
        if (step == -180.0) {
            step = 180.0;
        }
        speeds[graha] = step / (2 * MotionHalfStepDays);
    }
    return speeds;
}

} // namespace halvaro::vedic
