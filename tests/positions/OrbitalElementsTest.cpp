#include "positions/OrbitalElements.h"
#include "ReferenceChecks.h"

#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

namespace P = halvaro::modVedicPlanetPosition;
using halvaro::testing::AgreesWithPrinted;

struct DayCase {
    const char* name;
    int year, month, day, hour, minute;
    double dayNumber;
};

class DayNumberTest : public ::testing::TestWithParam<DayCase> {};
void PrintTo(const DayCase& c, std::ostream* os) { *os << c.name; }

TEST_P(DayNumberTest, CountsDaysFromJ2000)
{
    const DayCase& c = GetParam();
    EXPECT_DOUBLE_EQ(P::DayNumber(c.year, c.month, c.day, c.hour, c.minute), c.dayNumber);
}

// Days from 2000 January 1, 12:00 UT, counted on the calendar.
INSTANTIATE_TEST_SUITE_P(CalendarDays, DayNumberTest,
    ::testing::Values(DayCase {"J2000", 2000, 1, 1, 12, 0, 0.0}, DayCase {"Midnight", 2000, 1, 1, 0, 0, -0.5},
        DayCase {"YearBefore", 1999, 12, 31, 0, 0, -1.5}, DayCase {"AfterLeapDay", 2000, 3, 1, 0, 0, 59.5},
        DayCase {"Birth1975", 1975, 6, 15, 5, 0, -8966.0 - 7.0 / 24},
        DayCase {"Birth1990", 1990, 7, 4, 13, 0, -3467.0 - 23.0 / 24}),
    [](const auto& row) { return std::string(row.param.name); });

struct UnaryCase {
    const char* name;
    double x, second;
    double expected;
};

class NormalizeRadiansTest : public ::testing::TestWithParam<UnaryCase> {};
void PrintTo(const UnaryCase& c, std::ostream* os) { *os << c.name; }

TEST_P(NormalizeRadiansTest, ReducesIntoOneTurn)
{
    EXPECT_NEAR(P::NormalizeRadians(GetParam().x), GetParam().expected, 1e-14) << "x " << GetParam().x;
}

// One turn is the 15-digit 2π, 6.28318530717958.
INSTANTIATE_TEST_SUITE_P(Turns, NormalizeRadiansTest,
    ::testing::Values(UnaryCase {"MinusOne", -1, 0, 5.28318530717958}, UnaryCase {"Seven", 7, 0, 7 - 6.28318530717958},
        UnaryCase {"Zero", 0, 0, 0}, UnaryCase {"OneTurn", 6.28318530717958, 0, 0},
        UnaryCase {"ManyTurnsBack", -3 * 6.28318530717958 - 0.5, 0, 6.28318530717958 - 0.5}),
    [](const auto& row) { return std::string(row.param.name); });

class TrueAnomalyTest : public ::testing::TestWithParam<UnaryCase> {};

TEST_P(TrueAnomalyTest, SolvesKeplersEquation)
{
    const UnaryCase& c = GetParam();
    EXPECT_NEAR(P::TrueAnomaly(c.x, c.second), c.expected, 1e-5) << "mean anomaly " << c.x << ", e " << c.second;
}

// Reference anomalies of an orbit of eccentricity 0.2.
INSTANTIATE_TEST_SUITE_P(Orbits, TrueAnomalyTest,
    ::testing::Values(UnaryCase {"OneRadian", 1, 0.2, 1.37932}, UnaryCase {"ThreeRadians", 3, 0.2, 3.04518}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TrueAnomaly, IsZeroAtPerihelionForEveryTableOrbit)
{
    for (const P::OrbitalElementRow& row : P::OrbitalElementTable) {
        EXPECT_EQ(P::TrueAnomaly(0, row.eBase), 0.0) << "e " << row.eBase;
    }
}

struct ArcTangentCase {
    const char* name;
    double y, x;
    double expected;
};

class QuadrantArcTangentTest : public ::testing::TestWithParam<ArcTangentCase> {};
void PrintTo(const ArcTangentCase& c, std::ostream* os) { *os << c.name; }

TEST_P(QuadrantArcTangentTest, FindsTheQuadrant)
{
    const ArcTangentCase& c = GetParam();
    EXPECT_NEAR(P::QuadrantArcTangent(c.y, c.x), c.expected, 1e-14) << "y " << c.y << ", x " << c.x;
}

// Directions of the axes and diagonals, π being the 15-digit 3.14159265358979.
INSTANTIATE_TEST_SUITE_P(Directions, QuadrantArcTangentTest,
    ::testing::Values(ArcTangentCase {"Origin", 0, 0, 0}, ArcTangentCase {"PositiveX", 0, 1, 0},
        ArcTangentCase {"PositiveY", 1, 0, 3.14159265358979 / 2}, ArcTangentCase {"NegativeY", -1, 0, -3.14159265358979 / 2},
        ArcTangentCase {"NegativeX", 0, -1, 3.14159265358979}, ArcTangentCase {"FirstDiagonal", 1, 1, 0.785398163397448},
        ArcTangentCase {"SecondDiagonal", 1, -1, 3.14159265358979 - 0.785398163397448},
        ArcTangentCase {"ThirdDiagonal", -1, -1, -(3.14159265358979 - 0.785398163397448)},
        ArcTangentCase {"FourthDiagonal", -1, 1, -0.785398163397448}),
    [](const auto& row) { return std::string(row.param.name); });

using G = halvaro::Graha;

struct LongitudeCase {
    const char* name;
    G body;
    double dayNumber;
    const char* longitudeDeg;
};

class TropicalLongitudeTest : public ::testing::TestWithParam<LongitudeCase> {};
void PrintTo(const LongitudeCase& c, std::ostream* os) { *os << c.name; }

TEST_P(TropicalLongitudeTest, AgreesWithTheReferenceDigits)
{
    const LongitudeCase& c = GetParam();
    std::array<double, halvaro::GrahaCount> longitudes {};
    ASSERT_TRUE(P::GeocentricLongitudes(c.dayNumber, longitudes));
    EXPECT_TRUE(AgreesWithPrinted(longitudes[halvaro::IndexOf(c.body)], c.longitudeDeg, "arc-seconds", 3600))
        << c.name << " at day " << c.dayNumber;
}

constexpr double Day1975 = -8966.0 - 7.0 / 24; // 1975 June 15, 5:00 UT

// Reference geocentric tropical longitudes at J2000 and at the 1975 birth.
INSTANTIATE_TEST_SUITE_P(TwoMoments, TropicalLongitudeTest,
    ::testing::Values(LongitudeCase {"Mercury2000", G::Mercury, 0, "271.90602"},
        LongitudeCase {"Venus2000", G::Venus, 0, "241.57807"}, LongitudeCase {"Sun2000", G::Sun, 0, "280.37963"},
        LongitudeCase {"Mars2000", G::Mars, 0, "327.98280"}, LongitudeCase {"Jupiter2000", G::Jupiter, 0, "25.36113"},
        LongitudeCase {"Saturn2000", G::Saturn, 0, "40.21466"},
        LongitudeCase {"Mercury1975", G::Mercury, Day1975, "77.22830"},
        LongitudeCase {"Venus1975", G::Venus, Day1975, "129.15288"},
        LongitudeCase {"Sun1975", G::Sun, Day1975, "83.83780"},
        LongitudeCase {"Mars1975", G::Mars, Day1975, "18.83365"},
        LongitudeCase {"Jupiter1975", G::Jupiter, Day1975, "19.53484"},
        LongitudeCase {"Saturn1975", G::Saturn, Day1975, "109.06790"}),
    [](const auto& row) { return std::string(row.param.name); });

// Nothing from an orbit that is not an ellipse or a day that is not a number.
TEST(OrbitalElements, NothingFromWhatIsNotAnOrbitOrADay)
{
    EXPECT_TRUE(std::isnan(P::TrueAnomaly(2, 1.5)));
    std::array<double, halvaro::GrahaCount> longitudes {};
    EXPECT_FALSE(P::GeocentricLongitudes(std::nan(""), longitudes));
}

} // namespace
