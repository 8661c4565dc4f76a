#include "vedic/Vimshottari.h"

#include "vedic/Zodiac.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace halvaro::vedic {

namespace {

using namespace std::chrono;

// The Julian day at 1970 January 1, 0h UT, the system clock's epoch.
constexpr double UnixEpochJulianDay = 2440587.5;
// Julian days this far from the epoch (about 8,000 years) still have a civil date.
constexpr double FarthestDays = 3.0e6;
constexpr double NakshatraSpanDeg = 40.0 / 3.0;

constexpr std::array<int, GrahaCountWithKetu> YearsByGraha {6, 10, 17, 20, 7, 16, 19, 18, 7};

// Whole years, months and days from one date to a later one: the months are
// counted on from the first date, a day of month that the last month lacks
// standing at that month's end.
void CalendarDifference(year_month_day from, year_month_day to, DashaBalance& balance)
{
    int months = (static_cast<int>(to.year()) - static_cast<int>(from.year())) * 12
        + (static_cast<int>(static_cast<unsigned>(to.month())) - static_cast<int>(static_cast<unsigned>(from.month())));
    const auto dayAfter = [&](int m) {
        const year_month_day moved = from + std::chrono::months {m};
        return moved.ok() ? sys_days(moved) : sys_days(moved.year() / moved.month() / last);
    };
    if (months > 0 && dayAfter(months) > sys_days(to)) {
        --months;
    }
    balance.WholeYears = months / 12;
    balance.Months = months % 12;
    balance.Days = static_cast<int>((sys_days(to) - dayAfter(months)).count());
}

} // namespace

// For the Julian days of a dasha, which DashaCanBeCounted keeps finite and
// within FarthestDays of the epoch.
year_month_day CivilDateOf(double julianDayUt)
{
    const double days = std::floor(julianDayUt - UnixEpochJulianDay);
    return year_month_day {sys_days {std::chrono::days {static_cast<long>(std::clamp(days, -FarthestDays, FarthestDays))}}};
}

bool DashaCanBeCounted(double moonLongitudeDeg, double birthJulianDayUt, double yearDays)
{
    return ZodiacPlaceOf(moonLongitudeDeg) && std::isfinite(birthJulianDayUt) && yearDays > 0 && yearDays < 1000
        && std::fabs(birthJulianDayUt - UnixEpochJulianDay) <= FarthestDays - DashaCycleYears * yearDays;
}

int MahaDashaYears(Graha lord)
{
    return YearsByGraha[IndexOf(lord)];
}

std::string_view DateText(year_month_day date, DateChars& chars)
{
    const int year = static_cast<int>(date.year());
    const auto month = static_cast<unsigned>(date.month());
    const auto day = static_cast<unsigned>(date.day());
    if (year < 0 || year > 9999 || month > 99 || day > 99) {
        // Outside four digits printf's own padding decides the form.
        const int size = std::snprintf(chars.data(), chars.size(), "%04d-%02u-%02u", year, month, day);
        return {chars.data(), static_cast<std::size_t>(std::clamp(size, 0, static_cast<int>(chars.size()) - 1))};
    }
    static constexpr std::array<char, 200> pairs = [] {
        std::array<char, 200> digits {};
        for (std::size_t i = 0; i < 100; ++i) {
            digits[2 * i] = static_cast<char>('0' + i / 10);
            digits[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
        return digits;
    }();
    const auto pair = [&](std::size_t at, unsigned value) { std::memcpy(chars.data() + at, pairs.data() + 2 * value, 2); };
    const auto y = static_cast<unsigned>(year);
    pair(0, y / 100);
    pair(2, y % 100);
    chars[4] = '-';
    pair(5, month);
    chars[7] = '-';
    pair(8, day);
    return {chars.data(), 10};
}

std::string DateText(year_month_day date)
{
    DateChars chars;
    return std::string(DateText(date, chars));
}

double JulianDayOf(system_clock::time_point moment)
{
    const duration<double, days::period> sinceEpoch = moment.time_since_epoch();
    return UnixEpochJulianDay + sinceEpoch.count();
}

std::optional<VimshottariDasha> VimshottariDashaOf(double moonLongitudeDeg, double birthJulianDayUt, double yearDays)
{
    const std::optional<ZodiacPlace> moon = ZodiacPlaceOf(moonLongitudeDeg);
    if (!moon || !DashaCanBeCounted(moonLongitudeDeg, birthJulianDayUt, yearDays)) {
        return std::nullopt;
    }
    const auto nakshatra = static_cast<std::size_t>(moon->Nakshatra - 1);
    const double elapsed = std::clamp(
        (moon->Longitude - static_cast<double>(nakshatra) * NakshatraSpanDeg) / NakshatraSpanDeg, 0.0, 1.0);
    const std::size_t first = nakshatra % DashaCount;
    const Graha firstLord = NakshatraLordOrder[first];

    VimshottariDasha dasha;
    dasha.BirthJulianDay = birthJulianDayUt;
    dasha.YearDays = yearDays;
    const double firstYears = MahaDashaYears(firstLord);
    const double startJulianDay = birthJulianDayUt - elapsed * firstYears * yearDays;

    // Every start counted from the first in whole years, so that no rounding
    // accumulates over the nine. A period ends where the next begins, so each
    // boundary's date is found once.
    double mahaYearsBefore = 0;
    double mahaStart = startJulianDay;
    year_month_day mahaStartDate = CivilDateOf(mahaStart);
    for (std::size_t m = 0; m < DashaCount; ++m) {
        const std::size_t lordIndex = (first + m) % DashaCount;
        const Graha lord = NakshatraLordOrder[lordIndex];
        const double years = MahaDashaYears(lord);
        mahaYearsBefore += years;
        const double mahaEnd = startJulianDay + mahaYearsBefore * yearDays;
        const year_month_day mahaEndDate = CivilDateOf(mahaEnd);
        MahaDasha& maha = dasha.Periods[m];
        maha.Period = {lord, mahaStart, mahaEnd, mahaStartDate, mahaEndDate};
        double antarYearsBefore = 0;
        double antarStart = mahaStart;
        year_month_day antarStartDate = mahaStartDate;
        for (std::size_t a = 0; a < DashaCount; ++a) {
            const Graha antarLord = NakshatraLordOrder[(lordIndex + a) % DashaCount];
            antarYearsBefore += years * MahaDashaYears(antarLord) / DashaCycleYears;
            // The last ends exactly where its maha dasha does.
            const bool last = a + 1 == DashaCount;
            const double antarEnd = last ? mahaEnd : mahaStart + antarYearsBefore * yearDays;
            const year_month_day antarEndDate = last ? mahaEndDate : CivilDateOf(antarEnd);
            maha.Sub[a] = {antarLord, antarStart, antarEnd, antarStartDate, antarEndDate};
            antarStart = antarEnd;
            antarStartDate = antarEndDate;
        }
        mahaStart = mahaEnd;
        mahaStartDate = mahaEndDate;
    }

    DashaBalance& balance = dasha.Balance;
    balance.Lord = firstLord;
    balance.Years = (1 - elapsed) * firstYears;
    CalendarDifference(CivilDateOf(birthJulianDayUt), dasha.Periods[0].Period.End, balance);
    return dasha;
}

std::array<DashaPeriod, DashaCount> PratyantarDashas(const DashaPeriod& antar)
{
    std::array<DashaPeriod, DashaCount> sub {};
    const auto first = static_cast<std::size_t>(
        std::find(NakshatraLordOrder.begin(), NakshatraLordOrder.end(), antar.Lord) - NakshatraLordOrder.begin());
    const double length = antar.EndJulianDay - antar.StartJulianDay;
    double yearsBefore = 0;
    double start = antar.StartJulianDay;
    year_month_day startDate = antar.Start;
    for (std::size_t p = 0; p < DashaCount; ++p) {
        const Graha lord = NakshatraLordOrder[(first + p) % DashaCount];
        yearsBefore += MahaDashaYears(lord);
        const bool last = p + 1 == DashaCount;
        const double end = last ? antar.EndJulianDay : antar.StartJulianDay + length * yearsBefore / DashaCycleYears;
        const year_month_day endDate = last ? antar.End : CivilDateOf(end);
        sub[p] = {lord, start, end, startDate, endDate};
        start = end;
        startDate = endDate;
    }
    return sub;
}

std::optional<RunningDasha> RunningAt(const VimshottariDasha& dasha, double julianDayUt)
{
    for (std::size_t m = 0; m < DashaCount; ++m) {
        const MahaDasha& maha = dasha.Periods[m];
        if (!(julianDayUt >= maha.Period.StartJulianDay && julianDayUt < maha.Period.EndJulianDay)) {
            continue;
        }
        std::size_t a = 0;
        while (a + 1 < DashaCount && julianDayUt >= maha.Sub[a].EndJulianDay) {
            ++a;
        }
        const std::array<DashaPeriod, DashaCount> pratyantars = PratyantarDashas(maha.Sub[a]);
        std::size_t p = 0;
        while (p + 1 < DashaCount && julianDayUt >= pratyantars[p].EndJulianDay) {
            ++p;
        }
        return RunningDasha {m, a, p};
    }
    return std::nullopt;
}

} // namespace halvaro::vedic
