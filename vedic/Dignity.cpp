#include "vedic/Dignity.h"

#include <array>
#include <cmath>

namespace halvaro::vedic {

namespace {

// Signs are 0 Mesha .. 11 Meena here; -1 where a graha has no second sign.
struct DignityRow {
    int Exalted;
    int Moolatrikona;
    double MoolatrikonaFromDeg, MoolatrikonaBelowDeg;
    std::array<int, 2> Own;
};

// Brihat Parashara Hora Shastra, ch. 3 (the grahas' exaltation, debilitation
// and moolatrikona signs, and the signs they own). Debilitation is the seventh
// sign from exaltation. The Moon's and Mercury's moolatrikona share the sign
// of their exaltation; DignityOf splits those signs by degree.
constexpr std::array<DignityRow, 7> DignityTable {{
    {0, 4, 0, 20, {4, -1}},   // Sun: Mesha; Simha 0-20; Simha
    {1, 1, 3, 30, {3, -1}},   // Moon: Vrishabha; Vrishabha 3-30; Kataka
    {5, 5, 15, 20, {2, 5}},   // Mercury: Kanya; Kanya 15-20; Mithuna, Kanya
    {11, 6, 0, 15, {1, 6}},   // Venus: Meena; Thula 0-15; Vrishabha, Thula
    {9, 0, 0, 12, {0, 7}},    // Mars: Makara; Mesha 0-12; Mesha, Vrischika
    {3, 8, 0, 10, {8, 11}},   // Jupiter: Kataka; Dhanus 0-10; Dhanus, Meena
    {6, 10, 0, 20, {9, 10}},  // Saturn: Thula; Kumbha 0-20; Makara, Kumbha
}};

} // namespace

std::string_view DignityName(Dignity dignity)
{
    switch (dignity) {
    case Dignity::Exalted: return "Exalted";
    case Dignity::Debilitated: return "Debilitated";
    case Dignity::Moolatrikona: return "Moolatrikona";
    case Dignity::Own: return "Own";
    case Dignity::None: break;
    }
    return "";
}

Dignity DignityOf(Graha graha, double longitudeDeg)
{
    if (IndexOf(graha) >= DignityTable.size() || !(longitudeDeg >= 0 && longitudeDeg < 360)) {
        return Dignity::None;
    }
    const DignityRow& row = DignityTable[IndexOf(graha)];
    const int sign = static_cast<int>(std::floor(longitudeDeg / 30));
    const double inSignDeg = longitudeDeg - 30 * sign;
    const bool moolatrikona =
        sign == row.Moolatrikona && inSignDeg >= row.MoolatrikonaFromDeg && inSignDeg < row.MoolatrikonaBelowDeg;
    // The Moon in Vrishabha and Mercury in Kanya: exalted only in the part of
    // the sign before their moolatrikona begins (below 3° and 15°).
    const bool sharedSign = row.Exalted == row.Moolatrikona;
    if (sign == row.Exalted && !(sharedSign && inSignDeg >= row.MoolatrikonaFromDeg)) {
        return Dignity::Exalted;
    }
    if (sign == (row.Exalted + 6) % 12) {
        return Dignity::Debilitated;
    }
    if (moolatrikona) {
        return Dignity::Moolatrikona;
    }
    if (sign == row.Own[0] || sign == row.Own[1]) {
        return Dignity::Own;
    }
    return Dignity::None;
}

} // namespace halvaro::vedic
