#pragma once

#include "core/Graha.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The Vimshottari dasha: nine maha dashas of 120 years in all, from the
// nakshatra the Moon stands in at birth, each divided into nine antar dashas.
namespace halvaro::vedic {

inline constexpr int DashaCycleYears = 120;
inline constexpr int DashaCount = 9;

// Maha dasha years of a graha: Ketu 7, Venus 20, Sun 6, Moon 10, Mars 7,
// Rahu 18, Jupiter 16, Saturn 19, Mercury 17.
int MahaDashaYears(Graha lord);

// A civil date as YYYY-MM-DD.
std::string DateText(std::chrono::year_month_day date);

// The same into a caller's buffer, for the dasha table's 180 dates a line;
// the text stays valid while the buffer does.
using DateChars = std::array<char, 16>;
std::string_view DateText(std::chrono::year_month_day date, DateChars& chars);

// The Julian day (UT) of a moment, e.g. of system_clock::now() for today.
double JulianDayOf(std::chrono::system_clock::time_point moment);

// Start and End are the civil dates (proleptic Gregorian, Universal Time) of
// the Julian days.
struct DashaPeriod {
    Graha Lord = Graha::Ketu;
    double StartJulianDay = 0; // UT
    double EndJulianDay = 0;   // the next period's start
    std::chrono::year_month_day Start;
    std::chrono::year_month_day End;
};

struct MahaDasha {
    DashaPeriod Period;
    // In order from the maha lord; each lasts maha years x antar years / 120.
    std::array<DashaPeriod, DashaCount> Sub;
};

// The part of the first maha dasha still to run at birth: its length as a
// number of years, and as whole years, months and days from the birth date
// to the date it ends (so that the three added to the birth date give the
// end date the table shows).
struct DashaBalance {
    Graha Lord = Graha::Ketu;
    double Years = 0;
    int WholeYears = 0;
    int Months = 0;
    int Days = 0;
};

struct VimshottariDasha {
    double BirthJulianDay = 0;
    // The days of a dasha year the dates were counted in; every output that
    // shows dates says so.
    double YearDays = 0;
    DashaBalance Balance;
    // The first begins before birth, when the Moon entered its nakshatra, so
    // that the nine cover the whole 120 years; the balance is what is left of it.
    std::array<MahaDasha, DashaCount> Periods;
};

// Whether a dasha can be counted: not for a Moon longitude, a Julian day or a
// year that is not finite (or not positive), nor for a birth further than a
// few thousand years from today's calendar.
bool DashaCanBeCounted(double moonLongitudeDeg, double birthJulianDayUt, double yearDays);

// The civil date (proleptic Gregorian, Universal Time) of a dasha's Julian day.
std::chrono::year_month_day CivilDateOf(double julianDayUt);

// Nothing where DashaCanBeCounted says no.
std::optional<VimshottariDasha> VimshottariDashaOf(double moonLongitudeDeg, double birthJulianDayUt, double yearDays);

// The nine pratyantar dashas of an antar dasha, the third level: in order
// from the antar lord, each lasting the antar's length x its lord's years /
// 120, the last ending where the antar does.
std::array<DashaPeriod, DashaCount> PratyantarDashas(const DashaPeriod& antar);

// The maha, antar and pratyantar dasha (indices into Periods, Sub and
// PratyantarDashas' nine) running at a moment; nothing before the first or
// after the last.
struct RunningDasha {
    std::size_t Maha = 0;
    std::size_t Antar = 0;
    std::size_t Pratyantar = 0;
};
std::optional<RunningDasha> RunningAt(const VimshottariDasha& dasha, double julianDayUt);

} // namespace halvaro::vedic
