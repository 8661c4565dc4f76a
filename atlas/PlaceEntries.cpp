#include "atlas/PlaceEntries.h"

#include "atlas/PlainLatin.h"
#include "core/Text.h"

#include <cmath>

namespace halvaro::atlas {

namespace {

std::string BoxText(const std::string& name, const std::string& fallback)
{
    std::string text = TrimBlanks(PlainLatin(name).value_or(std::string()));
    return text.empty() ? fallback : text;
}

void PutAngle(double degrees, std::string& wholeDegrees, std::string& minutes)
{
    const long long totalMinutes = std::llround(std::fabs(degrees) * 60.0);
    wholeDegrees = DecimalText(totalMinutes / 60);
    minutes = DecimalText(totalMinutes % 60);
}

} // namespace

void PutPlace(const Place& place, BirthData& entries)
{
    entries.Country = BoxText(place.Country, place.CountryCode);
    entries.City = BoxText(place.Name, entries.Country);
    entries.State = BoxText(place.State, entries.Country);
    PutAngle(place.LatitudeDeg, entries.LatDeg, entries.LatMin);
    PutAngle(place.LongitudeDeg, entries.LonDeg, entries.LonMin);
    entries.South = place.LatitudeDeg < 0;
    entries.North = !entries.South;
    entries.West = place.LongitudeDeg < 0;
    entries.East = !entries.West;
}

} // namespace halvaro::atlas
