// vargas/ holds the sixteen vargas of a reading, each graha's and the Lagna's sign in each, and the Vimshopaka strength of the grahas.
#pragma once

#include "core/Graha.h"
#include "vedic/Varga.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Where the grahas and the Lagna stand in each of the sixteen divisions of
// the signs, and the strength the grahas draw from them.
namespace halvaro::vargas {

inline constexpr std::size_t VargaCount = vedic::VargaRules.size();
using GrahaLongitudes = std::array<double, GrahaCountWithKetu>; // Ketu last, sidereal degrees

// Signs 0 Mesha .. 11 Meena, one row per varga in the order of VargaRules.
struct VargaSigns {
    std::array<std::array<int, GrahaCountWithKetu>, VargaCount> Grahas {};
    std::array<std::optional<int>, VargaCount> Lagna {}; // nothing without a Lagna
};

// The signs of finite longitudes in every varga.
VargaSigns VargaSignsOf(const GrahaLongitudes& longitudes, std::optional<double> lagnaDeg);

// The lord of a sign 0..11: Mars, Venus, Mercury, Moon, Sun, Mercury, Venus,
// Mars, Jupiter, Saturn, Saturn, Jupiter.
Graha SignLord(int sign);

// How one of the seven grahas regards another, or its own sign's lord.
enum class Relation { Own, GreatFriend, Friend, Neutral, Enemy, GreatEnemy };

// The natural friendship of the seven grahas (Brihat Parashara Hora
// Shastra, ch. 3): Friend, Neutral or Enemy; Own for the graha itself.
Relation NaturalRelation(Graha of, Graha towards);

// The compound friendship: the natural one, a step warmer when `towards`
// stands in the 2nd, 3rd, 4th, 10th, 11th or 12th sign from `of` in the
// Rasi (a temporary friend), a step colder otherwise.
Relation CompoundRelation(Graha of, Graha towards, int ofRasiSign, int towardsRasiSign);

// The Shodashavarga weights of Brihat Parashara Hora Shastra, ch. 7, by
// D-number: D1 3.5, D2 1, D3 1, D9 3, D16 2, D30 1, D60 4, the nine others
// 0.5; 20 in all.
double ShodashavargaWeight(int n);

// Points of a varga's sign by its lord's relation to the graha, out of 20.
double RelationPoints(Relation relation);

// The seven grahas Sun to Saturn; the nodes own no sign and have no score.
inline constexpr std::size_t VimshopakaGrahaCount = 7;

// How the outputs name the scheme and its basis.
inline constexpr std::string_view VimshopakaScheme =
    "Shodashavarga weights (BPHS ch. 7); points by the compound friendship with the sign's lord, the temporary "
    "one from the Rasi: own 20, great friend 18, friend 15, neutral 10, enemy 7, great enemy 5";

// The Vimshopaka strength of the seven grahas, 0 to 20: each varga's weight
// times the points of the graha's sign in it, over 20.
std::array<double, VimshopakaGrahaCount> VimshopakaOf(const VargaSigns& signs);

// The --details table: a row for each graha and the Lagna, its sign in each
// varga in four letters ("-" where there is no Lagna), the seven grahas'
// Vimshopaka in a last column and its scheme named under the table.
std::string VargasText(const VargaSigns& signs, const std::optional<std::array<double, VimshopakaGrahaCount>>& vimshopaka);

} // namespace halvaro::vargas
