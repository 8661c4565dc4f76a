#include "positions/BirthMoment.h"

#include "core/BirthRecord.h"
#include "positions/OrbitalElements.h"
#include "positions/TurnReduction.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

double LocalHours = 0;
double ZoneOffsetHours = 0;
double WestLongitude = 0;
double BirthJulianDay = 0;
double UniversalHours = 0;
double CenturiesSince1900 = 0;
double Ayanamsa = 0;

namespace {

double ClockHours(int hour, int minute)
{
    return static_cast<double>(hour) + static_cast<double>(minute) / 60;
}

// The zone's own signed correction; daylight saving moves Universal Time one
// hour earlier wherever the birth place lies. Following the zone's sign, not
// the hemisphere, keeps a western birth under an eastern zone (Spain under
// CET) at the right moment; where the two agree the bits are the same as
// taking the size of the zone and the direction of the longitude.
double ZoneCorrectionHours(int zoneHourCorrection, int zoneMinuteCorrection, bool daylightSaving)
{
    double hours = static_cast<double>(zoneHourCorrection) + static_cast<double>(zoneMinuteCorrection) / 60;
    if (daylightSaving) {
        hours = hours - 1;
    }
    return hours;
}

} // namespace

double BirthUniversalHours(int hour, int minute, int zoneHourCorrection, int zoneMinuteCorrection,
    bool daylightSaving)
{
    return ClockHours(hour, minute) + ZoneCorrectionHours(zoneHourCorrection, zoneMinuteCorrection, daylightSaving);
}

double JulianDayNumber(int month, int day, int year)
{
    const double m = 12 * (static_cast<double>(year) + 4800) + month - 3;
    double j = std::floor((2 * (m - 12 * std::floor(m / 12)) + 7 + 365 * m) / 12) + day + std::floor(m / 48) - 32083;
    if (j > 2299171) {
        j = j + std::floor(m / 4800) - std::floor(m / 1200) + 38;
    }
    return j;
}

double AyanamsaDegrees(double centuries)
{
    const double t = centuries;
    // The node's longitude is brought below 360 only from above; a negative
    // value keeps its sign.
    const double n = SubtractTurnsWhileAtLeast360((933060 - 6962911 * t + 7.5 * (t * t)) / 3600);
    const double s = (259205536 * t + 2013816) / 3600;
    const double p = 17.23 * std::sin(n * DegToRad) + 1.27 * std::sin(s * DegToRad) - (5025.64 + 1.11 * t) * t;
    return (p - 80861.27) / 3600;
}

void ComputeAyanamsa()
{
    const BirthRecordType& birth = BirthRecord;
    const bool daylightSaving = birth.DaylightSaving != False16;

    LocalHours = ClockHours(birth.Hour, birth.Minute);
    ZoneOffsetHours = ZoneCorrectionHours(birth.ZoneHourCorrection, birth.ZoneMinuteCorrection, daylightSaving);
    double west = static_cast<double>(birth.LongitudeDegrees) + static_cast<double>(birth.LongitudeMinutes) / 60;
    if (birth.IsEast != False16) {
        west = -west;
    }
    WestLongitude = west;
    BirthJulianDay = JulianDayNumber(birth.Month, birth.Day, birth.Year);
    UniversalHours = LocalHours + ZoneOffsetHours;
    CenturiesSince1900 = ((BirthJulianDay - 2415020) + UniversalHours / 24 - 0.5) / 36525;

    const double ayanamsa = AyanamsaDegrees(CenturiesSince1900);
    if (!std::isfinite(ayanamsa)) {
        return;
    }
    Ayanamsa = ayanamsa;
}

} // namespace halvaro::modVedicPlanetPosition
