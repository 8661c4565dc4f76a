#include "calculation/Reading.h"

#include "ephemeris/MoonEngine.h"
#include "positions/Ayanamsa.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <type_traits>

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

// Reading is built in place, inside the result: its kilobytes of texts are
// written where they stay, neither copied nor cleared first (initialising the
// whole result in one expression makes the compiler clear it, for the
// optional beside the reading).
static_assert(std::is_trivially_destructible_v<Reading>, "a reading is built over a default one");

ReadingResult CalculateReading(const Birth& birth)
{
    ReadingResult result;
    const BirthMoment moment = BirthMomentOf(birth);
    const double ayanamsa = mpp::ComputeAyanamsa(moment);
    const modVedicEphemeris::MoonPosition moon = modVedicEphemeris::ComputeEphemeris(moment);
    const auto positions = std::isfinite(ayanamsa) && !moon.MoonPositionText.empty()
        ? mpp::ComputeGrahaPositions(moment, ayanamsa, moon.Longitude)
        : std::nullopt;
    if (!positions) {
        result.Failure = NoPositionsFailure;
        return result;
    }
    ::new (&result.Value) Reading {.Sky = SkyModel::Classic,
        .Moment = moment,
        .Place = {birth.LatitudeDeg, birth.LongitudeDeg},
        .Ayanamsa = ayanamsa,
        .MoonPositionText = moon.MoonPositionText,
        .Longitudes = positions->Longitudes,
        .Places = positions->Places,
        .GrahaPositionTexts = positions->GrahaPositionTexts,
        .Results = modVedicGrahaDrishti::ComputeGrahaDrishti(*positions),
        .Lagna = mpp::ClassicLagna(moment.JulianDay, birth.LatitudeDeg, birth.LongitudeDeg, ayanamsa)};
    return result;
}

std::optional<std::array<double, GrahaCountWithKetu>> ClassicLongitudesAt(const BirthMoment& moment, int hoursLater)
{
    BirthMoment moved = moment;
    // Taking an offset off local time moves it forward by that offset.
    moved.Universal = UniversalBirthTime(moment.Universal, -60 * hoursLater);
    moved.UniversalHours += hoursLater;
    moved.JulianDay += hoursLater / 24.0;
    // The reading's steps and checks at the moved moment, less its texts:
    // every longitude must have a place in the signs.
    const double ayanamsa = mpp::ComputeAyanamsa(moved);
    const double moon = modVedicEphemeris::MoonSiderealLongitude(
        modVedicEphemeris::CenturiesSinceJ2000(moved.JulianDayNumber, moved.UniversalHours));
    const auto eight = std::isfinite(ayanamsa) ? mpp::ClassicSiderealLongitudes(moved, ayanamsa, moon) : std::nullopt;
    const auto hasPlace = [](double longitude) { return SignPlaceOf(longitude).has_value(); };
    if (!eight || !std::all_of(eight->begin(), eight->end(), hasPlace)) {
        return std::nullopt;
    }
    std::array<double, GrahaCountWithKetu> nine {};
    std::copy(eight->begin(), eight->end(), nine.begin());
    nine[IndexOf(Graha::Ketu)] = mpp::KetuLongitude((*eight)[IndexOf(Graha::Rahu)]);
    return nine;
}

} // namespace halvaro
