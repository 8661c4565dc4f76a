#include "positions/BirthMoment.h"

#include "core/Angles.h"
#include "core/BirthRecord.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

double LocalHours = 0;
double ZoneOffsetHours = 0;
double WestLongitude = 0;
double BirthJulianDay = 0;
double UniversalHours = 0;
double CenturiesSince1900 = 0;
double Ayanamsa = 0;

double CenturiesSince1900Of(double birthJulianDay, double universalHours)
{
    return ((birthJulianDay - 2415020) + universalHours / 24 - 0.5) / 36525;
}

double AyanamsaDegrees(double centuries)
{
    // Newcomb's general precession in longitude (5025.64" + 1.11" T per
    // century, T from 1900) with the two largest terms of the nutation in
    // longitude (17.23" sin of the Moon's node, 1.27" sin of twice the Sun's
    // mean longitude, both arguments in arc-seconds of 1900's elements),
    // about the epoch value 80861.27".
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
    CenturiesSince1900 = CenturiesSince1900Of(BirthJulianDay, UniversalHours);

    const double ayanamsa = AyanamsaDegrees(CenturiesSince1900);
    if (!std::isfinite(ayanamsa)) {
        return;
    }
    Ayanamsa = ayanamsa;
}

} // namespace halvaro::modVedicPlanetPosition
