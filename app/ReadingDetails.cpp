#include "app/ReadingDetails.h"

#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/OrbitalElements.h"
#include "sky/PreciseSky.h"

#include <algorithm>
#include <cmath>

namespace halvaro::app {

namespace {

namespace mpp = modVedicPlanetPosition;

vedic::GrahaLongitudes WithKetu(const std::array<double, GrahaCount>& eight, double ketu)
{
    vedic::GrahaLongitudes nine {};
    std::copy(eight.begin(), eight.end(), nine.begin());
    nine[IndexOf(Graha::Ketu)] = ketu;
    return nine;
}

double Opposite(double longitudeDeg)
{
    return longitudeDeg >= 180 ? longitudeDeg - 180 : longitudeDeg + 180;
}

// The classic model's longitudes a few hours from the birth moment: the same
// steps as CalculateReading, with its three time arguments moved on alike.
std::optional<vedic::GrahaLongitudes> ClassicLongitudesAt(const BirthMoment& moment, double julianDayUt)
{
    const double days = julianDayUt - moment.JulianDay;
    const double hours = moment.UniversalHours + days * 24;
    const double ayanamsa = mpp::AyanamsaDegrees(mpp::CenturiesSince1900Of(moment.JulianDayNumber, hours));
    const double moon =
        modVedicEphemeris::MoonSiderealLongitude(modVedicEphemeris::CenturiesSinceJ2000(moment.JulianDayNumber, hours));
    const mpp::CivilDateTime& ut = moment.Universal;
    const double dayNumber = mpp::DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute) + days;
    std::array<double, GrahaCount> longitudes {};
    if (!std::isfinite(ayanamsa) || !mpp::SiderealGrahaLongitudes(dayNumber, ayanamsa, moon, longitudes)) {
        return std::nullopt;
    }
    return WithKetu(longitudes, Opposite(longitudes[IndexOf(Graha::Rahu)]));
}

} // namespace

vedic::GrahaLongitudes LongitudesWithKetu(const Reading& reading)
{
    return WithKetu(reading.Longitudes, Opposite(reading.Longitudes[IndexOf(Graha::Rahu)]));
}

std::optional<vedic::GrahaLongitudes> GrahaSpeedsOf(const Reading& reading)
{
    const BirthMoment& moment = reading.Moment;
    if (reading.Sky == SkyModel::Classic) {
        // The classic model gives no speeds: its longitudes either side of
        // the moment, by central difference (vedic::DailyMotions).
        return vedic::DailyMotions(
            [&moment](double julianDayUt) { return ClassicLongitudesAt(moment, julianDayUt); }, moment.JulianDay);
    }
    const std::optional<std::array<double, GrahaCount>> speeds = PreciseSpeeds(moment.JulianDay);
    if (!speeds) {
        return std::nullopt;
    }
    return WithKetu(*speeds, (*speeds)[IndexOf(Graha::Rahu)]);
}

std::optional<vedic::ReadingDetails> DetailsOf(const Reading& reading)
{
    const std::optional<double> lagna = reading.Lagna.Status == mpp::LagnaStatus::Computed
        ? std::optional<double>(reading.Lagna.Longitude)
        : std::nullopt;
    return vedic::ReadingDetailsOf(LongitudesWithKetu(reading), lagna, GrahaSpeedsOf(reading));
}

std::optional<vedic::VimshottariDasha> DashaOf(const Reading& reading)
{
    return vedic::VimshottariDashaOf(reading.Longitudes[IndexOf(Graha::Moon)], reading.Moment.JulianDay);
}

} // namespace halvaro::app
