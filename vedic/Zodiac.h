#pragma once

#include "core/Graha.h"
#include "vedic/Signs.h"

#include <array>
#include <optional>
#include <string_view>

// What a sidereal longitude alone tells an astrologer: its sign, its place in
// the sign, its nakshatra and pada, and its Navamsa sign.
namespace halvaro::vedic {

inline constexpr int NakshatraCount = 27;

inline constexpr std::array<std::string_view, NakshatraCount> NakshatraNames {
    "Ashwini", "Bharani", "Krittika", "Rohini", "Mrigashira", "Ardra", "Punarvasu", "Pushya", "Ashlesha",
    "Magha", "Purva Phalguni", "Uttara Phalguni", "Hasta", "Chitra", "Swati", "Vishakha", "Anuradha", "Jyeshtha",
    "Mula", "Purva Ashadha", "Uttara Ashadha", "Shravana", "Dhanishta", "Shatabhisha", "Purva Bhadrapada",
    "Uttara Bhadrapada", "Revati",
};

// The lords of the nakshatras in turn from Ashwini, three rounds of nine;
// the same order is the Vimshottari order of the dashas.
inline constexpr std::array<Graha, 9> NakshatraLordOrder {
    Graha::Ketu, Graha::Venus, Graha::Sun, Graha::Moon, Graha::Mars,
    Graha::Rahu, Graha::Jupiter, Graha::Saturn, Graha::Mercury,
};

struct ZodiacPlace {
    double Longitude = 0;   // degrees in [0, 360)
    SignPlace Rasi;         // the sign and the place in it, truncated
    int Nakshatra = 1;      // 1 Ashwini .. 27 Revati
    int Pada = 1;           // 1..4
    Graha NakshatraLord = Graha::Ketu;
    int Navamsa = 0;        // the D9 sign, 0 Mesha .. 11 Meena
    // Names of the numbers above, from the tables.
    [[nodiscard]] std::string_view SignName() const { return VedicSignNames[static_cast<std::size_t>(Rasi.Sign)]; }
    [[nodiscard]] std::string_view NavamsaName() const { return VedicSignNames[static_cast<std::size_t>(Navamsa)]; }
    [[nodiscard]] std::string_view NakshatraName() const
    {
        return NakshatraNames[static_cast<std::size_t>(Nakshatra - 1)];
    }
};

// Nothing for a longitude that is not finite; any finite one counts modulo 360.
std::optional<ZodiacPlace> ZodiacPlaceOf(double longitudeDeg);

} // namespace halvaro::vedic
