#include "ashtakavarga/Ashtakavarga.h"

#include "core/Text.h"

#include <algorithm>
#include <numeric>

namespace halvaro::ashtakavarga {

namespace {

// The houses, counted from a contributor's sign (its own sign the first),
// where it gives a bindu: a bit for each, house 1 the lowest.
using Houses = unsigned;
constexpr Houses H(std::initializer_list<int> houses)
{
    Houses bits = 0;
    for (const int house : houses) {
        bits |= 1U << (house - 1);
    }
    return bits;
}

// For each graha of AshtakavargaGrahas, the houses from each contributor in
// the same order: Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Lagna.
using PlaceTable = std::array<std::array<Houses, ContributorCount>, AshtakavargaGrahaCount>;

// Brihat Parashara Hora Shastra, ch. 66 (the ashtakavarga chapter): 48, 49,
// 39, 54, 56, 52 and 39 bindus, 337 in all. Taken from the Sanskrit verses,
// which name each house twice, by the contributors that give no bindu there
// (karana, vv. 16-42) and by those that do (sthana, vv. 43-60); both agree.
// Many English tables, and Saravali ch. 53 for the Moon, read three places
// otherwise: the Moon's from Jupiter the 12th for the 2nd, from herself
// without the 9th and from Mars with it; Venus's from Mars the 5th for the
// 4th. Phaladeepika's ashtakavarga chapter (v. 4) has the Moon's from
// Jupiter as here.
constexpr PlaceTable ParashariPlaces {{
    // Sun
    {H({1, 2, 4, 7, 8, 9, 10, 11}), H({3, 6, 10, 11}), H({1, 2, 4, 7, 8, 9, 10, 11}), H({3, 5, 6, 9, 10, 11, 12}),
        H({5, 6, 9, 11}), H({6, 7, 12}), H({1, 2, 4, 7, 8, 9, 10, 11}), H({3, 4, 6, 10, 11, 12})},
    // Moon
    {H({3, 6, 7, 8, 10, 11}), H({1, 3, 6, 7, 9, 10, 11}), H({2, 3, 5, 6, 10, 11}), H({1, 3, 4, 5, 7, 8, 10, 11}),
        H({1, 2, 4, 7, 8, 10, 11}), H({3, 4, 5, 7, 9, 10, 11}), H({3, 5, 6, 11}), H({3, 6, 10, 11})},
    // Mars
    {H({3, 5, 6, 10, 11}), H({3, 6, 11}), H({1, 2, 4, 7, 8, 10, 11}), H({3, 5, 6, 11}), H({6, 10, 11, 12}),
        H({6, 8, 11, 12}), H({1, 4, 7, 8, 9, 10, 11}), H({1, 3, 6, 10, 11})},
    // Mercury
    {H({5, 6, 9, 11, 12}), H({2, 4, 6, 8, 10, 11}), H({1, 2, 4, 7, 8, 9, 10, 11}), H({1, 3, 5, 6, 9, 10, 11, 12}),
        H({6, 8, 11, 12}), H({1, 2, 3, 4, 5, 8, 9, 11}), H({1, 2, 4, 7, 8, 9, 10, 11}), H({1, 2, 4, 6, 8, 10, 11})},
    // Jupiter
    {H({1, 2, 3, 4, 7, 8, 9, 10, 11}), H({2, 5, 7, 9, 11}), H({1, 2, 4, 7, 8, 10, 11}), H({1, 2, 4, 5, 6, 9, 10, 11}),
        H({1, 2, 3, 4, 7, 8, 10, 11}), H({2, 5, 6, 9, 10, 11}), H({3, 5, 6, 12}), H({1, 2, 4, 5, 6, 7, 9, 10, 11})},
    // Venus
    {H({8, 11, 12}), H({1, 2, 3, 4, 5, 8, 9, 11, 12}), H({3, 4, 6, 9, 11, 12}), H({3, 5, 6, 9, 11}),
        H({5, 8, 9, 10, 11}), H({1, 2, 3, 4, 5, 8, 9, 10, 11}), H({3, 4, 5, 8, 9, 10, 11}), H({1, 2, 3, 4, 5, 8, 9, 11})},
    // Saturn
    {H({1, 2, 4, 7, 8, 10, 11}), H({3, 6, 11}), H({3, 5, 6, 10, 11, 12}), H({6, 8, 9, 10, 11, 12}), H({5, 6, 11, 12}),
        H({6, 11, 12}), H({3, 5, 6, 11}), H({1, 3, 4, 6, 10, 11})},
}};

struct TableRow {
    BeneficTableNames Names;
    const PlaceTable* Places;
};
constexpr std::array<TableRow, BeneficTableCount> Tables {{
    {{"parashari", "Parashari", "Brihat Parashara Hora Shastra, ch. 66"}, &ParashariPlaces},
}};

// The multipliers of the pindas, from the chapters of the same text that
// follow it (the shodhanas, then the pindas): the signs Mesha to Meena, and
// the grahas in AshtakavargaGrahas' order.
constexpr Signs12 RasiMultipliers {7, 10, 8, 4, 10, 5, 7, 8, 9, 5, 11, 12};
constexpr std::array<int, AshtakavargaGrahaCount> GrahaMultipliers {5, 5, 8, 5, 10, 7, 5};

// The sign lords' pairs the ekadhipatya shodhana reduces (Kataka and Simha,
// the luminaries' single signs, are left as they are).
constexpr std::array<std::array<int, 2>, 5> SameLordPairs {{{0, 7}, {1, 6}, {2, 5}, {8, 11}, {9, 10}}};

constexpr int Sign(int from, int house)
{
    return (from + house - 1) % 12;
}

} // namespace

const BeneficTableNames& NamesOf(BeneficTable table)
{
    return Tables[static_cast<std::size_t>(table)].Names;
}

std::optional<BeneficTable> BeneficTableNamed(std::string_view option)
{
    for (std::size_t i = 0; i < Tables.size(); ++i) {
        if (Tables[i].Names.Option == option) {
            return static_cast<BeneficTable>(i);
        }
    }
    return std::nullopt;
}

int BinduTotal(BeneficTable table, std::size_t graha)
{
    const auto& row = (*Tables[static_cast<std::size_t>(table)].Places)[graha];
    return std::accumulate(row.begin(), row.end(), 0, [](int sum, Houses houses) { return sum + __builtin_popcount(houses); });
}

Signs12 TrikonaShodhana(const Signs12& bindus)
{
    Signs12 reduced = bindus;
    for (std::size_t first = 0; first < 4; ++first) {
        const int least = std::min({bindus[first], bindus[first + 4], bindus[first + 8]});
        for (std::size_t sign = first; sign < 12; sign += 4) {
            reduced[sign] -= least;
        }
    }
    return reduced;
}

Signs12 EkadhipatyaShodhana(const Signs12& bindus, const std::array<bool, 12>& occupied)
{
    Signs12 reduced = bindus;
    for (const auto& [a, b] : SameLordPairs) {
        int& first = reduced[static_cast<std::size_t>(a)];
        int& second = reduced[static_cast<std::size_t>(b)];
        const bool firstHeld = occupied[static_cast<std::size_t>(a)];
        const bool secondHeld = occupied[static_cast<std::size_t>(b)];
        // Nothing to reduce where a sign has no bindu left, or both hold a graha.
        if (first == 0 || second == 0 || (firstHeld && secondHeld)) {
            continue;
        }
        if (!firstHeld && !secondHeld) {
            // Both empty: equal ones both go, else the greater falls to the smaller.
            const int least = std::min(first, second);
            first = second = first == second ? 0 : least;
            continue;
        }
        // One held: the empty sign keeps no more than the held one, and
        // nothing when it had no more.
        int& held = firstHeld ? first : second;
        int& empty = firstHeld ? second : first;
        empty = empty > held ? held : 0;
    }
    return reduced;
}

std::optional<Ashtakavarga> AshtakavargaOf(const ContributorSigns& signs, BeneficTable table)
{
    if (static_cast<std::size_t>(table) >= Tables.size()
        || std::any_of(signs.begin(), signs.end(), [](int sign) { return sign < 0 || sign > 11; })) {
        return std::nullopt;
    }
    const PlaceTable& places = *Tables[static_cast<std::size_t>(table)].Places;
    std::array<bool, 12> occupied {};
    for (std::size_t graha = 0; graha < AshtakavargaGrahaCount; ++graha) {
        occupied[static_cast<std::size_t>(signs[graha])] = true;
    }
    Ashtakavarga result;
    result.Table = table;
    for (std::size_t graha = 0; graha < AshtakavargaGrahaCount; ++graha) {
        Signs12& bhinna = result.Bhinna[graha];
        for (std::size_t from = 0; from < ContributorCount; ++from) {
            for (int house = 1; house <= 12; ++house) {
                if ((places[graha][from] >> (house - 1)) & 1U) {
                    ++bhinna[static_cast<std::size_t>(Sign(signs[from], house))];
                }
            }
        }
        for (std::size_t sign = 0; sign < 12; ++sign) {
            result.Sarva[sign] += bhinna[sign];
        }
        result.Trikona[graha] = TrikonaShodhana(bhinna);
        const Signs12& reduced = result.Ekadhipatya[graha] = EkadhipatyaShodhana(result.Trikona[graha], occupied);
        Pinda& pinda = result.Pindas[graha];
        for (std::size_t sign = 0; sign < 12; ++sign) {
            pinda.Rasi += reduced[sign] * RasiMultipliers[sign];
        }
        for (std::size_t other = 0; other < AshtakavargaGrahaCount; ++other) {
            pinda.Graha += reduced[static_cast<std::size_t>(signs[other])] * GrahaMultipliers[other];
        }
    }
    return result;
}

namespace {

std::string Right(const std::string& text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string Left(std::string_view text, std::size_t width)
{
    return std::string(text) + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string CountsLine(std::string_view name, const Signs12& counts)
{
    std::string line = Left(name, 9);
    for (const int count : counts) {
        line += Right(DecimalText(count), 5);
    }
    return line + Right(DecimalText(std::accumulate(counts.begin(), counts.end(), 0)), 7) + "\n";
}

std::string CountsTable(std::string_view title, const PerGraha& rows, const Signs12* sarva)
{
    std::string text = "\n" + std::string(title) + "\n" + Left("", 9);
    for (const std::string_view sign : ShortSignNames) {
        text += Right(std::string(sign), 5);
    }
    text += Right("Total", 7) + "\n";
    for (std::size_t graha = 0; graha < rows.size(); ++graha) {
        text += CountsLine(NamesOf(AshtakavargaGrahas[graha]).Plain, rows[graha]);
    }
    if (sarva != nullptr) {
        text += CountsLine("Sarva", *sarva);
    }
    return text;
}

} // namespace

std::string AshtakavargaText(const Ashtakavarga& av)
{
    const BeneficTableNames& table = NamesOf(av.Table);
    std::string text = CountsTable("Ashtakavarga, " + std::string(table.Shown) + " table (" + std::string(table.Source)
            + "): bindus, Mesha to Meena",
        av.Bhinna, &av.Sarva);
    text += CountsTable("After the trikona shodhana", av.Trikona, nullptr);
    text += CountsTable("After the ekadhipatya shodhana", av.Ekadhipatya, nullptr);
    text += "\nPindas\n" + Left("", 9) + Right("Rasi", 8) + Right("Graha", 8) + Right("Shodhya", 9) + "\n";
    for (std::size_t graha = 0; graha < av.Pindas.size(); ++graha) {
        const Pinda& pinda = av.Pindas[graha];
        text += Left(NamesOf(AshtakavargaGrahas[graha]).Plain, 9) + Right(DecimalText(pinda.Rasi), 8)
            + Right(DecimalText(pinda.Graha), 8) + Right(DecimalText(pinda.Shodhya()), 9) + "\n";
    }
    return text;
}

} // namespace halvaro::ashtakavarga
