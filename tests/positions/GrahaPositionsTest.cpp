#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/GrahaPositions.h"
#include "core/SignPosition.h"
#include "positions/OrbitalElements.h"
#include "ReferenceChecks.h"

#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cmath>
#include <random>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace P = halvaro::modVedicPlanetPosition;
namespace E = halvaro::modVedicEphemeris;
using halvaro::testing::Birth;

void RunPositionSteps(const Birth& birth)
{
    halvaro::testing::WriteRecord(birth);
    P::ComputeAyanamsa();
    E::ComputeEphemeris();
    P::ComputeGrahaPositions();
}

struct ReadingCase {
    Birth birth;
    std::array<const char*, 8> shortTexts; // Sun .. Rahu; an empty Moon is not given
};

class WorkedReadingTest : public ::testing::TestWithParam<ReadingCase> {};
void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.birth.name; }

TEST_P(WorkedReadingTest, GivesTheEightShortTexts)
{
    RunPositionSteps(GetParam().birth);
    for (std::size_t graha = 0; graha < P::GrahaCount; ++graha) {
        const std::string_view expected = GetParam().shortTexts[graha];
        if (expected.empty()) {
            EXPECT_EQ(P::GrahaPositionTexts[graha], P::ShortPositionText(E::MoonPositionText));
        } else {
            EXPECT_EQ(P::GrahaPositionTexts[graha].view(), expected) << P::GrahaNames[graha];
        }
    }
}

// The short texts of the three worked readings (the 1990 summer Moon is not given).
INSTANTIATE_TEST_SUITE_P(WorkedBirths, WorkedReadingTest,
    ::testing::Values(ReadingCase {halvaro::testing::Greenwich2000Birth(),
                          {"16 Sag 31", "19 Lib 27", "08 Sag 03", "07 Sco 43", "04 Aqu 07", "01 Ari 30", "16 Ari 21", "10 Can 16"}},
        ReadingCase {halvaro::testing::Delhi1975Birth(),
            {"00 Gem 19", "11 Leo 08", "23 Tau 42", "15 Can 38", "25 Pis 18", "26 Pis 00", "25 Gem 32", "05 Sco 24"}},
        ReadingCase {halvaro::testing::WestSummer1990Birth(),
            {"18 Gem 42", "", "20 Gem 55", "17 Tau 43", "00 Ari 53", "26 Gem 32", "29 Sag 03", "14 Cap 02"}}),
    [](const auto& info) { return std::string(info.param.birth.name); });

class SameMomentTest : public ::testing::TestWithParam<Birth> {};

// The ayanamsa, the Moon and the planets must describe one moment, the one
// the zone's own sign gives; a day number of 1e-6 is a tenth of a second.
TEST_P(SameMomentTest, AyanamsaMoonAndPlanetsUseOneMoment)
{
    RunPositionSteps(GetParam());
    const Birth& b = GetParam();
    const P::CivilDateTime ut = P::UniversalBirthTime(
        b.year, b.month, b.day, b.hour, b.minute, b.zoneHourCorrection, b.zoneMinuteCorrection, b.daylightSaving);
    EXPECT_EQ(P::GrahaDayNumber, P::DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute));
    EXPECT_NEAR(P::CenturiesSince1900 * 36525 - 36525, P::GrahaDayNumber, 1e-6);
    EXPECT_NEAR(E::T * 36525, P::GrahaDayNumber, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(WorkedAndDisagreeing, SameMomentTest,
    ::testing::Values(halvaro::testing::Greenwich2000Birth(), halvaro::testing::Delhi1975Birth(),
        halvaro::testing::WestSummer1990Birth(), halvaro::testing::WestEvening1990, halvaro::testing::MadridCet1990,
        Birth {"LondonSummer", 1985, 7, 1, 0, 30, -1, 0, 0, 7, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct CarryCase {
    const char* name;
    int year, month, day, hour, minute, zoneHours, zoneMinutes;
    bool daylightSaving;
    P::CivilDateTime expected;
};

class UniversalBirthTimeTest : public ::testing::TestWithParam<CarryCase> {};
void PrintTo(const CarryCase& c, std::ostream* os) { *os << c.name; }

TEST_P(UniversalBirthTimeTest, CarriesIntoDayMonthAndYear)
{
    const CarryCase& c = GetParam();
    const P::CivilDateTime ut =
        P::UniversalBirthTime(c.year, c.month, c.day, c.hour, c.minute, c.zoneHours, c.zoneMinutes, c.daylightSaving);
    const auto& e = c.expected;
    EXPECT_TRUE(ut.Year == e.Year && ut.Month == e.Month && ut.Day == e.Day && ut.Hour == e.Hour && ut.Minute == e.Minute)
        << "got " << ut.Year << '-' << ut.Month << '-' << ut.Day << ' ' << ut.Hour << ':' << ut.Minute;
}

// Calendar arithmetic on the Gregorian calendar (2000 is a leap year, 1999
// and 2100 are not).
INSTANTIATE_TEST_SUITE_P(Carrying, UniversalBirthTimeTest,
    ::testing::Values(CarryCase {"SameDay", 1975, 6, 15, 10, 30, -5, -30, false, {1975, 6, 15, 5, 0}},
        CarryCase {"PastMidnight", 1990, 3, 10, 22, 45, 3, 0, false, {1990, 3, 11, 1, 45}},
        CarryCase {"BackOverYearEnd", 2000, 1, 1, 3, 0, -5, -30, false, {1999, 12, 31, 21, 30}},
        CarryCase {"OnOverYearEnd", 1975, 12, 31, 14, 0, 10, 30, false, {1976, 1, 1, 0, 30}},
        CarryCase {"OnToLeapDay", 2000, 2, 28, 23, 0, 2, 0, false, {2000, 2, 29, 1, 0}},
        CarryCase {"BackToLeapDay", 2000, 3, 1, 1, 0, -5, 0, false, {2000, 2, 29, 20, 0}},
        CarryCase {"BackToFebruary28", 1999, 3, 1, 1, 0, -5, 0, false, {1999, 2, 28, 20, 0}},
        CarryCase {"NoLeapDayIn2100", 2100, 2, 28, 23, 0, 2, 0, false, {2100, 3, 1, 1, 0}},
        CarryCase {"OnOverThirtyDayMonth", 1990, 4, 30, 23, 30, 0, 30, false, {1990, 5, 1, 0, 0}},
        CarryCase {"SummerHourBackOverMidnight", 1990, 7, 1, 0, 30, 0, 0, true, {1990, 6, 30, 23, 30}},
        CarryCase {"SummerHourWest", 1990, 7, 4, 9, 0, 5, 0, true, {1990, 7, 4, 13, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed step ends the procedure; what it wrote before stays, the rest
// keeps the previous reading.
class FailedStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunPositionSteps(halvaro::testing::Delhi1975Birth());
        P::BodyPositionTexts.fill(Earlier);
        P::RahuPositionText = Earlier;
        P::GrahaPositionTexts.fill(Earlier);
        P::GrahaNames.fill("");
    }
    void TearDown() override { E::MoonPositionText = std::string_view("11\xC2\xB0 8' 0\" Leo"); }

    static constexpr std::string_view Earlier = "earlier";
};

TEST_F(FailedStepTest, AMoonTextWithoutDegreeSignStopsAfterTheSun)
{
    halvaro::testing::WriteRecord(halvaro::testing::Greenwich2000Birth());
    P::ComputeAyanamsa();
    E::MoonPositionText.clear(); // as before the first successful Moon
    P::ComputeGrahaPositions();
    EXPECT_EQ(P::GrahaNames[7], "North Node");
    EXPECT_EQ(P::ShortPositionText(P::RahuPositionText).view(), "10 Can 16");
    EXPECT_EQ(P::ShortPositionText(P::BodyPositionTexts[P::Saturn]).view(), "16 Ari 21");
    EXPECT_EQ(P::GrahaPositionTexts[0].view(), "16 Sag 31");
    for (std::size_t graha = 1; graha < P::GrahaCount; ++graha) {
        EXPECT_EQ(P::GrahaPositionTexts[graha].view(), "earlier") << graha;
    }
}

TEST_F(FailedStepTest, AnAyanamsaThatIsNotANumberStopsBeforeTheFirstBody)
{
    P::Ayanamsa = std::nan("");
    P::ComputeGrahaPositions();
    EXPECT_EQ(P::GrahaNames[0], "Sun");
    for (const auto& text : P::BodyPositionTexts) {
        EXPECT_EQ(text.view(), "earlier");
    }
    EXPECT_EQ(P::RahuPositionText.view(), "earlier");
    EXPECT_EQ(P::GrahaPositionTexts[0].view(), "earlier");
}

TEST_F(FailedStepTest, ADateThatDoesNotExistStopsAfterTheNames)
{
    halvaro::testing::WriteRecord(Birth {"February30", 1990, 2, 30, 12, 0, 0, 0, 0, 0, false, false});
    const double dayBefore = P::GrahaDayNumber;
    P::ComputeGrahaPositions();
    EXPECT_EQ(P::GrahaVedicNames[7], "Rahu");
    EXPECT_EQ(P::GrahaDayNumber, dayBefore);
    EXPECT_EQ(P::RahuPositionText.view(), "earlier");
}

// The short text made from the numbers is the short form of the long text,
// at the edges of a sign and a minute and over random longitudes.
TEST(ShortSignPosition, IsTheShortFormOfTheLongText)
{
    std::vector<double> longitudes {0.0, -0.0, 29.999999999999996, 30.0, 59.99999999, 359.99999999999994, 360.0, 7.5,
        -45.25, std::nan(""), std::numeric_limits<double>::infinity()};
    std::mt19937_64 random(1975);
    std::uniform_real_distribution<double> anywhere(0.0, 360.0);
    for (int i = 0; i < 100000; ++i) {
        longitudes.push_back(anywhere(random));
    }
    for (const double x : longitudes) {
        ASSERT_EQ(P::ShortSignPosition(x).view(), P::ShortPositionText(P::FormatSignPosition(x)).view()) << x;
    }
}

} // namespace
