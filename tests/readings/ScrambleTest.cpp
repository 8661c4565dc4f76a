#include "readings/Scramble.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using halvaro::modHelp::ScrambleText;
using halvaro::modHelp::UnscrambleText;

struct ShiftCase {
    const char* Label;
    std::string Plain;
    std::string Stored;
};

class ScrambleCases : public ::testing::TestWithParam<ShiftCase> {};
void PrintTo(const ShiftCase& c, std::ostream* os) { *os << c.Label; }

// "abc" and "7" are the worked examples of the character shift; the others
// are its ends: code 0 becomes 85, the highest storable code 170 becomes 255.
INSTANTIATE_TEST_SUITE_P(CharacterShift, ScrambleCases,
    ::testing::Values(
        ShiftCase {"LettersAbc", "abc", "\xB6\xB7\xB8"},
        ShiftCase {"DigitSeven", "7", "\x8C"},
        ShiftCase {"EmptyText", "", ""},
        ShiftCase {"LowestCode", std::string(1, '\0'), "\x55"},
        ShiftCase {"HighestStorableCode", "\xAA", "\xFF"},
        ShiftCase {"LineBreakCharactersLeaveNoLineBreak", "\r\n", "\x62\x5F"}),
    [](const auto& row) { return std::string(row.param.Label); });

TEST_P(ScrambleCases, ShiftsEveryCodeBy85BothWays)
{
    const ShiftCase& c = GetParam();
    EXPECT_EQ(ScrambleText(c.Plain), c.Stored);
    EXPECT_EQ(UnscrambleText(c.Stored), c.Plain);
}

TEST(Scramble, EveryStorableCodeComesBackUnchanged)
{
    std::string all;
    for (int code = 0; code <= 170; ++code) {
        all.push_back(static_cast<char>(code));
    }
    const std::string stored = ScrambleText(all);
    ASSERT_EQ(stored.size(), all.size());
    for (const char c : stored) {
        EXPECT_GE(static_cast<unsigned char>(c), 85U);
    }
    EXPECT_EQ(UnscrambleText(stored), all);
}

} // namespace
