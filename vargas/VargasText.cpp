#include "vargas/Vargas.h"

#include "core/SignPosition.h"
#include "core/Text.h"

#include <charconv>

namespace halvaro::vargas {

namespace {

constexpr std::size_t NameWidth = 9;
constexpr std::size_t SignWidth = 6;

void Pad(std::string& text, std::string_view cell, std::size_t width, bool right)
{
    const std::string blanks(width > cell.size() ? width - cell.size() : 0, ' ');
    text.append(right ? blanks : "").append(cell).append(right ? "" : blanks);
}

std::string TwoDecimals(double value)
{
    std::array<char, 32> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, 2).ptr;
    return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

} // namespace

std::string VargasText(const VargaSigns& signs, const std::optional<std::array<double, VimshopakaGrahaCount>>& vimshopaka)
{
    std::string text = "\nVargas (Parashari rules, BPHS ch. 6): the sign of each graha and of the Lagna\n";
    Pad(text, "", NameWidth, false);
    for (const vedic::VargaRule& rule : vedic::VargaRules) {
        Pad(text, "D" + DecimalText(rule.N), SignWidth, true);
    }
    if (vimshopaka) {
        text += "  Vimshopaka";
    }
    text += '\n';
    const auto row = [&](std::string_view name, auto signOf, std::optional<double> strength) {
        std::string line;
        Pad(line, name, NameWidth, false);
        for (std::size_t v = 0; v < VargaCount; ++v) {
            const std::optional<int> sign = signOf(v);
            Pad(line, sign ? ShortSignNames[static_cast<std::size_t>(*sign)] : "-", SignWidth, true);
        }
        if (strength) {
            Pad(line, TwoDecimals(*strength), 12, true);
        }
        text += line + '\n';
    };
    for (std::size_t graha = 0; graha < GrahaCountWithKetu; ++graha) {
        row(GrahaNameTable[graha].Plain, [&](std::size_t v) { return std::optional<int>(signs.Grahas[v][graha]); },
            vimshopaka && graha < VimshopakaGrahaCount ? std::optional((*vimshopaka)[graha]) : std::nullopt);
    }
    row("Lagna", [&](std::size_t v) { return signs.Lagna[v]; }, std::nullopt);
    if (vimshopaka) {
        text += "Vimshopaka out of 20: " + std::string(VimshopakaScheme) + "\n";
    }
    return text;
}

} // namespace halvaro::vargas
