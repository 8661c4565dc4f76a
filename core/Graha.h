#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace halvaro {

// The grahas in the one order every table, output and chart uses: the eight
// of the result screen, then Ketu, which stands opposite Rahu.
enum class Graha { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu };

// The eight of the result screen and the readings' texts; Ketu is derived.
inline constexpr int GrahaCount = 8;
inline constexpr int GrahaCountWithKetu = 9;

struct GrahaNameRow {
    std::string_view English; // as the result screen names it
    std::string_view Vedic;
    std::string_view Plain;   // as scripts and tables name it
    std::string_view Short;   // in a chart's square
};

inline constexpr std::array<GrahaNameRow, GrahaCountWithKetu> GrahaNameTable {{
    {"Sun", "Surya", "Sun", "Su"},
    {"Moon", "Chandra", "Moon", "Mo"},
    {"Mercury", "Budha", "Mercury", "Me"},
    {"Venus", "Shukra", "Venus", "Ve"},
    {"Mars", "Mangala", "Mars", "Ma"},
    {"Jupiter", "Guru", "Jupiter", "Ju"},
    {"Saturn", "Shani", "Saturn", "Sa"},
    {"North Node", "Rahu", "Rahu", "Ra"},
    {"South Node", "Ketu", "Ketu", "Ke"},
}};

constexpr std::size_t IndexOf(Graha graha)
{
    return static_cast<std::size_t>(graha);
}

constexpr const GrahaNameRow& NamesOf(Graha graha)
{
    return GrahaNameTable[IndexOf(graha)];
}

} // namespace halvaro
