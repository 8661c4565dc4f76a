#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

// The vargas, the divisions of a sign, as one table of rules: each graha
// and the Lagna stands in one sign of each.
namespace halvaro::vedic {

// The kind of sign that chooses where the count of a sign's parts begins.
enum class SignKind {
    Any,      // one start for every sign
    Parity,   // odd (Mesha, Mithuna, ...), even
    Modality, // movable, fixed, dual
    Element,  // fire, earth, air, water
};

// Whether the starts are counted on from the divided sign or from Mesha.
enum class CountFrom { TheSign, Mesha };

// A part of unequal size: its sign, and where it ends, in degrees of the
// divided sign (each part runs up to, not including, its end).
struct UnevenPart {
    double BelowDeg;
    int Sign; // 0 Mesha .. 11 Meena
};

// How one varga gives each part of a sign its sign: the parts are N equal
// ones, or the uneven parts of odd and of even signs where those are given.
// The first part's sign is Starts[kind of the divided sign], counted from
// the divided sign or from Mesha; each next part is Step signs on.
struct VargaRule {
    int N = 1;             // the D-number
    std::string_view Name; // as the charts are captioned
    SignKind StartBy = SignKind::Any;
    CountFrom From = CountFrom::TheSign;
    std::array<int, 4> Starts {}; // odd, even; movable, fixed, dual; fire, earth, air, water
    int Step = 1;
    std::span<const UnevenPart> OddParts {}, EvenParts {};
};

inline constexpr int RasiVarga = 1;
inline constexpr int NavamsaVarga = 9;

// The uneven parts of the Hora and the Trimsamsa, in degrees of the sign.
// Hora: odd signs Simha then Kataka, even signs the reverse.
inline constexpr UnevenPart HoraOddParts[] {{15, 4}, {30, 3}};
inline constexpr UnevenPart HoraEvenParts[] {{15, 3}, {30, 4}};
// Trimsamsa: odd signs 5, 5, 8, 7, 5 degrees to Mesha, Kumbha, Dhanus,
// Mithuna, Thula (the lords Mars, Saturn, Jupiter, Mercury, Venus); even
// signs 5, 7, 8, 5, 5 to Vrishabha, Kanya, Meena, Makara, Vrischika (Venus,
// Mercury, Jupiter, Saturn, Mars). This is Parashara's reading; texts that
// count the even signs' parts by other lords give other signs.
inline constexpr UnevenPart TrimsamsaOddParts[] {{5, 0}, {10, 10}, {18, 8}, {25, 2}, {30, 6}};
inline constexpr UnevenPart TrimsamsaEvenParts[] {{5, 1}, {12, 5}, {20, 11}, {25, 9}, {30, 7}};

// Brihat Parashara Hora Shastra, ch. 6 (the sixteen divisions of a sign,
// the Shodashavarga), in the order of the chapter. Starts index the kind of
// the divided sign: odd, even; movable, fixed, dual; fire, earth, air, water.
inline constexpr std::array<VargaRule, 16> VargaRules {{
    {RasiVarga, "Rasi"},
    {2, "Hora", SignKind::Any, CountFrom::TheSign, {}, 1, HoraOddParts, HoraEvenParts},
    // Thirds: the sign, its 5th, its 9th.
    {3, "Drekkana", SignKind::Any, CountFrom::TheSign, {0}, 4},
    // Fourths: the sign, its 4th, 7th, 10th.
    {4, "Chaturthamsa", SignKind::Any, CountFrom::TheSign, {0}, 3},
    // Sevenths: odd signs from the sign, even ones from its 7th.
    {7, "Saptamsa", SignKind::Parity, CountFrom::TheSign, {0, 6}},
    // The ninths of fiery signs begin from Mesha, of earthy ones from Makara,
    // of airy ones from Thula, of watery ones from Kataka: the ninths of
    // 3°20' counted on from Mesha without a break.
    {NavamsaVarga, "Navamsa", SignKind::Element, CountFrom::Mesha, {0, 9, 6, 3}},
    // Tenths: odd signs from the sign, even ones from its 9th.
    {10, "Dasamsa", SignKind::Parity, CountFrom::TheSign, {0, 8}},
    {12, "Dwadasamsa", SignKind::Any, CountFrom::TheSign, {0}},
    // Movable signs from Mesha, fixed from Simha, dual from Dhanus.
    {16, "Shodasamsa", SignKind::Modality, CountFrom::Mesha, {0, 4, 8}},
    // Movable signs from Mesha, fixed from Dhanus, dual from Simha.
    {20, "Vimsamsa", SignKind::Modality, CountFrom::Mesha, {0, 8, 4}},
    // Odd signs from Simha, even from Kataka.
    {24, "Chaturvimsamsa", SignKind::Parity, CountFrom::Mesha, {4, 3}},
    // Fiery signs from Mesha, earthy from Kataka, airy from Thula, watery from Makara.
    {27, "Saptavimsamsa", SignKind::Element, CountFrom::Mesha, {0, 3, 6, 9}},
    {30, "Trimsamsa", SignKind::Any, CountFrom::TheSign, {}, 1, TrimsamsaOddParts, TrimsamsaEvenParts},
    // Odd signs from Mesha, even from Thula.
    {40, "Khavedamsa", SignKind::Parity, CountFrom::Mesha, {0, 6}},
    // Movable signs from Mesha, fixed from Simha, dual from Dhanus.
    {45, "Akshavedamsa", SignKind::Modality, CountFrom::Mesha, {0, 4, 8}},
    // Sixtieths of half a degree, from the sign.
    {60, "Shashtiamsa", SignKind::Any, CountFrom::TheSign, {0}},
}};

// The rule of a D-number; nothing for one the table does not hold.
std::optional<VargaRule> VargaRuleOf(int n);

// The sign 0..11 of a longitude in a varga; any finite longitude counts
// modulo 360, and one that is not finite has none.
std::optional<int> SignInVarga(const VargaRule& rule, double longitudeDeg);

// The same in the varga Dn of the table; nothing for a D-number it does not
// hold.
std::optional<int> VargaSign(int n, double longitudeDeg);

} // namespace halvaro::vedic
