#include "ephemeris/MoonEngine.h"
#include "core/Angles.h"

#include <gtest/gtest.h>

#include <ostream>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using halvaro::modVedicEphemeris::ReduceMoonLongitude;

// The loops as the procedures state them.
double LoopAddWhileNegative(double x)
{
    while (x < 0) {
        x += 360;
    }
    return x;
}

double LoopSubtractWhileAbove360(double x)
{
    while (x > 360) {
        x -= 360;
    }
    return x;
}

double LoopSubtractWhileAtLeast360(double x)
{
    while (x >= 360) {
        x -= 360;
    }
    return x;
}

// The Moon's mean longitude spans about ±481268° over the supported
// centuries; the sample covers that range, whole turns, signed zeros and
// values one last place away from a turn.
std::vector<double> Sample()
{
    std::vector<double> values {0.0, -0.0, 360.0, 720.0, -360.0, -720.0, 1e-300, -1e-300, -1e-20,
        std::nextafter(360.0, 0.0), std::nextafter(360.0, 1000.0), std::nextafter(-360.0, 0.0),
        std::nextafter(-360.0, -1000.0), 223.316102916, -481050.25, 240852.5};
    for (int k = -1400; k <= 1400; ++k) {
        const double turn = 360.0 * k;
        values.insert(values.end(), {turn, std::nextafter(turn, -1e9), std::nextafter(turn, 1e9)});
    }
    std::mt19937_64 random(20260117);
    std::uniform_real_distribution<double> wide(-600000.0, 600000.0);
    std::uniform_real_distribution<double> narrow(-800.0, 800.0);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(wide(random));
        values.push_back(narrow(random));
    }
    return values;
}

template <typename Reduce, typename Loop>
void ExpectSameBits(Reduce reduce, Loop loop)
{
    int mismatches = 0;
    for (const double x : Sample()) {
        const double expected = loop(x);
        const double actual = reduce(x);
        if (std::bit_cast<std::uint64_t>(expected) != std::bit_cast<std::uint64_t>(actual) && ++mismatches <= 5) {
            ADD_FAILURE() << std::hexfloat << "input " << x << ": loop " << expected << ", remainder " << actual;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TurnReduction, EachRemainderMatchesItsLoopBitForBit)
{
    ExpectSameBits(halvaro::AddTurnsWhileNegative, LoopAddWhileNegative);
    ExpectSameBits(halvaro::SubtractTurnsWhileAbove360, LoopSubtractWhileAbove360);
    ExpectSameBits(halvaro::SubtractTurnsWhileAtLeast360, LoopSubtractWhileAtLeast360);
}

// The library's remainder is the reference: the same bits over the sample,
// and about and beyond 2^52, where the shortcut hands over to it.
TEST(TurnReduction, TurnRemainderIsTheLibraryRemainder)
{
    const auto libraryRemainder = [](double x) { return std::fmod(x, 360.0); };
    ExpectSameBits(halvaro::TurnRemainder, libraryRemainder);
    for (const double x : {0x1p52, std::nextafter(0x1p52, 0.0), 0x1p52 + 2, 3.0e15, 1e300, 360.0 * 0x1p43}) {
        for (const double signed_x : {x, -x}) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(halvaro::TurnRemainder(signed_x)),
                std::bit_cast<std::uint64_t>(libraryRemainder(signed_x)))
                << std::hexfloat << signed_x;
        }
    }
    EXPECT_TRUE(std::isnan(halvaro::TurnRemainder(INFINITY)));
}

TEST(TurnReduction, MoonLongitudeMatchesBothLoopsBitForBit)
{
    ExpectSameBits(ReduceMoonLongitude, [](double x) { return LoopSubtractWhileAbove360(LoopAddWhileNegative(x)); });
    EXPECT_EQ(ReduceMoonLongitude(360.0), 360.0);
    EXPECT_EQ(ReduceMoonLongitude(720.0), 360.0);
    EXPECT_FALSE(std::signbit(ReduceMoonLongitude(-720.0)));
    // Ends on infinity, where the loops would not.
    EXPECT_TRUE(std::isnan(ReduceMoonLongitude(INFINITY)));
    EXPECT_TRUE(std::isnan(ReduceMoonLongitude(-INFINITY)));
}

} // namespace
