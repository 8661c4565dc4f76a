// aspects/ holds the Graha Drishti engine.
#pragma once

#include "core/FixedText.h"
#include "core/Graha.h"
#include "core/SignPosition.h"
#include "positions/GrahaPositions.h"

#include <array>
#include <string_view>

namespace halvaro::modVedicGrahaDrishti {

inline constexpr int SignCount = 12;
inline constexpr int RowCount = 8;

using halvaro::EnglishSignNames;
using halvaro::VedicSignNames;

// The ordered signs a graha aspects: the seventh alone, or for Mars, Jupiter
// and Saturn first further sign, seventh, second further sign.
struct AspectList {
    std::array<int, 3> Signs {};
    int Count = 0;
};
constexpr AspectList GrahaAspectList(Graha graha, int sign)
{
    // Steps counted from the graha's own sign: the 4th sign is 3 steps on.
    // Mars also aspects the 4th and 8th, Jupiter the 5th and 9th, Saturn
    // the 3rd and 10th; everyone aspects the 7th.
    const auto after = [sign](int steps) { return (sign + steps) % SignCount; };
    constexpr int Seventh = 6;
    switch (graha) {
    case Graha::Mars: return {{after(3), after(Seventh), after(7)}, 3};
    case Graha::Jupiter: return {{after(4), after(Seventh), after(8)}, 3};
    case Graha::Saturn: return {{after(2), after(Seventh), after(9)}, 3};
    default: return {{after(Seventh), 0, 0}, 1};
    }
}

// The 32 result texts, one row per graha in Graha order.
struct ResultTexts {
    std::array<LabelText, RowCount> lblPlanets;
    std::array<LabelText, RowCount> lblPlanets_Position;
    std::array<LabelText, RowCount> lblAspects_Sign;
    std::array<LabelText, RowCount> lblAspects_Planets;
};

// The 32 texts of the grahas at these positions: the signs each aspects and
// the grahas standing there.
ResultTexts ComputeGrahaDrishti(const modVedicPlanetPosition::GrahaPositions& positions);

} // namespace halvaro::modVedicGrahaDrishti
