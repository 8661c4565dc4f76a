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

// Brihat Parashara Hora Shastra, ch. 6 (the sixteen divisions of a sign).
inline constexpr std::array<VargaRule, 2> VargaRules {{
    {RasiVarga, "Rasi"},
    // The ninths of fiery signs begin from Mesha, of earthy ones from Makara,
    // of airy ones from Thula, of watery ones from Kataka: the ninths of
    // 3°20' counted on from Mesha without a break.
    {NavamsaVarga, "Navamsa", SignKind::Element, CountFrom::Mesha, {0, 9, 6, 3}},
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
