#include "calculation/Reading.h"

#include "ephemeris/MoonEngine.h"
#include "positions/Ayanamsa.h"

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

// The classic model's steps at a moment: the ayanamsa, the Moon, the
// positions; nothing when one gives no finite value.
struct ClassicSky {
    double Ayanamsa;
    modVedicEphemeris::MoonPosition Moon;
    mpp::GrahaPositions Positions;
};
std::optional<ClassicSky> ClassicSkyAt(const BirthMoment& moment)
{
    const double ayanamsa = mpp::ComputeAyanamsa(moment);
    modVedicEphemeris::MoonPosition moon = modVedicEphemeris::ComputeEphemeris(moment);
    const auto positions = std::isfinite(ayanamsa) && !moon.MoonPositionText.empty()
        ? mpp::ComputeGrahaPositions(moment, ayanamsa, moon.Longitude)
        : std::nullopt;
    if (!positions) {
        return std::nullopt;
    }
    return ClassicSky {ayanamsa, std::move(moon), *positions};
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
    const std::optional<ClassicSky> sky = ClassicSkyAt(moved);
    return sky ? std::optional(sky->Positions.Longitudes) : std::nullopt;
}

} // namespace halvaro
