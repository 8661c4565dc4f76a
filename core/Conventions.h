#pragma once

#include "core/Ranges.h"

#include <string_view>

// The choices a reading is computed under, one value passed into the
// calculation, so that no layer holds them as constants of its own.
namespace halvaro {

// Which sky a reading's longitudes come from: the classic model, which the
// program has always computed and is the default everywhere, or the precise
// positions of a full ephemeris.
enum class SkyModel { Classic, Precise };

// "classic" or "precise", as the command line and the outputs name them.
constexpr std::string_view SkyModelName(SkyModel sky)
{
    return sky == SkyModel::Precise ? "precise" : "classic";
}

// The ayanamsa the sidereal longitudes are measured with.
enum class AyanamsaSystem { Lahiri };

constexpr std::string_view AyanamsaName(AyanamsaSystem ayanamsa)
{
    switch (ayanamsa) {
    case AyanamsaSystem::Lahiri: break;
    }
    return "Lahiri";
}

// Rahu as the Moon's mean node (the true node moves back and forth about it).
enum class NodeKind { Mean };

struct Conventions {
    SkyModel Sky = SkyModel::Classic;
    AyanamsaSystem Ayanamsa = AyanamsaSystem::Lahiri;
    NodeKind Node = NodeKind::Mean;
    // Days of a Vimshottari year.
    double DashaYearDays = 365.25;

    // The years of birth the sky covers.
    [[nodiscard]] constexpr ListRange Years() const { return YearRange; }
};

} // namespace halvaro
