#pragma once

#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"
#include "vedic/Yogini.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvaro::vedic {

// A place in its sign, truncated: 00° 19' 07" Mithuna.
std::string PositionText(const ZodiacPlace& place);

// The balance at birth: Ketu, 1 year 1 month 26 days.
std::string BalanceText(const DashaBalance& balance);

// A dasha year's days as every output writes them: 365.25, 365.2564, 360.
std::string YearDaysText(double yearDays);

// How every output that shows dasha dates heads them:
// "Vimshottari dasha (dates in Universal Time; a year is 365.25 days)".
std::string DashaHeading(double yearDays);

// The text a person reads after the result texts when asking for details:
// the positions table (graha, position, nakshatra, pada, lord, Navamsa sign,
// dignity, R for retrograde), the dasha balance at birth and the maha dasha
// table, the one running at `todayJulianDay` (UT) marked with its antar dasha.
std::string DetailsText(const ReadingDetails& details, const VimshottariDasha& dasha,
    std::optional<double> todayJulianDay);

// The Vimshottari's deeper levels for --details --dasha-levels 2 or 3: each
// maha dasha, its antar dashas indented under it and, at 3, their
// pratyantars under them; what runs at `todayJulianDay` marked.
std::string DashaLevelsText(const VimshottariDasha& dasha, std::optional<double> todayJulianDay, int levels);

// "Yogini dasha (…)", the balance at birth and the maha periods, the one
// running at `todayJulianDay` marked with its antar dasha.
std::string YoginiText(const YoginiDasha& dasha, std::optional<double> todayJulianDay);

// "Bhramari (Mars)"
std::string YoginiName(std::size_t yogini);

} // namespace halvaro::vedic
