#include "ashtakavarga/Ashtakavarga.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace halvaro::ashtakavarga;

// A chart with Venus (and Ketu) in Mesha; Sun, Mars and Mercury in Mithuna;
// Jupiter and Saturn in Simha; the Lagna in Kanya; the Moon in Meena (and
// Rahu in Thula, who gives no bindu). Signs in AshtakavargaGrahas' order,
// then the Lagna.
constexpr ContributorSigns Example {2, 11, 2, 2, 4, 0, 4, 5};

int Sum(const Signs12& signs)
{
    return std::accumulate(signs.begin(), signs.end(), 0);
}

// The totals BPHS ch. 66 gives for each graha's bhinna ashtakavarga, which
// hold for any chart: Sun 48, Moon 49, Mars 39, Mercury 54, Jupiter 56,
// Venus 52, Saturn 39 (337 in the sarva).
TEST(Ashtakavarga, EachBhinnaHoldsItsTablesPublishedTotalInEveryChart)
{
    constexpr std::array<int, AshtakavargaGrahaCount> parashari {48, 49, 39, 54, 56, 52, 39};
    for (const ContributorSigns& signs : {Example, ContributorSigns {}, ContributorSigns {11, 10, 9, 8, 7, 6, 5, 4}}) {
        const auto av = AshtakavargaOf(signs, BeneficTable::Parashari);
        ASSERT_TRUE(av);
        for (std::size_t graha = 0; graha < parashari.size(); ++graha) {
            EXPECT_EQ(Sum(av->Bhinna[graha]), parashari[graha]) << graha;
        }
        EXPECT_EQ(Sum(av->Sarva), 337);
    }
}

// A published worked example of this chart gives the sarva
// [34,25,34,25,26,25,22,29,28,30,29,30]; it follows the Parashari table's
// Moon (from Jupiter the 2nd, from herself the 9th) and Venus (from Mars the
// 4th) and would differ in five signs under the other reading.
TEST(Ashtakavarga, ExampleSarvaIsThePublishedOne)
{
    const auto av = AshtakavargaOf(Example, BeneficTable::Parashari);
    ASSERT_TRUE(av);
    EXPECT_EQ(av->Sarva, (Signs12 {34, 25, 34, 25, 26, 25, 22, 29, 28, 30, 29, 30}));
}

// With all eight contributors in Mesha, each sign holds as many bindus as the
// contributors giving that house: counted by hand from the sthana verses of
// BPHS ch. 66 (vv. 44-60), which list them house by house.
TEST(Ashtakavarga, EachHouseHasTheContributorsTheVersesName)
{
    constexpr PerGraha verses {{
        {3, 3, 3, 4, 2, 5, 4, 3, 5, 6, 7, 3}, // Sun
        {3, 2, 7, 3, 4, 5, 5, 3, 2, 7, 8, 0}, // Moon
        {3, 1, 4, 2, 2, 6, 2, 3, 1, 5, 8, 2}, // Mars
        {5, 5, 2, 5, 3, 5, 2, 6, 5, 5, 8, 3}, // Mercury
        {5, 7, 3, 5, 5, 4, 5, 3, 5, 6, 7, 1}, // Jupiter
        {3, 3, 6, 5, 6, 2, 0, 6, 7, 3, 8, 3}, // Venus
        {2, 1, 4, 2, 3, 7, 1, 2, 1, 4, 8, 4}, // Saturn
    }};
    const auto av = AshtakavargaOf(ContributorSigns {}, BeneficTable::Parashari);
    ASSERT_TRUE(av);
    for (std::size_t graha = 0; graha < verses.size(); ++graha) {
        EXPECT_EQ(av->Bhinna[graha], verses[graha]) << graha;
    }
}

TEST(Ashtakavarga, SignsOutsideTheZodiacGiveNone)
{
    EXPECT_FALSE(AshtakavargaOf({0, 0, 0, 0, 0, 0, 0, 12}, BeneficTable::Parashari));
    EXPECT_FALSE(AshtakavargaOf({-1, 0, 0, 0, 0, 0, 0, 0}, BeneficTable::Parashari));
    EXPECT_FALSE(BeneficTableNamed("varahamihira"));
}

// The worked example of the trikona shodhana: [7,4,7,4,4,3,4,4,4,3,6,4]
// gives [3,1,3,0,0,0,0,0,0,0,2,0]; with the others worked by hand (one
// trikona all equal, one with a zero).
TEST(Ashtakavarga, TrikonaShodhanaLeavesEachTrikonaLessItsSmallest)
{
    EXPECT_EQ(TrikonaShodhana({7, 4, 7, 4, 4, 3, 4, 4, 4, 3, 6, 4}), (Signs12 {3, 1, 3, 0, 0, 0, 0, 0, 0, 0, 2, 0}));
    EXPECT_EQ(TrikonaShodhana({5, 0, 2, 6, 5, 3, 2, 1, 5, 8, 2, 6}), (Signs12 {0, 0, 0, 5, 0, 3, 0, 0, 0, 8, 0, 5}));
}

// The rules of the ekadhipatya shodhana as B. V. Raman's Ashtakavarga System
// of Prediction states them, one pair a row, each worked by hand.
TEST(Ashtakavarga, EkadhipatyaShodhanaFollowsTheOccupiedAndEmptySigns)
{
    struct Row {
        const char* rule;
        int first, second;     // Mesha and Vrischika
        bool firstHeld, secondHeld;
        int firstAfter, secondAfter;
    };
    const Row rows[] {
        {"both held: none", 3, 5, true, true, 3, 5},
        {"a zero: none", 0, 4, false, false, 0, 4},
        {"both empty and equal: both go", 2, 2, false, false, 0, 0},
        {"both empty: the greater to the smaller", 5, 2, false, false, 2, 2},
        {"empty fewer than held: the empty goes", 4, 2, true, false, 4, 0},
        {"empty equal to held: the empty goes", 3, 3, false, true, 0, 3},
        {"empty more than held: to the held", 1, 4, true, false, 1, 1},
    };
    for (const Row& row : rows) {
        Signs12 bindus {};
        bindus[0] = row.first;
        bindus[7] = row.second;
        bindus[4] = 6; // Simha, no pair: never reduced
        std::array<bool, 12> occupied {};
        occupied[0] = row.firstHeld;
        occupied[7] = row.secondHeld;
        const Signs12 after = EkadhipatyaShodhana(bindus, occupied);
        EXPECT_EQ(after[0], row.firstAfter) << row.rule;
        EXPECT_EQ(after[7], row.secondAfter) << row.rule;
        EXPECT_EQ(after[4], 6) << row.rule;
    }
}

// The example's Mercury bhinna is the trikona example's row. Worked by hand:
// after the trikona shodhana [3,1,3,0,0,0,0,0,0,0,2,0]; each pair has a zero,
// so the ekadhipatya leaves it; rasi pinda 3x7 + 1x10 + 3x8 + 2x11 = 77;
// graha pinda, from the Sun, Mars and Mercury in Mithuna (3 each) and Venus in
// Mesha (3): 3x5 + 3x8 + 3x5 + 3x7 = 75.
TEST(Ashtakavarga, ExampleMercuryShodhanaAndPindas)
{
    const auto av = AshtakavargaOf(Example, BeneficTable::Parashari);
    ASSERT_TRUE(av);
    constexpr std::size_t mercury = 3;
    EXPECT_EQ(av->Bhinna[mercury], (Signs12 {7, 4, 7, 4, 4, 3, 4, 4, 4, 3, 6, 4}));
    EXPECT_EQ(av->Ekadhipatya[mercury], (Signs12 {3, 1, 3, 0, 0, 0, 0, 0, 0, 0, 2, 0}));
    EXPECT_EQ(av->Pindas[mercury].Rasi, 77);
    EXPECT_EQ(av->Pindas[mercury].Graha, 75);
    EXPECT_EQ(av->Pindas[mercury].Shodhya(), 152);
}

} // namespace
