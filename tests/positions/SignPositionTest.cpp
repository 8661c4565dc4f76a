#include "positions/GrahaPositions.h"
#include "core/SignPosition.h"

#include <gtest/gtest.h>

#include <ostream>

#include <limits>
#include <string>

namespace {

using halvaro::modVedicPlanetPosition::FormatSignPosition;
using halvaro::modVedicPlanetPosition::ShortPositionText;

struct FormatCase {
    const char* name;
    double longitudeDeg;
    const char* text;
};

class FormatSignPositionTest : public ::testing::TestWithParam<FormatCase> {};
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

TEST_P(FormatSignPositionTest, WritesTruncatedDegreesMinutesSecondsAndSign)
{
    EXPECT_EQ(FormatSignPosition(GetParam().longitudeDeg).view(), GetParam().text)
        << "longitude " << GetParam().longitudeDeg;
}

// The worked sidereal longitudes of the Sun, Moon and Mercury of the 2000 and
// 1975 readings, and the boundary cases of the sign text.
INSTANTIATE_TEST_SUITE_P(WorkedAndBoundary, FormatSignPositionTest,
    ::testing::Values(FormatCase {"Sun2000", 256.525641108778, "16\xC2\xB0 31' 32\" Sag"},
        FormatCase {"Moon2000", 199.4623772024, "19\xC2\xB0 27' 44\" Lib"},
        FormatCase {"Moon1975NoLeadingZeros", 131.1335120017, "11\xC2\xB0 8' 0\" Leo"},
        FormatCase {"Mercury2000", 248.052033458206, "8\xC2\xB0 3' 7\" Sag"},
        FormatCase {"BelowOneDegree", 0.5, "0\xC2\xB0 30' 0\" Ari"},
        FormatCase {"Zero", 0.0, "0\xC2\xB0 0' 0\" Ari"},
        FormatCase {"StartOfTaurus", 30.0, "0\xC2\xB0 0' 0\" Tau"},
        FormatCase {"LastOfPisces", 359.99, "29\xC2\xB0 59' 24\" Pis"},
        FormatCase {"SecondsTruncatedNotRounded", 10 + 59.9999 / 3600, "10\xC2\xB0 0' 59\" Ari"},
        FormatCase {"NegativeAsAbsolute", -131.1335120017, "11\xC2\xB0 8' 0\" Leo"}),
    [](const auto& info) { return std::string(info.param.name); });

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
    [](const auto& info) { return std::string(info.param.name); });

struct ShortCase {
    const char* name;
    const char* longText;
    const char* shortText; // empty: the text cannot be split
};

class ShortPositionTextTest : public ::testing::TestWithParam<ShortCase> {};
void PrintTo(const ShortCase& c, std::ostream* os) { *os << c.name; }

TEST_P(ShortPositionTextTest, KeepsDegreesSignAndMinutes)
{
    EXPECT_EQ(ShortPositionText(GetParam().longText).view(), GetParam().shortText)
        << "long text [" << GetParam().longText << "]";
}

// The short texts of the worked readings and the text's own edge cases.
INSTANTIATE_TEST_SUITE_P(WorkedAndMalformed, ShortPositionTextTest,
    ::testing::Values(ShortCase {"Sun2000", "16\xC2\xB0 31' 32\" Sag", "16 Sag 31"},
        ShortCase {"Mercury2000LeadingZeros", "8\xC2\xB0 3' 7\" Sag", "08 Sag 03"},
        ShortCase {"Moon1975", "11\xC2\xB0 8' 0\" Leo", "11 Leo 08"},
        ShortCase {"ZeroDegrees", "0\xC2\xB0 30' 59\" Ari", "00 Ari 30"},
        ShortCase {"SurroundingBlanks", "  5\xC2\xB0 7' 0\" Tau", "05 Tau 07"},
        ShortCase {"Empty", "", ""}, ShortCase {"NoDegreeSign", "11 8' 0\" Leo", ""},
        ShortCase {"NoApostrophe", "11\xC2\xB0 8 0 Leo", ""},
        ShortCase {"ApostropheFirst", "1' 2\xC2\xB0 3\" Leo", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
