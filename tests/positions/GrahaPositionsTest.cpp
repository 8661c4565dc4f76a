#include "ephemeris/MoonEngine.h"
#include "positions/Ayanamsa.h"
#include "positions/GrahaPositions.h"
#include "positions/OrbitalElements.h"
#include "ReferenceChecks.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

namespace {

namespace P = halvaro::modVedicPlanetPosition;
namespace E = halvaro::modVedicEphemeris;
using halvaro::testing::Birth;
using halvaro::testing::MomentOf;

std::optional<P::GrahaPositions> PositionsOf(const Birth& birth)
{
    const halvaro::BirthMoment moment = MomentOf(birth);
    const double ayanamsa = P::ComputeAyanamsa(moment);
    return P::ComputeGrahaPositions(moment, ayanamsa, E::ComputeEphemeris(moment).Longitude);
}

struct ReadingCase {
    Birth birth;
    std::array<const char*, 8> shortTexts; // Sun .. Rahu; an empty Moon is not given
    const char* ketu;
};

class WorkedReadingTest : public ::testing::TestWithParam<ReadingCase> {};
void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.birth.name; }

TEST_P(WorkedReadingTest, GivesTheEightShortTextsAndKetu)
{
    const auto positions = PositionsOf(GetParam().birth);
    ASSERT_TRUE(positions.has_value());
    for (std::size_t graha = 0; graha < P::GrahaCount; ++graha) {
        const std::string_view expected = GetParam().shortTexts[graha];
        if (!expected.empty()) {
            EXPECT_EQ(positions->GrahaPositionTexts[graha].view(), expected) << halvaro::GrahaNameTable[graha].English;
        }
    }
    const std::size_t ketu = halvaro::IndexOf(halvaro::Graha::Ketu);
    EXPECT_EQ(P::ShortPositionText(positions->Places[ketu]).view(), GetParam().ketu);
}

// The short texts of the three worked readings (the 1990 summer Moon is not
// given); Ketu stands opposite Rahu at the same degrees and minutes.
INSTANTIATE_TEST_SUITE_P(WorkedBirths, WorkedReadingTest,
    ::testing::Values(ReadingCase {halvaro::testing::Greenwich2000Birth(),
                          {"16 Sag 31", "19 Lib 27", "08 Sag 03", "07 Sco 43", "04 Aqu 07", "01 Ari 30", "16 Ari 21",
                              "10 Can 16"},
                          "10 Cap 16"},
        ReadingCase {halvaro::testing::Delhi1975Birth(),
            {"00 Gem 19", "11 Leo 08", "23 Tau 42", "15 Can 38", "25 Pis 18", "26 Pis 00", "25 Gem 32", "05 Sco 24"},
            "05 Tau 24"},
        ReadingCase {halvaro::testing::WestSummer1990Birth(),
            {"18 Gem 42", "", "20 Gem 55", "17 Tau 43", "00 Ari 53", "26 Gem 32", "29 Sag 03", "14 Cap 02"},
            "14 Can 02"}),
    [](const auto& row) { return std::string(row.param.birth.name); });

class SameMomentTest : public ::testing::TestWithParam<Birth> {};

// The planets' day number comes from Universal Time carried into the date,
// the ayanamsa's and the Moon's from hours that are not carried; both must
// describe one moment. A day number of 1e-6 is a tenth of a second.
TEST_P(SameMomentTest, CarriedAndUncarriedTimeAgree)
{
    const halvaro::BirthMoment moment = MomentOf(GetParam());
    const halvaro::CivilDateTime& ut = moment.Universal;
    EXPECT_NEAR(moment.JulianDay - 2451545, P::DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(WorkedAndDisagreeing, SameMomentTest,
    ::testing::Values(halvaro::testing::Greenwich2000Birth(), halvaro::testing::Delhi1975Birth(),
        halvaro::testing::WestSummer1990Birth(), halvaro::testing::WestEvening1990, halvaro::testing::MadridCet1990,
        Birth {"LondonSummer", 1985, 7, 1, 0, 30, -1, 0, 0, 7, false, true}),
    [](const auto& row) { return std::string(row.param.name); });

struct CarryCase {
    const char* name;
    halvaro::CivilDateTime local;
    int utcOffsetMinutes;
    halvaro::CivilDateTime expected;
};

class UniversalBirthTimeTest : public ::testing::TestWithParam<CarryCase> {};
void PrintTo(const CarryCase& c, std::ostream* os) { *os << c.name; }

TEST_P(UniversalBirthTimeTest, CarriesIntoDayMonthAndYear)
{
    const CarryCase& c = GetParam();
    const halvaro::CivilDateTime ut = halvaro::UniversalBirthTime(c.local, c.utcOffsetMinutes);
    const auto& e = c.expected;
    EXPECT_TRUE(ut.Year == e.Year && ut.Month == e.Month && ut.Day == e.Day && ut.Hour == e.Hour && ut.Minute == e.Minute)
        << "got " << ut.Year << '-' << ut.Month << '-' << ut.Day << ' ' << ut.Hour << ':' << ut.Minute;
}

// Calendar arithmetic on the Gregorian calendar (2000 is a leap year, 1999
// and 2100 are not).
INSTANTIATE_TEST_SUITE_P(Carrying, UniversalBirthTimeTest,
    ::testing::Values(CarryCase {"SameDay", {1975, 6, 15, 10, 30}, 330, {1975, 6, 15, 5, 0}},
        CarryCase {"PastMidnight", {1990, 3, 10, 22, 45}, -180, {1990, 3, 11, 1, 45}},
        CarryCase {"BackOverYearEnd", {2000, 1, 1, 3, 0}, 330, {1999, 12, 31, 21, 30}},
        CarryCase {"OnOverYearEnd", {1975, 12, 31, 14, 0}, -630, {1976, 1, 1, 0, 30}},
        CarryCase {"OnToLeapDay", {2000, 2, 28, 23, 0}, -120, {2000, 2, 29, 1, 0}},
        CarryCase {"BackToLeapDay", {2000, 3, 1, 1, 0}, 300, {2000, 2, 29, 20, 0}},
        CarryCase {"BackToFebruary28", {1999, 3, 1, 1, 0}, 300, {1999, 2, 28, 20, 0}},
        CarryCase {"NoLeapDayIn2100", {2100, 2, 28, 23, 0}, -120, {2100, 3, 1, 1, 0}},
        CarryCase {"OnOverThirtyDayMonth", {1990, 4, 30, 23, 30}, -30, {1990, 5, 1, 0, 0}},
        CarryCase {"SummerHourBackOverMidnight", {1990, 7, 1, 0, 30}, 60, {1990, 6, 30, 23, 30}},
        CarryCase {"SummerHourWest", {1990, 7, 4, 9, 0}, -240, {1990, 7, 4, 13, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

// A value that is not finite leaves no positions rather than wrong texts.
TEST(ComputeGrahaPositions, NothingFromAValueThatIsNotFinite)
{
    const halvaro::BirthMoment moment = MomentOf(halvaro::testing::Delhi1975Birth());
    EXPECT_FALSE(P::ComputeGrahaPositions(moment, std::nan(""), 131.0).has_value());
    EXPECT_FALSE(P::ComputeGrahaPositions(moment, -23.5, std::nan("")).has_value());
    std::array<double, P::GrahaCount> longitudes {};
    longitudes[4] = 360.0; // no sign holds it
    EXPECT_FALSE(P::GrahaPositionsOf(longitudes).has_value());
}

} // namespace
