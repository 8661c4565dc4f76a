#pragma once

#include "vedic/GrahaDetails.h"
#include "vedic/Vimshottari.h"

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

} // namespace halvaro::vedic
