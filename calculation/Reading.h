// calculation/ holds the reading as a value (`CalculateReading` of a checked birth), with its Lagna.
#pragma once

#include "aspects/GrahaDrishti.h"
#include "core/Birth.h"
#include "core/Calendar.h"
#include "core/Conventions.h"
#include "core/FixedText.h"
#include "core/Graha.h"
#include "core/InputChecks.h"
#include "positions/GrahaPositions.h"
#include "positions/Lagna.h"

#include <array>
#include <optional>
#include <string_view>

namespace halvaro {

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
    PositionText MoonPositionText;
    // Sidereal, degrees in [0, 360), Ketu last.
    std::array<double, GrahaCountWithKetu> Longitudes {};
    // Each graha's sign (0 Aries .. 11 Pisces) and degrees and minutes in it,
    // cut as the texts cut them; Ketu's is Rahu's six signs on.
    std::array<SignPlace, GrahaCountWithKetu> Places {};
    std::array<ShortText, GrahaCount> GrahaPositionTexts;
    modVedicGrahaDrishti::ResultTexts Results;
    // The rising sign's sidereal longitude, from whichever model gave the
    // longitudes: the classic model's own formula (ClassicLagna), or the
    // ephemeris library's houses for the precise one. A model that leaves it
    // NotComputed gets a chart with a note instead of a Lagna.
    modVedicPlanetPosition::LagnaResult Lagna;
};

// A reading, or why there is none: a failed input check, or no positions.
struct ReadingResult {
    std::optional<InputCheckFailure> Failure;
    Reading Value; // meaningful only without a failure
};

// The whole calculation of the classic model, from a checked birth to the
// 32 texts: the moment, the ayanamsa, the Moon and the other grahas, the
// aspects, the Lagna. Reads and writes no module-level value and allocates
// nothing, so any number of threads may call it at once.
ReadingResult CalculateReading(const Birth& birth);

// The start every sky model shares: the reading's sky, moment and place.
Reading BeginReading(const Birth& birth, SkyModel sky);

// The texts and the aspects of a reading whose moment and ayanamsa are set,
// from the eight sidereal longitudes of whatever model gave them. False when
// a longitude has no position text (one that is not finite).
bool CompleteReading(Reading& reading, const std::array<double, GrahaCount>& longitudes);

// The classic model's sidereal longitudes, Ketu last, some whole hours from a
// moment: the reading's own steps at the moved moment, for the grahas' daily
// motion, which the model does not give. Nothing when one is not finite.
std::optional<std::array<double, GrahaCountWithKetu>> ClassicLongitudesAt(const BirthMoment& moment, int hoursLater);

// Given when the numbers of a checked birth leave no position text; the
// checks make this unreachable for any date the lists offer.
inline constexpr InputCheckFailure NoPositionsFailure {
    "The positions could not be computed for this birth.", MessageIcon::Error, InputControl::None};

} // namespace halvaro
