// chart/ holds the chart of a reading in a varga (the Rasi, the Navamsa, the other divisions) or in its houses (the bhava chalit), as data and as SVG.
#pragma once

#include "calculation/Reading.h"
#include "core/Birth.h"
#include "core/Graha.h"
#include "core/SignPosition.h"
#include "houses/Houses.h"
#include "vedic/Varga.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The chart of a reading in one varga, the Rasi (D1) or another division of
// the signs: which grahas stand in which sign, and the Lagna, as data that
// the pictures draw.
namespace halvaro::chart {

inline constexpr int SignCount = 12;
inline constexpr int ChartGrahaCount = GrahaCountWithKetu;

// The short position text of a place: 05 Tau 24.
std::string ShortPlaceText(const SignPlace& place);

struct ChartData {
    int Varga = vedic::RasiVarga; // the D-number
    // Beyond the Rasi a graha's Sign is its sign in the varga; its degrees
    // and minutes stay those of its Rasi place.
    std::array<SignPlace, ChartGrahaCount> Grahas {};
    std::array<std::vector<int>, SignCount> GrahasInSign; // chart graha indices, in Graha order
    std::optional<SignPlace> Lagna;                        // nothing when the reading has none
    // Grahas drawn with "(R)": the reading's motion decides, not the chart.
    std::array<bool, ChartGrahaCount> Retrograde {};
    // The caption: who, when, where, and from which sky.
    std::string Name;
    std::string WhenText;  // 15 June 1975, 10:30 Indian Time, IST, +5.3 (05:00 UT)
    std::string WhereText; // New Delhi, Delhi, India, 28°39' N 77°13' E
    std::string SkyText;   // Sky model: classic, ayanamsa 23°31', Lagna 05 Leo 55
    std::string Note;      // why there is no Lagna; empty when there is one
    // For a classic reading, the grahas the precise sky places in other signs:
    // "In the precise sky the Sun stands in Vrishabha."; set by the caller,
    // which knows both skies.
    std::string SkyDifferences;
    // A chart of bindus (the sarva ashtakavarga) draws a count in each sign
    // instead of the grahas.
    std::optional<std::array<int, SignCount>> Bindus;
    // The chart's name when it is not its varga's ("Bhava Chalit", "Sarvashtakavarga"), and the
    // line on its houses: their system, where the cusps came from, the cusps.
    std::string Title;
    std::string HousesText;
};

// A chart, or the message that refuses one (a place no chart can have).
struct ChartResult {
    std::string Refusal;
    ChartData Data; // meaningful only without a refusal
};

// The chart in the varga Dn of a computed reading and the birth it was
// computed from.
ChartResult MakeChart(const Birth& birth, const Reading& reading, int varga = vedic::RasiVarga);

// The bhava chalit chart of a Rasi chart: each graha drawn in the sign that
// stands in its house counted from the Lagna, its degrees its own; a
// refusal, the houses' note, where the houses have no cusps or the chart no
// Lagna.
ChartResult MakeBhavaChart(const ChartData& rasi, const houses::Houses& houses);

inline constexpr std::string_view LatitudeRefusal =
    "The latitude lies beyond 90\xC2\xB0. Please check the latitude to draw the chart.";
inline constexpr std::string_view LongitudeRefusal =
    "The longitude lies beyond 180\xC2\xB0. Please check the longitude to draw the chart.";
inline constexpr std::string_view NoVargaRefusal = "This division of the signs has no chart.";
inline constexpr std::string_view PolarNote = "No Lagna: at a pole no point of the horizon lies east.";
inline constexpr std::string_view NoLagnaNote = "No Lagna: this sky model gave none.";
// Without a Lagna the North Indian chart counts its houses from the Moon.
inline constexpr std::string_view MoonHousesNote = "Houses counted from the Moon's sign (Chandra Lagna).";

} // namespace halvaro::chart
