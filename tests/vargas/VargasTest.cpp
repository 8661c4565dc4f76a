#include "vargas/Vargas.h"

#include <gtest/gtest.h>

namespace {

using namespace halvaro;
using namespace halvaro::vargas;

struct VimshopakaCase {
    const char* name;
    GrahaLongitudes longitudes; // Sun .. Saturn, then Rahu and Ketu, which do not count
    std::array<double, VimshopakaGrahaCount> strength;
};

// Expected strengths from tests/data/vedic/vimshopaka.py, an evaluation in
// exact fractions written apart from this code from the same rules.
TEST(Vimshopaka, MatchesTheIndependentEvaluation)
{
    const VimshopakaCase cases[] {
        {"spread", {10.5, 33.25, 341.75, 355.1, 295.6, 248.3, 201.45, 0, 180},
            {14.475, 11.975, 12.375, 13.875, 16.575, 16.6, 10.625}},
        {"edges", {29.99, 59.99, 89.99, 119.99, 149.99, 179.99, 209.99, 0, 180},
            {11.475, 15.075, 16.625, 14.075, 16.375, 11.9, 10.8}},
    };
    for (const VimshopakaCase& c : cases) {
        const auto strength = VimshopakaOf(VargaSignsOf(c.longitudes, std::nullopt));
        for (std::size_t graha = 0; graha < VimshopakaGrahaCount; ++graha) {
            EXPECT_NEAR(strength[graha], c.strength[graha], 1e-9) << c.name << ": " << GrahaNameTable[graha].Plain;
        }
    }
}

// The weights are Parashara's, twenty in all; the compound friendship, by hand.
TEST(Vimshopaka, WeightsSumToTwenty)
{
    double total = 0;
    for (const vedic::VargaRule& rule : vedic::VargaRules) {
        total += ShodashavargaWeight(rule.N);
    }
    EXPECT_DOUBLE_EQ(total, 20);
    EXPECT_EQ(CompoundRelation(Graha::Sun, Graha::Jupiter, 0, 8), Relation::Neutral);   // friend, 9th: temporary enemy
    EXPECT_EQ(CompoundRelation(Graha::Sun, Graha::Jupiter, 0, 1), Relation::GreatFriend); // friend, 2nd
    EXPECT_EQ(CompoundRelation(Graha::Saturn, Graha::Sun, 0, 6), Relation::GreatEnemy);  // enemy, 7th
    EXPECT_EQ(CompoundRelation(Graha::Moon, Graha::Saturn, 3, 2), Relation::Friend);    // neutral, 12th
}

} // namespace
