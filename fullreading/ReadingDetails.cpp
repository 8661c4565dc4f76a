#include "fullreading/ReadingDetails.h"

#include "sky/PreciseSky.h"

#include <cmath>

namespace halvaro::fullreading {

namespace {

vedic::GrahaLongitudes WithKetu(const std::array<double, GrahaCount>& eight, double ketu)
{
    vedic::GrahaLongitudes nine {};
    std::copy(eight.begin(), eight.end(), nine.begin());
    nine[IndexOf(Graha::Ketu)] = ketu;
    return nine;
}

} // namespace

std::optional<vedic::GrahaLongitudes> GrahaSpeedsOf(const Reading& reading)
{
    const BirthMoment& moment = reading.Moment;
    if (reading.Sky == SkyModel::Classic) {
        // The classic model gives no speeds: its longitudes either side of
        // the moment, by central difference (vedic::DailyMotions).
        const int hours = static_cast<int>(std::lround(vedic::MotionHalfStepDays * 24));
        const auto before = ClassicLongitudesAt(moment, -hours);
        const auto after = ClassicLongitudesAt(moment, hours);
        return before && after ? vedic::DailyMotions(*before, *after) : std::nullopt;
    }
    const std::optional<std::array<double, GrahaCount>> speeds = sky::PreciseSpeeds(moment.JulianDay);
    if (!speeds) {
        return std::nullopt;
    }
    return WithKetu(*speeds, (*speeds)[IndexOf(Graha::Rahu)]);
}

std::optional<vedic::ReadingDetails> DetailsOf(const Reading& reading)
{
    const std::optional<double> lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? std::optional<double>(reading.Lagna.Longitude)
        : std::nullopt;
    return vedic::ReadingDetailsOf(reading.Longitudes, lagna, GrahaSpeedsOf(reading));
}

std::optional<vedic::VimshottariDasha> DashaOf(const Reading& reading)
{
    return vedic::VimshottariDashaOf(reading.Longitudes[IndexOf(Graha::Moon)], reading.Moment.JulianDay);
}

} // namespace halvaro::fullreading
