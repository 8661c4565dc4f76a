#include "vedic/Yogini.h"

#include "vedic/Zodiac.h"

#include <algorithm>

namespace halvaro::vedic {

std::size_t FirstYoginiOf(int nakshatra)
{
    // Remainder 1 is Mangala, 0 Sankata.
    return static_cast<std::size_t>((nakshatra + 3 + YoginiCount - 1) % YoginiCount);
}

std::optional<YoginiDasha> YoginiDashaOf(double moonLongitudeDeg, double birthJulianDayUt, double yearDays)
{
    const std::optional<ZodiacPlace> moon = ZodiacPlaceOf(moonLongitudeDeg);
    if (!moon || !DashaCanBeCounted(moonLongitudeDeg, birthJulianDayUt, yearDays)) {
        return std::nullopt;
    }
    constexpr double span = 40.0 / 3.0;
    const double elapsed = std::clamp((moon->Longitude - (moon->Nakshatra - 1) * span) / span, 0.0, 1.0);
    YoginiDasha dasha;
    dasha.YearDays = yearDays;
    dasha.FirstYogini = FirstYoginiOf(moon->Nakshatra);
    const double firstYears = YoginiTable[dasha.FirstYogini].Years;
    dasha.BalanceYears = (1 - elapsed) * firstYears;
    const double startJulianDay = birthJulianDayUt - elapsed * firstYears * yearDays;

    // As the Vimshottari's: every start counted from the first in whole
    // years, each boundary's date found once.
    double yearsBefore = 0;
    double mahaStart = startJulianDay;
    std::chrono::year_month_day mahaStartDate = CivilDateOf(mahaStart);
    for (std::size_t m = 0; m < dasha.Periods.size(); ++m) {
        const std::size_t yogini = (dasha.FirstYogini + m) % YoginiCount;
        const double years = YoginiTable[yogini].Years;
        yearsBefore += years;
        const double mahaEnd = startJulianDay + yearsBefore * yearDays;
        const std::chrono::year_month_day mahaEndDate = CivilDateOf(mahaEnd);
        YoginiMaha& maha = dasha.Periods[m];
        maha.Period = {yogini, mahaStart, mahaEnd, mahaStartDate, mahaEndDate};
        double antarYearsBefore = 0;
        double antarStart = mahaStart;
        std::chrono::year_month_day antarStartDate = mahaStartDate;
        for (std::size_t a = 0; a < YoginiCount; ++a) {
            const std::size_t antar = (yogini + a) % YoginiCount;
            antarYearsBefore += years * YoginiTable[antar].Years / YoginiCycleYears;
            const bool last = a + 1 == YoginiCount;
            const double antarEnd = last ? mahaEnd : mahaStart + antarYearsBefore * yearDays;
            const std::chrono::year_month_day antarEndDate = last ? mahaEndDate : CivilDateOf(antarEnd);
            maha.Sub[a] = {antar, antarStart, antarEnd, antarStartDate, antarEndDate};
            antarStart = antarEnd;
            antarStartDate = antarEndDate;
        }
        mahaStart = mahaEnd;
        mahaStartDate = mahaEndDate;
    }
    return dasha;
}

} // namespace halvaro::vedic
