#pragma once

#include "aspects/GrahaDrishti.h"
#include "core/BirthData.h"
#include "core/Calendar.h"
#include "core/FixedText.h"
#include "core/Graha.h"
#include "core/InputChecks.h"
#include "positions/GrahaPositions.h"
#include "positions/Lagna.h"

#include <array>
#include <optional>
#include <string_view>

namespace halvaro {

static_assert(GrahaCount == modVedicPlanetPosition::GrahaCount);

// Which sky a reading's longitudes come from: the classic model, which the
// program has always computed and is the default everywhere, or the precise
// positions of a full ephemeris.
enum class SkyModel { Classic, Precise };

// "classic" or "precise", as the command line and the outputs name them.
constexpr std::string_view SkyModelName(SkyModel sky)
{
    return sky == SkyModel::Precise ? "precise" : "classic";
}

// The moment of a birth, as every step of the calculation takes it.
struct BirthMoment {
    modVedicPlanetPosition::CivilDateTime Universal {}; // UT, carried into the date
    double UniversalHours = 0;  // clock time plus the zone's correction; may lie outside 0..24
    double JulianDayNumber = 0; // of the civil birth date, at noon
    double JulianDay = 0;       // the moment itself, UT
};

// The place of birth in signed degrees.
struct BirthPlace {
    double LatitudeDeg = 0;  // north positive
    double LongitudeDeg = 0; // east positive
};

// Everything one reading yields, numbers and texts, in Graha order.
struct Reading {
    SkyModel Sky = SkyModel::Classic;
    BirthMoment Moment;
    BirthPlace Place;
    double Ayanamsa = 0; // degrees, negative
    std::array<double, GrahaCount> Longitudes {}; // sidereal, degrees in [0, 360)
    std::array<int, GrahaCount> Signs {};         // 0 Aries .. 11 Pisces
    PositionText MoonPositionText;
    std::array<ShortText, GrahaCount> GrahaPositionTexts;
    modVedicGrahaDrishti::ResultTexts Results;
    // The rising sign's sidereal longitude, from whichever model gave the
    // longitudes: the classic model's own formula (ClassicLagna), or the
    // ephemeris library's houses for the precise one. A model that leaves it
    // NotComputed gets a chart with a note instead of a Lagna.
    modVedicPlanetPosition::LagnaResult Lagna;
};

// A reading, or why there is none: the failed input check.
struct ReadingResult {
    std::optional<InputCheckFailure> Failure;
    Reading Value; // meaningful only without a failure
};

// The whole calculation of the classic model, from birth data to the 32
// texts: the input checks, the moment, the ayanamsa, the Moon and the other
// grahas, the aspects. Reads and writes no module-level value and allocates
// nothing, so any number of threads may call it at once.
ReadingResult CalculateReading(const BirthData& birth);

// The start every sky model shares: the input checks, then the reading's sky,
// moment and place. A failed check is the result's failure.
ReadingResult BeginReading(const BirthData& birth, SkyModel sky);

// The moment and place of checked birth data.
BirthMoment BirthMomentOf(const BirthData& birth);
BirthPlace BirthPlaceOf(const BirthData& birth);

// The signs, the texts and the aspects of a reading whose moment, ayanamsa
// and sidereal longitudes are set, whatever model gave the longitudes. False
// when a longitude has no position text (one that is not finite).
bool CompleteReading(Reading& reading);

// Given when the numbers of checked birth data leave no position text; the
// checks make this unreachable for any date the lists offer.
inline constexpr InputCheckFailure NoPositionsFailure {
    "The positions could not be computed for this birth.", MessageIcon::Error, InputControl::None};

} // namespace halvaro
