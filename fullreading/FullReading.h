// fullreading/ holds the whole reading of a checked birth under its `Conventions`, in either sky
// (`CalculateFullReading`): the positions and texts, the positions table with the motions, the dasha, the
// panchanga at birth, the ashtakavarga, the sky differences, the vargas with their strength, the houses and the
// charts, each computed once and only when asked; the window and `halvaro-cli` only show it.
#pragma once

#include "ashtakavarga/Ashtakavarga.h"
#include "calculation/Reading.h"
#include "chart/ChartData.h"
#include "core/Birth.h"
#include "core/Conventions.h"
#include "panchanga/Panchanga.h"
#include "houses/Houses.h"
#include "vargas/Vargas.h"
#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"
#include "vedic/Yogini.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The whole reading of a checked birth under its conventions, in either sky:
// the positions and texts, the positions table with the motions, the dasha,
// and where the precise sky places the grahas otherwise, each computed once.
// The window and the command line only show it.
namespace halvaro::fullreading {

// A graha that a classic reading puts in another sign than the precise sky
// does at the same moment, and the sign the precise sky gives it.
struct SkyDifference {
    Graha Which;
    int PreciseSign; // 0 Aries .. 11 Pisces
};

// What is computed beyond the positions and the 32 texts: an output that
// shows none of a part does not pay for it.
struct ReadingParts {
    bool Details = true;         // the positions table, with the daily motions
    bool Dasha = true;           // the Vimshottari dasha, and the Yogini beside it
    bool SkyDifferences = false; // one precise computation more, for a classic reading
    bool Panchanga = false;      // the panchanga at birth: some hundred precise computations
    bool Ashtakavarga = false;   // under the table below
    ashtakavarga::BeneficTable AshtakavargaTable = ashtakavarga::BeneficTable::Parashari;
    bool Vargas = false;         // the signs in the sixteen vargas, and the Vimshopaka strength
    bool Houses = false;         // the houses in HouseSystem
    houses::HouseSystem HouseSystem = houses::HouseSystem::WholeSign;
};
inline constexpr ReadingParts EveryPart {true, true, true, true, true, ashtakavarga::BeneficTable::Parashari, true, true,
    houses::HouseSystem::WholeSign};
// The positions and texts alone.
inline constexpr ReadingParts PositionsOnly {false, false, false, false, false, ashtakavarga::BeneficTable::Parashari,
    false, false, houses::HouseSystem::WholeSign};

struct FullReading : Reading {
    Conventions Used;
    // Each is nothing when not asked for, or when the sky gave none.
    std::optional<vedic::ReadingDetails> Details;
    std::optional<vedic::VimshottariDasha> Dasha;
    std::optional<vedic::YoginiDasha> Yogini;
    // Nothing also for a reading without a Lagna.
    std::optional<ashtakavarga::Ashtakavarga> Ashtakavarga;
    // Empty when the skies agree; nothing when not asked for.
    std::optional<std::vector<SkyDifference>> SkyDiffers;
    // Always the precise sky's, in either sky; nothing when not asked for.
    std::optional<panchanga::MomentPanchanga> Panchanga;
    std::optional<vargas::VargaSigns> Vargas;
    std::optional<std::array<double, vargas::VimshopakaGrahaCount>> Vimshopaka;
    std::optional<houses::Houses> Houses;
};

// A reading, or why there is none.
struct FullReadingResult {
    std::optional<InputCheckFailure> Failure;
    FullReading Value; // meaningful only without a failure
};

// The panchanga's times are shown on `clock` (the birth's zone history);
// without one, at the birth's own offset.
FullReadingResult CalculateFullReading(const Birth& birth, const Conventions& conventions, const ReadingParts& parts,
    const panchanga::UtcOffsetAt& clock = {});

// The panchanga at a birth, in the precise sky whatever the conventions' sky.
std::optional<panchanga::MomentPanchanga> BirthPanchanga(const Birth& birth, double julianDayUniversal,
    const Conventions& conventions, const panchanga::UtcOffsetAt& clock = {});

// The signs of a reading's seven grahas and Lagna, which its ashtakavarga is
// counted from under a table; nothing without a Lagna.
std::optional<ashtakavarga::ContributorSigns> AshtakavargaSignsOf(const Reading& reading);
std::optional<ashtakavarga::Ashtakavarga> AshtakavargaOf(const Reading& reading, ashtakavarga::BeneficTable table);

// The sarva ashtakavarga as a chart of bindus in the Rasi; nothing without
// an ashtakavarga.
std::optional<chart::ChartData> SarvaChartOf(const Birth& birth, const FullReading& reading, const ashtakavarga::Ashtakavarga& av);

// The grahas (Ketu last) whose motion is retrograde; none without details.
std::array<bool, GrahaCountWithKetu> RetrogradeMarks(const FullReading& reading);

// One line naming the sky a reading was made in, for the result screen and
// the command line: "Sky: classic model", "Sky: precise (Swiss Ephemeris, Lahiri)".
std::string SkyCaption(const Conventions& conventions);

// Where the precise sky places them: "in the precise sky the Sun stands in
// Vrishabha, Mars in Mesha and Rahu in Meena"; empty for none.
std::string PreciseSkyPlaces(const std::vector<SkyDifference>& differences);

// The same as a sentence of its own, for a chart's caption: "In the precise
// sky the Sun stands in Vrishabha."; empty when the skies agree or the
// differences were not asked for.
std::string SkyDifferencesSentence(const FullReading& reading);

// The sky's caption, and for a classic reading whose grahas the precise sky
// places elsewhere, where: "Sky: classic model — in the precise sky the Sun
// stands in Vrishabha".
std::string SkyCaptionWithDifferences(const FullReading& reading);

// The reading's chart in the varga Dn with its retrograde marks and, for a
// classic reading, the sentence on the precise sky.
chart::ChartResult ChartOf(const Birth& birth, const FullReading& reading, int varga = vedic::RasiVarga);

// The houses of a reading in a system. Sripati and Placidus take the angles
// and cusps of the precise sky at the reading's moment and place under its
// conventions; a classic reading, which has none of its own, takes the
// precise sky's and says so in the houses' note. Without a Lagna, or inside
// the polar circles for Placidus, no cusps and a note why.
houses::Houses HousesOf(const FullReading& reading, houses::HouseSystem system);

// The reading's bhava chalit chart in its houses, or the houses' note as
// the refusal.
chart::ChartResult BhavaChartOf(const Birth& birth, const FullReading& reading, const houses::Houses& houses);

} // namespace halvaro::fullreading
