#include "sky/PreciseSky.h"

#include <swephexp.h>

#include <cmath>

namespace halvaro::sky {

namespace {

// The library's bodies in Graha order: Sun, Moon, Mercury, Venus, Mars,
// Jupiter, Saturn, and the node as Rahu.
std::array<int32, GrahaCount> BodiesOf(const Conventions& conventions)
{
    const int32 node = conventions.Node == NodeKind::True ? SE_TRUE_NODE : SE_MEAN_NODE;
    return {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, node};
}

constexpr int32 Flags = SEFLG_MOSEPH | SEFLG_SIDEREAL;

// The Swiss Ephemeris keeps its settings (the sidereal mode among them) and
// its caches per thread: Debian builds it with thread-local storage. So no
// lock is needed, and each calculation sets the sidereal mode on its own
// thread first; setting it drops only the positions cached for another
// moment.
// The library's sidereal modes, in the order of AyanamsaSystem.
constexpr std::array<int32, AyanamsaSystemCount> SiderealModes {SE_SIDM_LAHIRI, SE_SIDM_RAMAN, SE_SIDM_KRISHNAMURTI,
    SE_SIDM_YUKTESHWAR, SE_SIDM_JN_BHASIN, SE_SIDM_TRUE_CITRA, SE_SIDM_TRUE_PUSHYA, SE_SIDM_TRUE_REVATI,
    SE_SIDM_SURYASIDDHANTA, SE_SIDM_FAGAN_BRADLEY, SE_SIDM_USER};

void UseAyanamsa(const Conventions& conventions)
{
    if (conventions.Ayanamsa == AyanamsaSystem::User) {
        // The user's value holds at 0h Universal Time of the epoch's date.
        const UserAyanamsa& user = conventions.User;
        swe_set_sid_mode(SE_SIDM_USER | SE_SIDBIT_USER_UT, swe_julday(user.Year, user.Month, user.Day, 0, SE_GREG_CAL),
            user.Degrees);
        return;
    }
    swe_set_sid_mode(SiderealModes[static_cast<std::size_t>(conventions.Ayanamsa)], 0, 0);
}

} // namespace

std::optional<SkyPositions> PrecisePositions(double julianDayUniversal, const Conventions& conventions)
{
    if (!std::isfinite(julianDayUniversal)) {
        return std::nullopt;
    }
    UseAyanamsa(conventions);
    const std::array<int32, GrahaCount> bodies = BodiesOf(conventions);
    std::array<char, AS_MAXCH> error {};
    SkyPositions sky;
    double ayanamsa = 0;
    if (swe_get_ayanamsa_ex_ut(julianDayUniversal, SEFLG_MOSEPH, &ayanamsa, error.data()) < 0
        || !std::isfinite(ayanamsa)) {
        return std::nullopt;
    }
    sky.Ayanamsa = -ayanamsa;
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        std::array<double, 6> position {};
        if (swe_calc_ut(julianDayUniversal, bodies[graha], Flags, position.data(), error.data()) < 0
            || !std::isfinite(position[0])) {
            return std::nullopt;
        }
        // The library reduces into [0, 360); an exact 360 would have no sign.
        sky.Longitudes[graha] = position[0] >= 360 ? position[0] - 360 : position[0];
    }
    return sky;
}

std::optional<std::array<double, GrahaCount>> PreciseSpeeds(double julianDayUniversal, const Conventions& conventions)
{
    if (!std::isfinite(julianDayUniversal)) {
        return std::nullopt;
    }
    UseAyanamsa(conventions);
    const std::array<int32, GrahaCount> bodies = BodiesOf(conventions);
    std::array<char, AS_MAXCH> error {};
    std::array<double, GrahaCount> speeds {};
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        std::array<double, 6> position {};
        if (swe_calc_ut(julianDayUniversal, bodies[graha], Flags | SEFLG_SPEED, position.data(), error.data()) < 0
            || !std::isfinite(position[3])) {
            return std::nullopt;
        }
        speeds[graha] = position[3];
    }
    return speeds;
}

modVedicPlanetPosition::LagnaResult PreciseLagna(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions)
{
    using modVedicPlanetPosition::LagnaStatus;
    const LagnaStatus status = modVedicPlanetPosition::LagnaLatitudeStatus(place.LatitudeDeg);
    if (status != LagnaStatus::Computed || !std::isfinite(place.LongitudeDeg)) {
        return {status == LagnaStatus::Computed ? LagnaStatus::NotComputed : status, 0};
    }
    UseAyanamsa(conventions);
    std::array<double, 13> cusps {};
    std::array<double, 10> angles {};
    // The ascendant does not depend on the house system; equal houses never
    // fail at any latitude the check above lets through. The Moshier flag
    // as for the grahas: without it the ayanamsa would take another Delta T.
    if (swe_houses_ex(julianDayUniversal, Flags, place.LatitudeDeg, place.LongitudeDeg, 'E', cusps.data(),
            angles.data())
            < 0
        || !std::isfinite(angles[SE_ASC])) {
        return {LagnaStatus::NotComputed, 0};
    }
    return {LagnaStatus::Computed, angles[SE_ASC] >= 360 ? angles[SE_ASC] - 360 : angles[SE_ASC]};
}

std::optional<SkyHouses> PreciseHouses(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions)
{
    using modVedicPlanetPosition::LagnaStatus;
    if (modVedicPlanetPosition::LagnaLatitudeStatus(place.LatitudeDeg) != LagnaStatus::Computed
        || !std::isfinite(place.LongitudeDeg) || !std::isfinite(julianDayUniversal)) {
        return std::nullopt;
    }
    UseAyanamsa(conventions);
    std::array<double, 13> cusps {};
    std::array<double, 10> angles {};
    // Where Placidus fails the library says so and fills in other cusps,
    // and still gives the angles.
    const int status = swe_houses_ex(julianDayUniversal, Flags, place.LatitudeDeg, place.LongitudeDeg, 'P',
        cusps.data(), angles.data());
    const auto reduced = [](double degrees) { return degrees >= 360 ? degrees - 360 : degrees; };
    if (!std::isfinite(angles[SE_ASC]) || !std::isfinite(angles[SE_MC])) {
        return std::nullopt;
    }
    SkyHouses houses {reduced(angles[SE_ASC]), reduced(angles[SE_MC]), std::nullopt};
    if (status >= 0) {
        std::array<double, 12> placidus {};
        for (std::size_t house = 0; house < placidus.size(); ++house) {
            if (!std::isfinite(cusps[house + 1])) {
                return houses;
            }
            placidus[house] = reduced(cusps[house + 1]);
        }
        houses.Placidus = placidus;
    }
    return houses;
}

ReadingResult CalculatePreciseReading(const Birth& birth, const Conventions& conventions)
{
    ReadingResult result {std::nullopt, BeginReading(birth, SkyModel::Precise)};
    Reading& reading = result.Value;
    const std::optional<SkyPositions> sky = PrecisePositions(reading.Moment.JulianDay, conventions);
    if (!sky) {
        result.Failure = NoPositionsFailure;
        return result;
    }
    reading.Ayanamsa = sky->Ayanamsa;
    reading.Lagna = PreciseLagna(reading.Moment.JulianDay, reading.Place, conventions);
    if (!CompleteReading(reading, sky->Longitudes)) {
        result.Failure = NoPositionsFailure;
    }
    return result;
}

std::optional<SunAndMoon> PreciseSunAndMoon(double julianDayUniversal, const Conventions& conventions)
{
    if (!std::isfinite(julianDayUniversal)) {
        return std::nullopt;
    }
    UseAyanamsa(conventions);
    std::array<char, AS_MAXCH> error {};
    std::array<double, 2> longitudes {};
    for (std::size_t i = 0; i < longitudes.size(); ++i) {
        std::array<double, 6> position {};
        if (swe_calc_ut(julianDayUniversal, i == 0 ? SE_SUN : SE_MOON, Flags, position.data(), error.data()) < 0
            || !std::isfinite(position[0])) {
            return std::nullopt;
        }
        longitudes[i] = position[0] >= 360 ? position[0] - 360 : position[0];
    }
    return SunAndMoon {longitudes[0], longitudes[1]};
}

HorizonCrossing NextHorizonCrossing(double julianDayUniversal, Graha body, HorizonEvent event,
    const BirthPlace& place, SunriseConvention convention)
{
    if (!std::isfinite(julianDayUniversal) || !std::isfinite(place.LatitudeDeg) || !std::isfinite(place.LongitudeDeg)
        || (body != Graha::Sun && body != Graha::Moon)) {
        return {};
    }
    // The library's own definitions of each convention's horizon.
    constexpr std::array<int32, SunriseConventionCount> ConventionBits {SE_BIT_HINDU_RISING, SE_BIT_DISC_CENTER, 0};
    const int32 method = (event == HorizonEvent::Rise ? SE_CALC_RISE : SE_CALC_SET)
        | ConventionBits[static_cast<std::size_t>(convention)];
    std::array<double, 3> geographic {place.LongitudeDeg, place.LatitudeDeg, 0};
    std::array<char, AS_MAXCH> error {};
    double found = 0;
    // Pressure and temperature 0: the library's standard atmosphere at sea
    // level, for the conventions with refraction.
    const int32 status = swe_rise_trans(julianDayUniversal, body == Graha::Sun ? SE_SUN : SE_MOON, nullptr,
        SEFLG_MOSEPH, method, geographic.data(), 0, 0, &found, error.data());
    if (status == -2) {
        return {HorizonCrossing::Kind::NeverCrosses, 0};
    }
    if (status < 0 || !std::isfinite(found)) {
        return {};
    }
    return {HorizonCrossing::Kind::Found, found};
}

std::string PreciseSkyName(const Conventions& conventions)
{
    return "Swiss Ephemeris, " + ConventionsText(conventions);
}

std::string SwissEphemerisVersion()
{
    std::array<char, AS_MAXCH> version {};
    swe_version(version.data());
    return version.data();
}

} // namespace halvaro::sky
