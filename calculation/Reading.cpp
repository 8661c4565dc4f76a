#include "calculation/Reading.h"

#include "core/SignPosition.h"
#include "core/TimeZones.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/OrbitalElements.h"

#include <cmath>

namespace halvaro {

namespace mpp = modVedicPlanetPosition;

namespace {

double SignedDegrees(std::string_view degrees, std::string_view minutes, bool negative)
{
    const double value = static_cast<double>(BoxNumber(degrees).value_or(0))
        + static_cast<double>(BoxNumber(minutes).value_or(0)) / 60;
    return negative ? -value : value;
}

} // namespace

BirthMoment BirthMomentOf(const BirthData& birth)
{
    const TimeZone& zone = TimeZoneTable[static_cast<std::size_t>(birth.ZonePosition)];
    BirthMoment moment;
    moment.Universal = mpp::UniversalBirthTime(birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute,
        zone.HourCorrection, zone.MinuteCorrection, birth.DaylightSaving);
    moment.UniversalHours = mpp::BirthUniversalHours(
        birth.Hour, birth.Minute, zone.HourCorrection, zone.MinuteCorrection, birth.DaylightSaving);
    moment.JulianDayNumber = mpp::JulianDayNumber(birth.Month, birth.Day, birth.Year);
    moment.JulianDay = moment.JulianDayNumber + moment.UniversalHours / 24 - 0.5;
    return moment;
}

BirthPlace BirthPlaceOf(const BirthData& birth)
{
    return {SignedDegrees(birth.LatDeg, birth.LatMin, birth.South), SignedDegrees(birth.LonDeg, birth.LonMin, !birth.East)};
}

bool CompleteReading(Reading& reading)
{
    if (!mpp::GrahaPositionTextsOf(reading.Longitudes, reading.GrahaPositionTexts, reading.Signs)) {
        return false;
    }
    constexpr std::size_t Moon = 1;
    reading.MoonPositionText = mpp::FormatSignPosition(reading.Longitudes[Moon]);
    modVedicGrahaDrishti::WriteGrahaDrishti(
        modVedicGrahaDrishti::GrahaDrishtiLabels(), reading.Signs, reading.GrahaPositionTexts, reading.Results);
    return true;
}

ReadingResult BeginReading(const BirthData& birth, SkyModel sky)
{
    ReadingResult result;
    if (auto failure = ValidateInput(birth)) {
        result.Failure = failure;
        return result;
    }
    result.Value.Sky = sky;
    result.Value.Moment = BirthMomentOf(birth);
    result.Value.Place = BirthPlaceOf(birth);
    return result;
}

ReadingResult CalculateReading(const BirthData& birth)
{
    ReadingResult result = BeginReading(birth, SkyModel::Classic);
    if (result.Failure) {
        return result;
    }
    Reading& reading = result.Value;

    const BirthMoment& moment = reading.Moment;
    reading.Ayanamsa = mpp::AyanamsaDegrees(mpp::CenturiesSince1900Of(moment.JulianDayNumber, moment.UniversalHours));
    const double moon = modVedicEphemeris::MoonSiderealLongitude(
        modVedicEphemeris::CenturiesSinceJ2000(moment.JulianDayNumber, moment.UniversalHours));
    const mpp::CivilDateTime& ut = moment.Universal;
    const double dayNumber = mpp::DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);

    if (!std::isfinite(reading.Ayanamsa)
        || !mpp::SiderealGrahaLongitudes(dayNumber, reading.Ayanamsa, moon, reading.Longitudes)
        || !CompleteReading(reading)) {
        result.Failure = NoPositionsFailure;
        return result;
    }
    reading.Lagna = mpp::ClassicLagna(moment.JulianDay, reading.Place.LatitudeDeg, reading.Place.LongitudeDeg, reading.Ayanamsa);
    return result;
}

} // namespace halvaro
