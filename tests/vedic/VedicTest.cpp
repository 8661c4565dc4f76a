#include "vedic/DetailsText.h"
#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace halvaro;
using namespace halvaro::vedic;

// The Julian day (UT) of a civil moment, through the standard calendar.
double JulianDay(int year, unsigned month, unsigned day, double hours = 0)
{
    const std::chrono::sys_days date = std::chrono::year {year} / month / day;
    return 2440587.5 + static_cast<double>(date.time_since_epoch().count()) + hours / 24;
}

struct PlaceRow {
    const char* longitude;
    int sign, degrees, minutes, seconds, nakshatra, pada;
    Graha lord;
    int navamsa;
};

void PrintTo(const PlaceRow& row, std::ostream* os) { *os << row.longitude; }

class ZodiacPlaceTest : public ::testing::TestWithParam<PlaceRow> {};

TEST_P(ZodiacPlaceTest, AgreesWithTheIndependentTable)
{
    const PlaceRow& row = GetParam();
    const std::optional<ZodiacPlace> place = ZodiacPlaceOf(std::stod(row.longitude));
    ASSERT_TRUE(place);
    // The table numbers the signs 1 to 12.
    EXPECT_EQ((std::array {place->Rasi.Sign + 1, place->Rasi.Degrees, place->Rasi.Minutes, place->Rasi.Seconds}),
        (std::array {row.sign, row.degrees, row.minutes, row.seconds}));
    EXPECT_EQ((std::array {place->Nakshatra, place->Pada, place->Navamsa + 1}),
        (std::array {row.nakshatra, row.pada, row.navamsa}));
    EXPECT_EQ(place->NakshatraLord, row.lord);
}

// Exact arc-second arithmetic, the Navamsa by the sign-kind rule
// (tests/data/vedic/independent-vedic.py): both sides of nakshatra, pada and
// sign boundaries, a whole turn and beyond.
INSTANTIATE_TEST_SUITE_P(Boundaries, ZodiacPlaceTest,
    ::testing::Values(PlaceRow {"0", 1, 0, 0, 0, 1, 1, Graha::Ketu, 1},
        PlaceRow {"13.3333", 1, 13, 19, 59, 1, 4, Graha::Ketu, 4},
        PlaceRow {"13.3334", 1, 13, 20, 0, 2, 1, Graha::Venus, 5},
        PlaceRow {"3.3333", 1, 3, 19, 59, 1, 1, Graha::Ketu, 1},
        PlaceRow {"3.3334", 1, 3, 20, 0, 1, 2, Graha::Ketu, 2},
        PlaceRow {"29.9999", 1, 29, 59, 59, 3, 1, Graha::Sun, 9},
        PlaceRow {"30.0001", 2, 0, 0, 0, 3, 2, Graha::Sun, 10},
        PlaceRow {"133.3333", 5, 13, 19, 59, 10, 4, Graha::Ketu, 4},
        PlaceRow {"133.3334", 5, 13, 20, 0, 11, 1, Graha::Venus, 5},
        PlaceRow {"266.6666", 9, 26, 39, 59, 20, 4, Graha::Venus, 8},
        PlaceRow {"266.6667", 9, 26, 40, 0, 21, 1, Graha::Sun, 9},
        PlaceRow {"359.9999", 12, 29, 59, 59, 27, 4, Graha::Mercury, 12},
        PlaceRow {"360", 1, 0, 0, 0, 1, 1, Graha::Ketu, 1},
        PlaceRow {"-0.0001", 12, 29, 59, 59, 27, 4, Graha::Mercury, 12},
        PlaceRow {"725.5", 1, 5, 30, 0, 1, 2, Graha::Ketu, 2}),
    [](const auto& row) {
        std::string name = std::string("At") + row.param.longitude;
        for (char& c : name) {
            c = c == '.' ? '_' : (c == '-' ? 'M' : c);
        }
        return name;
    });

TEST(ZodiacPlace, NoPlaceForALongitudeThatIsNotFinite)
{
    EXPECT_FALSE(ZodiacPlaceOf(std::nan("")));
    EXPECT_FALSE(ZodiacPlaceOf(HUGE_VAL));
}

struct DignityRow {
    Graha graha;
    double longitude;
    Dignity dignity;
};

TEST(DignityOf, FollowsTheClassicalTable)
{
    // The table of exaltation, moolatrikona and own signs with the Moon's and
    // Mercury's splits, as the classical texts give it, at and around its cuts.
    const DignityRow rows[] = {
        {Graha::Sun, 10, Dignity::Exalted}, {Graha::Sun, 190, Dignity::Debilitated},
        {Graha::Sun, 139.99, Dignity::Moolatrikona}, {Graha::Sun, 140, Dignity::Own}, {Graha::Sun, 60, Dignity::None},
        {Graha::Moon, 32.99, Dignity::Exalted}, {Graha::Moon, 33, Dignity::Moolatrikona},
        {Graha::Moon, 210, Dignity::Debilitated}, {Graha::Moon, 100, Dignity::Own},
        {Graha::Mercury, 164.99, Dignity::Exalted}, {Graha::Mercury, 165, Dignity::Moolatrikona},
        {Graha::Mercury, 170, Dignity::Own}, {Graha::Mercury, 75, Dignity::Own},
        {Graha::Mercury, 345, Dignity::Debilitated}, {Graha::Venus, 345, Dignity::Exalted},
        {Graha::Venus, 185, Dignity::Moolatrikona}, {Graha::Venus, 195, Dignity::Own},
        {Graha::Venus, 40, Dignity::Own}, {Graha::Venus, 165, Dignity::Debilitated},
        {Graha::Mars, 280, Dignity::Exalted}, {Graha::Mars, 100, Dignity::Debilitated},
        {Graha::Mars, 11.99, Dignity::Moolatrikona}, {Graha::Mars, 12, Dignity::Own}, {Graha::Mars, 220, Dignity::Own},
        {Graha::Jupiter, 95, Dignity::Exalted}, {Graha::Jupiter, 275, Dignity::Debilitated},
        {Graha::Jupiter, 245, Dignity::Moolatrikona}, {Graha::Jupiter, 250, Dignity::Own},
        {Graha::Jupiter, 350, Dignity::Own}, {Graha::Saturn, 190, Dignity::Exalted},
        {Graha::Saturn, 10, Dignity::Debilitated}, {Graha::Saturn, 305, Dignity::Moolatrikona},
        {Graha::Saturn, 320, Dignity::Own}, {Graha::Saturn, 280, Dignity::Own}, {Graha::Rahu, 40, Dignity::None},
        {Graha::Ketu, 220, Dignity::None},
    };
    for (const DignityRow& row : rows) {
        EXPECT_EQ(DignityName(DignityOf(row.graha, row.longitude)), DignityName(row.dignity))
            << NamesOf(row.graha).Plain << " at " << row.longitude;
    }
}

TEST(DailyMotions, CentralDifferenceOfASkyGivesItsSpeeds)
{
    // A sky whose grahas move uniformly; Venus crosses 0° backwards, the Moon
    // crosses it forwards, between the two sample moments.
    const GrahaLongitudes start {10, 359.9, 50, 0.1, 200, 300, 100, 180, 0};
    const GrahaLongitudes speed {0.98, 13.2, 1.5, -0.6, 0.7, -0.1, 0.03, -0.053, -0.053};
    const double moment = JulianDay(1975, 6, 15, 5);
    const auto sky = [&](double jd) {
        GrahaLongitudes at {};
        for (std::size_t g = 0; g < at.size(); ++g) {
            at[g] = std::fmod(start[g] + speed[g] * (jd - moment) + 720, 360);
        }
        return at;
    };
    const std::optional<GrahaLongitudes> motions =
        DailyMotions(sky(moment - MotionHalfStepDays), sky(moment + MotionHalfStepDays));
    ASSERT_TRUE(motions);
    for (std::size_t g = 0; g < speed.size(); ++g) {
        EXPECT_NEAR((*motions)[g], speed[g], 1e-9) << NamesOf(static_cast<Graha>(g)).Plain;
    }
    GrahaLongitudes broken = sky(moment);
    broken[3] = std::nan("");
    EXPECT_FALSE(DailyMotions(sky(moment), broken));
    // The Sun and Moon never retrograde, the mean nodes always, the others by their sign.
    EXPECT_EQ((std::array {IsRetrograde(Graha::Sun, -1), IsRetrograde(Graha::Venus, -0.6),
                  IsRetrograde(Graha::Mars, 0.7), IsRetrograde(Graha::Rahu, 0.1), IsRetrograde(Graha::Ketu, 0)}),
        (std::array {false, true, false, true, true}));
}

struct DashaRow {
    std::size_t maha, antar; // antar 9: the maha dasha itself
    Graha lord;
    const char* start;
    const char* end;
};

void ExpectPeriods(const VimshottariDasha& dasha, std::initializer_list<DashaRow> rows)
{
    for (const DashaRow& row : rows) {
        const MahaDasha& maha = dasha.Periods[row.maha];
        const DashaPeriod& period = row.antar == 9 ? maha.Period : maha.Sub[row.antar];
        EXPECT_EQ(NamesOf(period.Lord).Plain, NamesOf(row.lord).Plain) << row.maha << "/" << row.antar;
        EXPECT_EQ(DateText(period.Start) + " " + DateText(period.End), std::string(row.start) + " " + row.end)
            << NamesOf(maha.Period.Lord).Plain << "/" << NamesOf(period.Lord).Plain;
    }
}

// The dasha year of the worked examples and the independent evaluation.
constexpr double JulianYearDays = 365.25;

TEST(Vimshottari, AcrossLeapDays)
{
    // Moon at 0° Ashwini, born 1993-02-28 12:00 UT: Ketu's whole seven years
    // end on the leap day 2000-02-29 06:00 UT (tests/data/vedic/independent-vedic.py).
    const std::optional<VimshottariDasha> dasha = VimshottariDashaOf(0, JulianDay(1993, 2, 28, 12), JulianYearDays);
    ASSERT_TRUE(dasha);
    EXPECT_EQ((std::array {dasha->Balance.WholeYears, dasha->Balance.Months, dasha->Balance.Days}),
        (std::array {7, 0, 1}));
    ExpectPeriods(*dasha,
        {{0, 9, Graha::Ketu, "1993-02-28", "2000-02-29"}, {0, 8, Graha::Mercury, "1999-03-04", "2000-02-29"},
            {1, 9, Graha::Venus, "2000-02-29", "2020-02-29"}, {1, 6, Graha::Saturn, "2012-12-29", "2016-02-29"},
            {2, 8, Graha::Venus, "2025-02-28", "2026-02-28"}, {5, 9, Graha::Rahu, "2043-03-01", "2061-02-28"},
            {6, 9, Graha::Jupiter, "2061-02-28", "2077-02-28"}, {8, 9, Graha::Mercury, "2096-02-29", "2113-03-01"}});
    const std::optional<RunningDasha> running = RunningAt(*dasha, JulianDay(2016, 2, 29, 5));
    ASSERT_TRUE(running);
    EXPECT_EQ(dasha->Periods[running->Maha].Sub[running->Antar].Lord, Graha::Saturn);
    EXPECT_FALSE(RunningAt(*dasha, JulianDay(2113, 3, 2)));
}

TEST(Vimshottari, PublishedBalance)
{
    // A published worked example (saravali.de, "Dasa Balance"): born
    // 1935-07-06 05:38:16 UT, the Moon 0.54631589 of its way through Purva
    // Phalguni, so Venus runs at birth and the Sun's dasha begins on
    // 1944-08-01. Here by the Moon's longitude, 133°20' + 0.54631589 x 13°20'.
    const double moon = 400.0 / 3 + 0.54631589 * 40 / 3;
    const std::optional<VimshottariDasha> dasha = VimshottariDashaOf(moon, JulianDay(1935, 7, 6, 5 + 38 / 60.0 + 16 / 3600.0), JulianYearDays);
    ASSERT_TRUE(dasha);
    EXPECT_EQ(dasha->Balance.Lord, Graha::Venus);
    EXPECT_NEAR(dasha->Balance.Years, 20 * (1 - 0.54631589), 1e-9);
    // 9 years and 26 days from 1935-07-06 is 1944-08-01.
    EXPECT_EQ((std::array {dasha->Balance.WholeYears, dasha->Balance.Months, dasha->Balance.Days}),
        (std::array {9, 0, 26}));
    ExpectPeriods(*dasha, {{1, 9, Graha::Sun, "1944-08-01", "1950-08-01"}});
    EXPECT_FALSE(VimshottariDashaOf(std::nan(""), 2442578.5, JulianYearDays));
}

TEST(DetailsText, PositionsAndDashaTable)
{
    // The New Delhi example's Moon, 11°08' Simha (Magha, pada 4, Ketu; Navamsa
    // Kataka), born 1975-06-15 05:00 UT: Ketu's balance ends 1976-08-10
    // (tests/data/vedic/independent-vedic.py); on 2020-01-01 Rahu/Rahu runs.
    // The table's Moon stands two seconds on, clear of the truncation.
    GrahaLongitudes longitudes {60.32, 131.134, 62.5, 95, 340, 345, 80, 215.4, 35.4};
    const std::optional<ReadingDetails> details = ReadingDetailsOf(longitudes, 125.9, std::nullopt);
    const std::optional<VimshottariDasha> dasha = VimshottariDashaOf(131 + 8.0 / 60, JulianDay(1975, 6, 15, 5), JulianYearDays);
    ASSERT_TRUE(details && dasha);
    const std::string text = DetailsText(*details, *dasha, JulianDay(2020, 1, 1));
    for (const char* line : {
             "Moon    11\xC2\xB0 08' 02\" Simha       Magha              4     Ketu     Kataka\n",
             "Rahu    05\xC2\xB0 24' 00\" Vrischika   Anuradha           1     Saturn   Simha                    R\n",
             "Lagna   05\xC2\xB0 54' 00\" Simha       Magha              2     Ketu     Vrishabha\n",
             "Vimshottari dasha (dates in Universal Time; a year is 365.25 days)\n"
             "Balance at birth: Ketu, 1 year 1 month 26 days\n",
             "Ketu        1969-08-10  1976-08-10\n",
             "Rahu        2019-08-10  2037-08-10  <- today, antar dasha Rahu to 2022-04-22\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nnot in\n" << text;
    }
}

} // namespace
