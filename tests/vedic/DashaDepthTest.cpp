#include "vedic/Vimshottari.h"
#include "vedic/Yogini.h"

#include <gtest/gtest.h>

namespace {

using namespace halvaro;
using namespace halvaro::vedic;

// A birth as the Moon enters Ashwini: the Ketu maha dasha runs whole from
// birth. Years of 360 days, as the printed dasha tables count them.
constexpr double Birth = 2451545.0;
constexpr double Year = 360;

double Days(const DashaPeriod& period)
{
    return period.EndJulianDay - period.StartJulianDay;
}

// A pratyantar lasts maha x antar x pratyantar years / 120 / 120 (BPHS, the
// antardasha and pratyantardasha chapters), worked by hand in days of 360:
// Ketu-Ketu-Ketu 7x7x7 = 343 -> 8.575; Venus-Venus-Venus 8000 -> 200 (6 months
// 20 days); Sun-Sun-Sun 216 -> 5.4; Rahu-Jupiter-Saturn 18x16x19 -> 136.8.
TEST(DashaDepth, PratyantarsLastThePublishedProportions)
{
    const std::optional<VimshottariDasha> dasha = VimshottariDashaOf(0.0, Birth, Year);
    ASSERT_TRUE(dasha);
    struct Row {
        std::size_t maha, antar, pratyantar;
        Graha lord;
        double days;
    };
    const Row rows[] {
        {0, 0, 0, Graha::Ketu, 8.575},
        {1, 0, 0, Graha::Venus, 200},
        {2, 0, 0, Graha::Sun, 5.4},
        {5, 1, 1, Graha::Saturn, 136.8},
    };
    for (const Row& row : rows) {
        const DashaPeriod& antar = dasha->Periods[row.maha].Sub[row.antar];
        const auto sub = PratyantarDashas(antar);
        EXPECT_EQ(sub[row.pratyantar].Lord, row.lord) << row.maha;
        EXPECT_NEAR(Days(sub[row.pratyantar]), row.days, 1e-6) << row.maha;
        // From the antar's lord, the nine fill the antar exactly.
        EXPECT_EQ(sub[0].Lord, antar.Lord);
        EXPECT_EQ(sub[0].StartJulianDay, antar.StartJulianDay);
        EXPECT_EQ(sub[8].EndJulianDay, antar.EndJulianDay);
        EXPECT_EQ(sub[8].End, antar.End);
    }
    // Ten days in, Ketu-Ketu-Ketu (8.575 days) is over: Ketu-Ketu-Venus runs.
    const std::optional<RunningDasha> running = RunningAt(*dasha, Birth + 10);
    ASSERT_TRUE(running);
    EXPECT_EQ(running->Maha * 100 + running->Antar * 10 + running->Pratyantar, 1U);
}

// The first yogini: the nakshatra's number plus three, its remainder by eight
// counted from Mangala (1) to Sankata (0). Worked by hand from that rule.
TEST(DashaDepth, YoginiStartsFromTheMoonsNakshatra)
{
    struct Row {
        int nakshatra;
        std::string_view yogini;
    };
    const Row rows[] {{1, "Bhramari"}, {5, "Sankata"}, {6, "Mangala"}, {10, "Bhadrika"}, {27, "Ulka"}};
    for (const Row& row : rows) {
        EXPECT_EQ(YoginiTable[FirstYoginiOf(row.nakshatra)].Name, row.yogini) << row.nakshatra;
    }
}

// Bhramari (4 years) whole from birth; its antars last 4 x years / 36: its
// own 4x4/36 years = 160 days, Bhadrika's 4x5/36 = 200 days; a round of the
// eight is 36 years.
TEST(DashaDepth, YoginiPeriodsAndAntars)
{
    const std::optional<YoginiDasha> dasha = YoginiDashaOf(0.0, Birth, Year);
    ASSERT_TRUE(dasha);
    const YoginiMaha& first = dasha->Periods[0];
    EXPECT_EQ(YoginiTable[first.Period.Yogini].Name, "Bhramari");
    EXPECT_DOUBLE_EQ(first.Period.StartJulianDay, Birth);
    EXPECT_DOUBLE_EQ(dasha->BalanceYears, 4);
    EXPECT_NEAR(first.Sub[0].EndJulianDay - first.Sub[0].StartJulianDay, 160, 1e-6);
    EXPECT_EQ(YoginiTable[first.Sub[1].Yogini].Name, "Bhadrika");
    EXPECT_NEAR(first.Sub[1].EndJulianDay - first.Sub[1].StartJulianDay, 200, 1e-6);
    EXPECT_EQ(first.Sub[7].EndJulianDay, first.Period.EndJulianDay);
    EXPECT_NEAR(dasha->Periods[YoginiCount].Period.StartJulianDay - Birth, YoginiCycleYears * Year, 1e-6);
    EXPECT_FALSE(YoginiDashaOf(0.0, Birth, 0));
}

} // namespace
