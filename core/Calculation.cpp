#include "core/Calculation.h"

#include "aspects/GrahaDrishti.h"
#include "aspects/ReferenceTables.h"
#include "core/BirthRecord.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/GrahaPositions.h"

#include <cstdint>

namespace halvaro {

namespace {

std::int16_t Flag16(bool value)
{
    return value ? True16 : False16;
}

// A box text that is not a number leaves the field as it was: the step is
// skipped, not filled with zero.
void WriteBoxNumber(std::int16_t& field, std::string_view text)
{
    if (const auto number = BoxNumber(text)) {
        field = *number;
    }
}

} // namespace

void WriteBirthRecord(const BirthEntries& entries)
{
    using modVedicPlanetPosition::TimeZoneCount;
    using modVedicPlanetPosition::TimeZoneHourCorrections;
    using modVedicPlanetPosition::TimeZoneMinuteCorrections;

    BirthRecordType& record = BirthRecord;
    record.Name = entries.Name;
    record.Month = static_cast<std::int16_t>(entries.Month);
    record.Day = static_cast<std::int16_t>(entries.Day);
    record.Year = static_cast<std::int16_t>(entries.Year);
    record.Hour = static_cast<std::int16_t>(entries.Hour);
    record.Minute = static_cast<std::int16_t>(entries.Minute);

    // A position outside the table has no zone; the four zone fields keep
    // the previous reading's values.
    const int zone = entries.ZonePosition;
    if (zone >= 0 && zone < TimeZoneCount) {
        const std::int16_t hours = TimeZoneHourCorrections[zone];
        const std::int16_t minutes = TimeZoneMinuteCorrections[zone];
        record.ZoneHours = static_cast<std::int16_t>(hours < 0 ? -hours : hours);
        record.ZoneMinutes = static_cast<std::int16_t>(minutes < 0 ? -minutes : minutes);
        record.ZoneHourCorrection = hours;
        record.ZoneMinuteCorrection = minutes;
    }

    WriteBoxNumber(record.LongitudeDegrees, entries.LonDeg);
    WriteBoxNumber(record.LongitudeMinutes, entries.LonMin);
    WriteBoxNumber(record.LatitudeDegrees, entries.LatDeg);
    WriteBoxNumber(record.LatitudeMinutes, entries.LatMin);

    record.IsEast = Flag16(entries.East);
    record.IsSouth = Flag16(entries.South);
    record.DaylightSaving = Flag16(entries.DaylightSaving);

    // The name is kept as typed; the place names lose their outer blanks.
    record.City = TrimBlanks(entries.City);
    record.State = TrimBlanks(entries.State);
    record.Country = TrimBlanks(entries.Country);
}

void ComputeReading()
{
    modVedicPlanetPosition::ComputeAyanamsa();
    modVedicEphemeris::ComputeEphemeris();
    modVedicPlanetPosition::ComputeGrahaPositions();
    modVedicGrahaDrishti::ComputeGrahaDrishti();
}

std::optional<InputCheckFailure> CalculateReading(const BirthEntries& entries)
{
    if (auto failure = ValidateInput(entries)) {
        return failure;
    }
    modVedicPlanetPosition::FillReferenceTables();
    WriteBirthRecord(entries);
    ComputeReading();
    return std::nullopt;
}

} // namespace halvaro
