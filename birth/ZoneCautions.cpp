#include "birth/ZoneCautions.h"

#include "atlas/ZoneHistory.h"
#include "core/InputChecks.h"
#include "core/TimeZones.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace halvaro::birth {

namespace {

// Names that hold daylight saving in their offset already.
constexpr std::array<std::string_view, 3> DaylightWords {"Daylight", "Summer", "War"};

std::string Quoted(std::string_view text)
{
    return "\u201C" + std::string(text) + "\u201D";
}

std::string OffsetOf(const Birth& birth)
{
    return "UTC" + atlas::UtcOffsetSecondsText(UtcOffsetSecondsOf(birth));
}

} // namespace

std::optional<std::string> DaylightTwiceQuestion(const Birth& birth)
{
    // Only where the list gave the offset: a found zone's entry is the
    // database's own reading.
    if (!birth.Zone || !birth.Zone->DaylightSaving || !birth.TimeZone.empty() || birth.LocalMeanTime) {
        return std::nullopt;
    }
    const std::string_view name = TimeZoneTable[static_cast<std::size_t>(birth.Zone->Position)].Name;
    for (const std::string_view word : DaylightWords) {
        if (name.find(word) != std::string_view::npos) {
            return "The zone " + Quoted(name) + " already counts daylight saving, and the Daylight Saving Time "
                   "box adds another hour: the birth would be at " + OffsetOf(birth)
                + ". Calculate at " + OffsetOf(birth) + " all the same?";
        }
    }
    return std::nullopt;
}

std::optional<std::string> FarFromMeanTimeQuestion(const Birth& birth)
{
    const int meanTime = LocalMeanTimeSeconds(birth.LongitudeDeg);
    if (std::abs(UtcOffsetSecondsOf(birth) - meanTime) <= FarFromMeanTimeSeconds) {
        return std::nullopt;
    }
    const std::string zone = birth.Zone
        ? "the zone " + Quoted(TimeZoneTable[static_cast<std::size_t>(birth.Zone->Position)].Name)
        : std::string("the offset");
    return "The time zone was not chosen, and " + zone + " gives " + OffsetOf(birth)
        + ", more than three hours from the mean time of the longitude (UTC" + atlas::UtcOffsetSecondsText(meanTime)
        + "). Calculate at " + OffsetOf(birth) + " all the same?";
}

} // namespace halvaro::birth
