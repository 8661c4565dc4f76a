#pragma once

#include <cmath>

namespace halvaro {

// The 15-digit values the calculations are defined with, not full double
// precision: the truncated texts depend on their last digits.
inline constexpr double DegToRad = 0.0174532925199433;
inline constexpr double Pi = 3.14159265358979;
inline constexpr double TwoPi = 6.28318530717958;

// The whole arc-minutes of an angle's size, rounded: how degrees and minutes
// typed as whole numbers come back out of signed degrees.
inline long long WholeArcMinutes(double degrees)
{
    return std::llround(std::fabs(degrees) * 60);
}

// std::fmod(x, 360) to the bit, sign of a zero included, without the library
// call's loop over the exponent. Below 2^52 the rounded quotient is at most
// one off the true whole part, 360 times it is a whole number held exactly,
// and the difference from x (within two turns) is exact; a turn given or
// taken then lands on the exact remainder. NaN, infinities and larger values
// go to std::fmod.
inline double TurnRemainder(double x)
{
    const double size = std::fabs(x);
    if (!(size < 0x1p52)) {
        return std::fmod(x, 360.0);
    }
    double rest = size - 360.0 * std::trunc(size / 360.0);
    if (rest < 0) {
        rest = rest + 360.0;
    } else if (rest >= 360.0) {
        rest = rest - 360.0;
    }
    return std::copysign(rest, x);
}

// Reductions of an angle in degrees by whole turns of 360, done with one
// remainder instead of a loop of additions or subtractions. For a finite x
// the loops are exact until their last step (each step shortens the value
// by a multiple of its own last place), so the remainder reproduces them bit
// for bit; where a loop would never end (an infinite x) the result is NaN.

// while (x < 0) x += 360;
inline double AddTurnsWhileNegative(double x)
{
    if (!(x < 0)) {
        return x;
    }
    const double rest = TurnRemainder(x); // exact, in (-360, 0]
    // A multiple of 360 ends at -360 + 360, which is +0.
    return rest == 0 ? 0.0 : rest + 360.0;
}

// while (x > 360) x -= 360;  (exactly 360 stays 360)
inline double SubtractTurnsWhileAbove360(double x)
{
    if (!(x > 360)) {
        return x;
    }
    const double rest = TurnRemainder(x); // exact, in [0, 360)
    return rest == 0 ? 360.0 : rest;
}

// while (x >= 360) x -= 360;
inline double SubtractTurnsWhileAtLeast360(double x)
{
    if (!(x >= 360)) {
        return x;
    }
    return TurnRemainder(x); // exact, in [0, 360); a multiple gives +0
}

} // namespace halvaro
