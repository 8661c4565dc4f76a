// ashtakavarga/ holds the ashtakavarga of a chart from the signs of the seven grahas and the Lagna: the bhinna
// ashtakavarga of each graha under a named table of benefic places, the sarva, the trikona and ekadhipatya
// shodhana and the pindas.
#pragma once

#include "core/Graha.h"
#include "core/SignPosition.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::ashtakavarga {

// The seven grahas that have an ashtakavarga, in the weekday order the texts
// list them in, and the eight that give bindus: the seven, then the Lagna.
inline constexpr int AshtakavargaGrahaCount = 7;
inline constexpr int ContributorCount = 8;
inline constexpr std::array<Graha, AshtakavargaGrahaCount> AshtakavargaGrahas {
    Graha::Sun, Graha::Moon, Graha::Mars, Graha::Mercury, Graha::Jupiter, Graha::Venus, Graha::Saturn};

// The texts differ on where a contributor gives its bindu; each table is
// named after its text.
enum class BeneficTable { Parashari, Count };
inline constexpr auto BeneficTableCount = static_cast<std::size_t>(BeneficTable::Count);

struct BeneficTableNames {
    std::string_view Option; // as --ashtakavarga-table takes it
    std::string_view Shown;  // as the outputs name it
    std::string_view Source; // the text it is taken from
};
const BeneficTableNames& NamesOf(BeneficTable table);
// The table an option names; nothing for another text.
std::optional<BeneficTable> BeneficTableNamed(std::string_view option);

// The tables' columns name the signs as every table does.
using halvaro::ShortSignNames;

// Twelve counts, Mesha first.
using Signs12 = std::array<int, 12>;
using PerGraha = std::array<Signs12, AshtakavargaGrahaCount>;

struct Pinda {
    int Rasi = 0;  // the bindus left after both shodhanas, times the sign's multiplier
    int Graha = 0; // the same in the signs the grahas occupy, times the graha's multiplier
    [[nodiscard]] int Shodhya() const { return Rasi + Graha; }
};

struct Ashtakavarga {
    BeneficTable Table = BeneficTable::Parashari;
    PerGraha Bhinna {};
    Signs12 Sarva {};
    PerGraha Trikona {};     // the bhinna after the trikona shodhana
    PerGraha Ekadhipatya {}; // then after the ekadhipatya shodhana
    std::array<Pinda, AshtakavargaGrahaCount> Pindas {};
};

// The signs (0 Mesha .. 11 Meena) of the seven grahas, in AshtakavargaGrahas'
// order, then of the Lagna.
using ContributorSigns = std::array<int, ContributorCount>;

// Nothing when a sign is not 0 to 11.
std::optional<Ashtakavarga> AshtakavargaOf(const ContributorSigns& signs, BeneficTable table);

// The bindus a bhinna ashtakavarga of a table holds in every chart, the
// graha's row total.
int BinduTotal(BeneficTable table, std::size_t graha);

// The steps, for a bhinna of twelve: each sign of a trikona (Mesha, Simha,
// Dhanus and the three others) less the smallest of the three; then for the
// five pairs of signs one graha owns, the rule of the occupied and the empty
// sign. `occupied` marks the signs a graha of the seven stands in.
Signs12 TrikonaShodhana(const Signs12& bindus);
Signs12 EkadhipatyaShodhana(const Signs12& bindus, const std::array<bool, 12>& occupied);

// The --details text: the table's name and source; the bhinnas with their
// totals and the sarva; the same after each shodhana; the pindas.
std::string AshtakavargaText(const Ashtakavarga& av);

} // namespace halvaro::ashtakavarga
