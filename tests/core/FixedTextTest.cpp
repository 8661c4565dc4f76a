#include "core/FixedText.h"

#include <gtest/gtest.h>

namespace {

using halvaro::FixedText;

TEST(FixedText, AppendsTextAndNumbersAndCutsAtCapacity)
{
    FixedText<8> text;
    text.append("ab").appendNumber(0).appendNumber(1975);
    EXPECT_EQ(text.view(), "ab01975");
    text.append("xyz");
    EXPECT_EQ(text.view(), "ab01975x");
    EXPECT_EQ(text.size(), 8U);
    text.clear();
    EXPECT_TRUE(text.empty());
}

TEST(FixedText, WiderCopyKeepsTextAndLength)
{
    FixedText<4> shorter("abc");
    const FixedText<8> wider(shorter);
    EXPECT_EQ(wider.view(), "abc");
    shorter.append('d'); // full
    EXPECT_EQ(FixedText<8>(shorter).append('e').view(), "abcde");
}

} // namespace
