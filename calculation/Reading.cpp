#include "calculation/Reading.h"

#include "ephemeris/MoonEngine.h"
#include "positions/Ayanamsa.h"

#include <cmath>

namespace halvaro {

namespace mpp = modVedicPlanetPosition;

namespace {

void TakePositions(Reading& reading, const mpp::GrahaPositions& positions)
{
    reading.Longitudes = positions.Longitudes;
    reading.Places = positions.Places;
    reading.GrahaPositionTexts = positions.GrahaPositionTexts;
    reading.Results = modVedicGrahaDrishti::ComputeGrahaDrishti(positions);
}

} // namespace

Reading BeginReading(const Birth& birth, SkyModel sky)
{
    Reading reading;
    reading.Sky = sky;
    reading.Moment = BirthMomentOf(birth);
    reading.Place = {birth.LatitudeDeg, birth.LongitudeDeg};
    return reading;
}

bool CompleteReading(Reading& reading, const std::array<double, GrahaCount>& longitudes)
{
    const auto positions = mpp::GrahaPositionsOf(longitudes);
    if (!positions) {
        return false;
    }
    reading.MoonPositionText = FormatSignPosition(longitudes[IndexOf(Graha::Moon)]);
    TakePositions(reading, *positions);
    return true;
}

ReadingResult CalculateReading(const Birth& birth)
{
    ReadingResult result {std::nullopt, BeginReading(birth, SkyModel::Classic)};
    Reading& reading = result.Value;
    const BirthMoment& moment = reading.Moment;

    reading.Ayanamsa = mpp::ComputeAyanamsa(moment);
    const modVedicEphemeris::MoonPosition moon = modVedicEphemeris::ComputeEphemeris(moment);
    const auto positions = std::isfinite(reading.Ayanamsa) && !moon.MoonPositionText.empty()
        ? mpp::ComputeGrahaPositions(moment, reading.Ayanamsa, moon.Longitude)
        : std::nullopt;
    if (!positions) {
        result.Failure = NoPositionsFailure;
        return result;
    }
    reading.MoonPositionText = moon.MoonPositionText;
    TakePositions(reading, *positions);
    reading.Lagna = mpp::ClassicLagna(moment.JulianDay, reading.Place.LatitudeDeg, reading.Place.LongitudeDeg, reading.Ayanamsa);
    return result;
}

} // namespace halvaro
