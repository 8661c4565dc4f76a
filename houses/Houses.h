// houses/ holds the houses of a reading: whole-sign, Sripati (bhava chalit) and Placidus cusps, and the house each graha stands in.
#pragma once

#include "core/Graha.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The twelve houses counted from the Lagna: by whole signs, or between
// cusps that a house system finds from the horizon and the meridian.
namespace halvaro::houses {

enum class HouseSystem { WholeSign, Sripati, Placidus, Count };
inline constexpr auto HouseSystemCount = static_cast<std::size_t>(HouseSystem::Count);

struct HouseSystemNames {
    std::string_view Option; // as --houses takes it
    std::string_view Shown;  // as the outputs name it
};
inline constexpr std::array<HouseSystemNames, HouseSystemCount> HouseSystemTable {{
    {"whole", "Whole sign"},
    {"sripati", "Sripati"},
    {"placidus", "Placidus"},
}};

constexpr const HouseSystemNames& NamesOf(HouseSystem system)
{
    return HouseSystemTable[static_cast<std::size_t>(system)];
}

std::optional<HouseSystem> HouseSystemNamed(std::string_view option);

using Cusps = std::array<double, 12>; // sidereal degrees in [0, 360), house 1 first

// Each house one whole sign, the first the Lagna's.
Cusps WholeSignCusps(double lagnaDeg);

// Sripati's bhava chalit: the quadrants between the ascendant, the nadir,
// the descendant and the midheaven are cut in three, which gives the houses'
// middles (the ascendant the first's); each cusp lies midway between two
// middles.
Cusps SripatiCusps(double ascendantDeg, double midheavenDeg);

// The house 1..12 of a longitude: the one whose cusp it has passed last.
int HouseOf(const Cusps& cusps, double longitudeDeg);

struct Houses {
    HouseSystem System = HouseSystem::WholeSign;
    std::optional<Cusps> Cusp;                        // nothing where the system has none
    std::array<int, GrahaCountWithKetu> Grahas {};    // 1..12, Ketu last; 0 without cusps
    std::string Note; // where the cusps came from, or why there are none; empty for none to say
};

// The houses of the grahas' longitudes (Ketu last) between cusps.
Houses HousesBetween(HouseSystem system, const Cusps& cusps, const std::array<double, GrahaCountWithKetu>& longitudes);

// Why a quadrant system has no cusps at a latitude (north positive), for
// the note that replaces them.
std::string NoCuspsNote(HouseSystem system, double latitudeDeg);

// The --details section: the system, its note, then a row for each house
// with its cusp as a sign position and the grahas in it; the note alone
// where the system has no cusps.
std::string HousesText(const Houses& houses);

} // namespace halvaro::houses
