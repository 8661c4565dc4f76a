#include "positions/GrahaPositions.h"
#include "core/SignPosition.h"

#include <gtest/gtest.h>

#include <ostream>

#include <limits>
#include <string>

namespace {

using halvaro::FormatSignPosition;
using halvaro::modVedicPlanetPosition::ShortPositionText;

struct FormatCase {
    const char* name;
    double longitudeDeg;
    const char* text;
    const char* shortText;
};

class FormatSignPositionTest : public ::testing::TestWithParam<FormatCase> {};
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

TEST_P(FormatSignPositionTest, WritesTruncatedDegreesMinutesSecondsAndSign)
{
    EXPECT_EQ(FormatSignPosition(GetParam().longitudeDeg).view(), GetParam().text)
        << "longitude " << GetParam().longitudeDeg;
    const auto place = halvaro::SignPlaceOf(GetParam().longitudeDeg);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(ShortPositionText(*place).view(), GetParam().shortText) << "longitude " << GetParam().longitudeDeg;
}

// The worked sidereal longitudes of the Sun, Moon and Mercury of the 2000 and
// 1975 readings, and the boundary cases of the sign text; the short text
// keeps two-digit degrees, the sign and two-digit minutes of the long one.
INSTANTIATE_TEST_SUITE_P(WorkedAndBoundary, FormatSignPositionTest,
    ::testing::Values(FormatCase {"Sun2000", 256.525641108778, "16\xC2\xB0 31' 32\" Sag", "16 Sag 31"},
        FormatCase {"Moon2000", 199.4623772024, "19\xC2\xB0 27' 44\" Lib", "19 Lib 27"},
        FormatCase {"Moon1975NoLeadingZeros", 131.1335120017, "11\xC2\xB0 8' 0\" Leo", "11 Leo 08"},
        FormatCase {"Mercury2000", 248.052033458206, "8\xC2\xB0 3' 7\" Sag", "08 Sag 03"},
        FormatCase {"BelowOneDegree", 0.5, "0\xC2\xB0 30' 0\" Ari", "00 Ari 30"},
        FormatCase {"Zero", 0.0, "0\xC2\xB0 0' 0\" Ari", "00 Ari 00"},
        FormatCase {"StartOfTaurus", 30.0, "0\xC2\xB0 0' 0\" Tau", "00 Tau 00"},
        FormatCase {"LastOfPisces", 359.99, "29\xC2\xB0 59' 24\" Pis", "29 Pis 59"},
        FormatCase {"LastDoubleBelowAFullTurn", 359.99999999999994, "29\xC2\xB0 59' 59\" Pis", "29 Pis 59"},
        FormatCase {"SecondsTruncatedNotRounded", 10 + 59.9999 / 3600, "10\xC2\xB0 0' 59\" Ari", "10 Ari 00"},
        FormatCase {"NegativeAsAbsolute", -131.1335120017, "11\xC2\xB0 8' 0\" Leo", "11 Leo 08"}),
    [](const auto& row) { return std::string(row.param.name); });

struct UnformattableCase {
    const char* name;
    double longitudeDeg;
};

class FormatSignPositionRefusesTest : public ::testing::TestWithParam<UnformattableCase> {};
void PrintTo(const UnformattableCase& c, std::ostream* os) { *os << c.name; }

TEST_P(FormatSignPositionRefusesTest, GivesNoTextWithoutASign)
{
    EXPECT_TRUE(FormatSignPosition(GetParam().longitudeDeg).empty());
}

// Values with no sign index in 0..11 or no digits at all.
INSTANTIATE_TEST_SUITE_P(NoSign, FormatSignPositionRefusesTest,
    ::testing::Values(UnformattableCase {"NaN", std::numeric_limits<double>::quiet_NaN()},
        UnformattableCase {"Infinity", std::numeric_limits<double>::infinity()},
        UnformattableCase {"MinusInfinity", -std::numeric_limits<double>::infinity()},
        UnformattableCase {"FullTurn", 360.0}, UnformattableCase {"Huge", 1e300}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
