// sky/ holds the precise sky model, on the Swiss Ephemeris, the one part that links it.
#pragma once

#include "calculation/Reading.h"
#include "core/Birth.h"
#include "core/Conventions.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::sky {

// The eight grahas of the precise sky at one moment, in Graha order.
struct SkyPositions {
    double Ayanamsa = 0;                          // degrees, negative like the classic model's
    std::array<double, GrahaCount> Longitudes {}; // sidereal, degrees in [0, 360)
};

// Apparent geocentric positions from the Swiss Ephemeris (its built-in
// Moshier ephemeris), sidereal with the conventions' ayanamsa of the date,
// Rahu the Moon's ascending node of the conventions; the ayanamsa includes
// nutation, as the sidereal longitudes do. Empty when the library refuses the
// moment. Safe to call from any thread.
std::optional<SkyPositions> PrecisePositions(double julianDayUniversal, const Conventions& conventions);

// The daily motions of the eight grahas in the sidereal frame of
// PrecisePositions (degrees a day, negative when retrograde), from the
// library's own speeds. Empty when the library refuses the moment.
std::optional<std::array<double, GrahaCount>> PreciseSpeeds(double julianDayUniversal, const Conventions& conventions);

// The Lagna of the precise sky: the library's own ascendant (swe_houses_ex,
// sidereal, the conventions' ayanamsa) for a moment and a place (north and
// east positive), with the classic model's refusals of polar and impossible
// latitudes.
modVedicPlanetPosition::LagnaResult PreciseLagna(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions);

// The angles of the precise sky at a moment and place, and its Placidus
// cusps (house 1 first), sidereal with the conventions' ayanamsa, in
// [0, 360). The cusps are nothing where the library finds none (inside the
// polar circles); the whole is nothing at a pole or an impossible place.
struct SkyHouses {
    double Ascendant = 0;
    double Midheaven = 0;
    std::optional<std::array<double, 12>> Placidus;
};
std::optional<SkyHouses> PreciseHouses(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions);

// The whole reading in the precise sky: the same moment and place as the
// classic CalculateReading, the longitudes and ayanamsa from PrecisePositions
// for the moment's Universal Time, then the same texts and aspects.
ReadingResult CalculatePreciseReading(const Birth& birth, const Conventions& conventions);

// The sidereal longitudes of the Sun and the Moon alone (degrees in [0, 360),
// the conventions' ayanamsa), as PrecisePositions gives them: what the
// panchanga's elements are counted from. Empty when the library refuses the
// moment.
struct SunAndMoon {
    double Sun = 0;
    double Moon = 0;
};
std::optional<SunAndMoon> PreciseSunAndMoon(double julianDayUniversal, const Conventions& conventions);

enum class HorizonEvent { Rise, Set };

// What the library says of the next rising or setting of the Sun or the Moon
// after a moment at a place (north and east positive, sea level), under a
// sunrise convention: the moment (UT Julian day), or that the body stays
// above or below the horizon (a polar day or night), or that it refused.
struct HorizonCrossing {
    enum class Kind { Found, NeverCrosses, Refused };
    Kind Outcome = Kind::Refused;
    double JulianDayUniversal = 0; // for Found only
};
HorizonCrossing NextHorizonCrossing(double julianDayUniversal, Graha body, HorizonEvent event,
    const BirthPlace& place, SunriseConvention convention);

// How the outputs name the sky's model and conventions: "Swiss Ephemeris, Lahiri".
std::string PreciseSkyName(const Conventions& conventions);

// The library's own version, e.g. "2.10.03", for the About box.
std::string SwissEphemerisVersion();

} // namespace halvaro::sky
