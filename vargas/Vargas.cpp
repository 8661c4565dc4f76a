#include "vargas/Vargas.h"

#include <algorithm>

namespace halvaro::vargas {

namespace {

// Friend 1, neutral 0, enemy -1: rows the graha, columns the other, Sun to Saturn.
constexpr std::array<std::array<int, VimshopakaGrahaCount>, VimshopakaGrahaCount> NaturalFriendship {{
    //  Su  Mo  Me  Ve  Ma  Ju  Sa
    {0, 1, 0, -1, 1, 1, -1},   // Sun
    {1, 0, 1, 0, 0, 0, 0},     // Moon
    {1, -1, 0, 1, 0, 0, 0},    // Mercury
    {-1, -1, 1, 0, 0, 0, 1},   // Venus
    {1, 1, -1, 0, 0, 1, 0},    // Mars
    {1, 1, -1, -1, 1, 0, 0},   // Jupiter
    {-1, -1, 1, 1, -1, 0, 0},  // Saturn
}};

constexpr std::array<Graha, 12> Lords {Graha::Mars, Graha::Venus, Graha::Mercury, Graha::Moon, Graha::Sun,
    Graha::Mercury, Graha::Venus, Graha::Mars, Graha::Jupiter, Graha::Saturn, Graha::Saturn, Graha::Jupiter};

bool IsSeven(Graha graha)
{
    return IndexOf(graha) < VimshopakaGrahaCount;
}

} // namespace

VargaSigns VargaSignsOf(const GrahaLongitudes& longitudes, std::optional<double> lagnaDeg)
{
    VargaSigns signs;
    for (std::size_t v = 0; v < VargaCount; ++v) {
        const vedic::VargaRule& rule = vedic::VargaRules[v];
        for (std::size_t graha = 0; graha < GrahaCountWithKetu; ++graha) {
            signs.Grahas[v][graha] = vedic::SignInVarga(rule, longitudes[graha]).value_or(0);
        }
        if (lagnaDeg) {
            signs.Lagna[v] = vedic::SignInVarga(rule, *lagnaDeg);
        }
    }
    return signs;
}

Graha SignLord(int sign)
{
    return Lords[static_cast<std::size_t>(((sign % 12) + 12) % 12)];
}

Relation NaturalRelation(Graha of, Graha towards)
{
    if (of == towards) {
        return Relation::Own;
    }
    if (!IsSeven(of) || !IsSeven(towards)) {
        return Relation::Neutral;
    }
    const int friendship = NaturalFriendship[IndexOf(of)][IndexOf(towards)];
    return friendship > 0 ? Relation::Friend : friendship < 0 ? Relation::Enemy : Relation::Neutral;
}

Relation CompoundRelation(Graha of, Graha towards, int ofRasiSign, int towardsRasiSign)
{
    const Relation natural = NaturalRelation(of, towards);
    if (natural == Relation::Own) {
        return natural;
    }
    const int house = ((towardsRasiSign - ofRasiSign) % 12 + 12) % 12 + 1;
    const bool temporaryFriend = house == 2 || house == 3 || house == 4 || house >= 10;
    // Friend, Neutral and Enemy lie one step apart in the enum, the great ones beside them.
    const int step = temporaryFriend ? -1 : 1;
    return static_cast<Relation>(static_cast<int>(natural) + step);
}

double ShodashavargaWeight(int n)
{
    switch (n) {
    case 1: return 3.5;
    case 2: case 3: case 30: return 1;
    case 9: return 3;
    case 16: return 2;
    case 60: return 4;
    default: return 0.5;
    }
}

double RelationPoints(Relation relation)
{
    constexpr std::array<double, 6> Points {20, 18, 15, 10, 7, 5};
    return Points[static_cast<std::size_t>(relation)];
}

std::array<double, VimshopakaGrahaCount> VimshopakaOf(const VargaSigns& signs)
{
    constexpr std::size_t Rasi = 0;
    std::array<double, VimshopakaGrahaCount> strength {};
    for (std::size_t graha = 0; graha < VimshopakaGrahaCount; ++graha) {
        const auto of = static_cast<Graha>(graha);
        for (std::size_t v = 0; v < VargaCount; ++v) {
            const Graha lord = SignLord(signs.Grahas[v][graha]);
            const Relation relation =
                CompoundRelation(of, lord, signs.Grahas[Rasi][graha], signs.Grahas[Rasi][IndexOf(lord)]);
            strength[graha] += ShodashavargaWeight(vedic::VargaRules[v].N) * RelationPoints(relation) / 20;
        }
    }
    return strength;
}

} // namespace halvaro::vargas
