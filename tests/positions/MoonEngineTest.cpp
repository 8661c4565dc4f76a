#include "ephemeris/MoonEngine.h"
#include "ReferenceChecks.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

namespace E = halvaro::modVedicEphemeris;
using halvaro::testing::AgreesWithPrinted;
using halvaro::testing::Birth;

struct CorrectionCase {
    const char* name;
    double centuries;
    const char* degrees;
};

class SiderealCorrectionTest : public ::testing::TestWithParam<CorrectionCase> {};
void PrintTo(const CorrectionCase& c, std::ostream* os) { *os << c.name; }

TEST_P(SiderealCorrectionTest, AgreesWithTheReferenceDigits)
{
    EXPECT_TRUE(AgreesWithPrinted(E::SiderealCorrection(GetParam().centuries), GetParam().degrees, "arc-seconds", 3600));
}

// The classic model's worked values of the engine's correction at J2000, 1950 and 2025.
INSTANTIATE_TEST_SUITE_P(Centuries, SiderealCorrectionTest,
    ::testing::Values(CorrectionCase {"J2000", 0.0, "-23.85372571352"},
        CorrectionCase {"Year1950", -0.5, "-23.15871174756"}, CorrectionCase {"Year2025", 0.25, "-24.20653978751"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LunarLongitudeSeries, SumsTheTermsAtJ2000)
{
    // Reference sum of the 25 terms at T = 0.
    EXPECT_TRUE(AgreesWithPrinted(E::LunarLongitudeSeries(0), "4.9996438160", "arc-seconds", 3600));
}

struct MoonCase {
    Birth birth;
    double universalHours;
    double dayNumber;
    const char* centuries;      // empty: not given
    const char* tropicalDeg;    // empty: not given
    const char* siderealDeg;    // empty: not given
    const char* text;
};

class ComputeEphemerisTest : public ::testing::TestWithParam<MoonCase> {};
void PrintTo(const MoonCase& c, std::ostream* os) { *os << c.birth.name; }

TEST_P(ComputeEphemerisTest, FindsTheWorkedMoon)
{
    const MoonCase& c = GetParam();
    const halvaro::BirthMoment moment = halvaro::testing::MomentOf(c.birth);
    EXPECT_EQ(moment.UniversalHours, c.universalHours);
    EXPECT_EQ(moment.JulianDayNumber, c.dayNumber);
    const double t = E::CenturiesSinceJ2000(moment.JulianDayNumber, moment.UniversalHours);
    if (*c.centuries != '\0') {
        EXPECT_TRUE(AgreesWithPrinted(t, c.centuries, "centuries"));
    }
    const E::MoonPosition moon = E::ComputeEphemeris(moment);
    if (*c.tropicalDeg != '\0') {
        // λ is the sidereal longitude less the (negative) correction here.
        EXPECT_TRUE(AgreesWithPrinted(moon.Longitude - E::SiderealCorrection(t), c.tropicalDeg, "arc-seconds", 3600));
    }
    if (*c.siderealDeg != '\0') {
        EXPECT_TRUE(AgreesWithPrinted(moon.Longitude, c.siderealDeg, "arc-seconds", 3600));
    }
    EXPECT_EQ(moon.MoonPositionText.view(), c.text);
}

// The worked Moons; at 22:45 under a zone of +3 Universal Time is 25.75 hours
// of the civil date, which is not carried.
INSTANTIATE_TEST_SUITE_P(WorkedBirths, ComputeEphemerisTest,
    ::testing::Values(MoonCase {halvaro::testing::Greenwich2000Birth(), 12.0, 2451545, "0.0", "223.31610291",
                          "199.4623772024", "19\xC2\xB0 27' 44\" Lib"},
        MoonCase {halvaro::testing::Delhi1975Birth(), 5.0, 2442579, "-0.2454836869", "154.65191814", "131.1335120017",
            "11\xC2\xB0 8' 0\" Leo"},
        MoonCase {halvaro::testing::WestEvening1990, 25.75, 2447961, "", "", "", "22\xC2\xB0 3' 33\" Leo"}),
    [](const auto& row) { return std::string(row.param.birth.name); });

} // namespace
