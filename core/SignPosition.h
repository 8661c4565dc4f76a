#pragma once

#include "core/FixedText.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The sign position text of the planetary positions, shared by the Moon engine.
namespace halvaro {

// The signs' names, Aries (0) to Pisces (11), in English and as the result
// screen spells them in Sanskrit: the one table every output takes them from.
inline constexpr std::array<std::string_view, 12> EnglishSignNames {
    "Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces",
};
inline constexpr std::array<std::string_view, 12> VedicSignNames {
    "Mesha", "Vrishabha", "Mithuna", "Kataka", "Simha", "Kanya",
    "Thula", "Vrischika", "Dhanus", "Makara", "Kumbha", "Meena",
};

// The signs in four letters for the tables' columns, the two Vri- signs told
// apart.
inline constexpr std::array<std::string_view, 12> ShortSignNames {
    "Mesh", "Vrsh", "Mith", "Kata", "Simh", "Kany", "Thul", "Vrsc", "Dhan", "Maka", "Kumb", "Meen"};

// Three letters per sign, Aries (0) to Pisces (11).
inline constexpr std::string_view SignAbbreviations = "AriTauGemCanLeoVirLibScoSagCapAquPis";

// A longitude's place in its sign, the one form every output takes it in:
// the sign, 0 Aries .. 11 Pisces, and whole degrees, minutes and seconds in
// it, each truncated. Where an output numbers the signs 1 to 12 it adds the
// one itself.
struct SignPlace {
    int Sign = 0;
    int Degrees = 0;
    int Minutes = 0;
    int Seconds = 0;
    friend bool operator==(const SignPlace&, const SignPlace&) = default;
};

// The place of a longitude. A negative angle counts as its absolute value;
// one that is not finite, or lies at 360 or beyond, has none.
std::optional<SignPlace> SignPlaceOf(double angle);

// The three letters of a sign index 0..11.
constexpr std::string_view SignAbbreviation(int sign)
{
    return SignAbbreviations.substr(3 * static_cast<std::size_t>(sign), 3);
}

// The long position text of a sidereal longitude in degrees, e.g.
// 19° 27' 44" Lib; every part truncated. A negative angle is formatted as
// its absolute value. A longitude that is not finite, or whose sign index
// falls outside 0..11, has no text: the result is empty.
PositionText FormatSignPosition(double angle);

} // namespace halvaro
