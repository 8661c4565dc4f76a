// matching/ holds the kundli matching of two readings: the Ashtakoota's eight kutas from the two Moons, each with its points, maximum and reason, the total and its verdict, the Nadi and Bhakoot doshas, and each chart's Manglik dosha.
#pragma once

#include "calculation/Reading.h"
#include "matching/Kutas.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Matching a boy's reading with a girl's, as families ask before a marriage:
// the 36 points of the Ashtakoota and the Manglik dosha of each chart.
namespace halvaro::matching {

// What the Ashtakoota reads of a Moon: its sign, its place in the sign and
// its nakshatra and pada.
struct MoonStar {
    double Longitude = 0;     // sidereal degrees in [0, 360)
    int Sign = 0;             // 0 Mesha .. 11 Meena
    double DegreesInSign = 0; // [0, 30)
    int Nakshatra = 0;        // 0 Ashwini .. 26 Revati
    int Pada = 1;             // 1..4
};
// Nothing for a longitude that is not finite.
std::optional<MoonStar> MoonStarOf(double moonLongitudeDeg);

enum class KutaKind { Varna, Vashya, Tara, Yoni, GrahaMaitri, Gana, Bhakoot, Nadi };
inline constexpr int KutaCount = 8;
struct KutaRow {
    std::string_view Name;
    int Max;
};
inline constexpr std::array<KutaRow, KutaCount> KutaTable {{
    {"Varna", 1}, {"Vashya", 2}, {"Tara", 3}, {"Yoni", 4}, {"Graha Maitri", 5}, {"Gana", 6}, {"Bhakoot", 7}, {"Nadi", 8},
}};
inline constexpr int AshtakootaMax = 36;

struct KutaScore {
    std::string_view Name;
    double Points = 0; // whole or half points
    int Max = 0;
    std::string Reason;
};

struct Ashtakoota {
    MoonStar Boy, Girl;
    std::array<KutaScore, KutaCount> Kutas;
    double Total = 0;
    std::string_view Verdict;
    std::vector<std::string_view> Doshas; // "Nadi", "Bhakoot", when present
};

// The usual reading of a total: 31–36 "excellent", 21–30 "very good",
// 17–20 "middling", 0–16 "not advised" (a half point stays in its whole
// number's band).
std::string_view VerdictOf(double total);

Ashtakoota MatchMoons(const MoonStar& boy, const MoonStar& girl);

// Said wherever a dosha is named: no cancelling rule is applied yet.
inline constexpr std::string_view DoshaCancellationNote = "Cancellations of the doshas are not considered yet.";

// The houses from a sign (whole signs, that sign the first) in which Mars
// makes a chart Manglik.
inline constexpr std::array<int, 6> ManglikHouses {1, 2, 4, 7, 8, 12};

struct ManglikFinding {
    std::optional<int> MarsFromLagna; // Mars's house from the Lagna's sign; nothing without a Lagna
    int MarsFromMoon = 1;
    int MarsFromVenus = 1;
    [[nodiscard]] std::optional<bool> FromLagna() const;
    [[nodiscard]] bool FromMoon() const;
    [[nodiscard]] bool FromVenus() const;
    // Manglik by any of the three.
    [[nodiscard]] bool IsManglik() const;
};
bool IsManglikHouse(int house);
ManglikFinding ManglikOf(const Reading& reading);

struct Match {
    Ashtakoota Kutas;
    ManglikFinding BoyManglik, GirlManglik;
    // Both charts Manglik: the common rule that the two cancel.
    [[nodiscard]] bool ManglikCancelled() const { return BoyManglik.IsManglik() && GirlManglik.IsManglik(); }
};
// Nothing when a Moon's longitude is not finite.
std::optional<Match> MatchReadings(const Reading& boy, const Reading& girl);

// One sentence on the two charts' Manglik dosha: cancelled, standing for
// one of them, or absent.
std::string ManglikConclusion(const Match& match);

// "Moon 11° 8' Simha, Magha pada 4": degrees and minutes truncated.
std::string MoonStarText(const MoonStar& moon);
// "7th house".
std::string HouseText(int house);

// "Mars from the Lagna 8th house (Manglik), from the Moon 8th house
// (Manglik), from Venus 9th house: Manglik".
std::string ManglikText(const ManglikFinding& finding);

// "Doshas: Nadi dosha, Bhakoot dosha. Cancellations of the doshas are not
// considered yet."; empty without a dosha.
std::string DoshaText(const Ashtakoota& kutas);

// Points as they are written: "4", "1.5".
std::string PointsText(double points);

// The match as text, for the command line and the window: the two names
// and Moons, the eight kutas with points, maximum and reason, the total and
// verdict, the doshas and both Manglik findings.
std::string MatchText(const Match& match, std::string_view boyName, std::string_view girlName);

} // namespace halvaro::matching
