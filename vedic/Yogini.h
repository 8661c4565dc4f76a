#pragma once

#include "vedic/Vimshottari.h"

#include <array>
#include <optional>
#include <string_view>

// The Yogini dasha: eight yoginis of 1 to 8 years, 36 in a round, from the
// nakshatra the Moon stands in at birth, each divided into eight antar dashas.
namespace halvaro::vedic {

inline constexpr int YoginiCount = 8;
inline constexpr int YoginiCycleYears = 36;
// Three rounds, 108 years from the start of the first.
inline constexpr int YoginiRounds = 3;

struct YoginiRow {
    std::string_view Name;
    Graha Lord;
    int Years;
};
// Each yogini with its lord and years.
inline constexpr std::array<YoginiRow, YoginiCount> YoginiTable {{
    {"Mangala", Graha::Moon, 1},
    {"Pingala", Graha::Sun, 2},
    {"Dhanya", Graha::Jupiter, 3},
    {"Bhramari", Graha::Mars, 4},
    {"Bhadrika", Graha::Mercury, 5},
    {"Ulka", Graha::Saturn, 6},
    {"Siddha", Graha::Venus, 7},
    {"Sankata", Graha::Rahu, 8},
}};

struct YoginiPeriod {
    std::size_t Yogini = 0; // into YoginiTable
    double StartJulianDay = 0;
    double EndJulianDay = 0;
    std::chrono::year_month_day Start;
    std::chrono::year_month_day End;
};

struct YoginiMaha {
    YoginiPeriod Period;
    // In order from the maha yogini; each lasts its years x the antar's / 36.
    std::array<YoginiPeriod, YoginiCount> Sub;
};

struct YoginiDasha {
    double YearDays = 0;
    std::size_t FirstYogini = 0;
    double BalanceYears = 0; // what is left of the first at birth
    // The first begins before birth, when the Moon entered its nakshatra.
    std::array<YoginiMaha, YoginiCount * YoginiRounds> Periods;
};

// The first yogini of a birth in the nakshatra (1 Ashwini .. 27 Revati):
// the nakshatra's number and three, counted round the eight from Mangala.
std::size_t FirstYoginiOf(int nakshatra);

// Nothing where VimshottariDashaOf gives none.
std::optional<YoginiDasha> YoginiDashaOf(double moonLongitudeDeg, double birthJulianDayUt, double yearDays);

} // namespace halvaro::vedic
