#include "core/BirthRecord.h"

#include "core/InputChecks.h"
#include "core/Text.h"
#include "core/TimeZones.h"

namespace halvaro {

BirthRecordType BirthRecord;

namespace {

std::int16_t Flag16(bool value)
{
    return value ? True16 : False16;
}

void TakeBoxNumber(std::int16_t& field, std::string_view text)
{
    if (const auto number = BoxNumber(text)) {
        field = *number;
    }
}

} // namespace

BirthRecordType BirthRecordOf(const BirthData& data, const BirthRecordType& base)
{
    BirthRecordType record = base;
    record.Name = data.Name;
    record.Month = static_cast<std::int16_t>(data.Month);
    record.Day = static_cast<std::int16_t>(data.Day);
    record.Year = static_cast<std::int16_t>(data.Year);
    record.Hour = static_cast<std::int16_t>(data.Hour);
    record.Minute = static_cast<std::int16_t>(data.Minute);

    if (ZoneRange.Contains(data.ZonePosition)) {
        const TimeZone& zone = TimeZoneTable[static_cast<std::size_t>(data.ZonePosition)];
        const std::int16_t hours = zone.HourCorrection;
        const std::int16_t minutes = zone.MinuteCorrection;
        record.ZoneHours = static_cast<std::int16_t>(hours < 0 ? -hours : hours);
        record.ZoneMinutes = static_cast<std::int16_t>(minutes < 0 ? -minutes : minutes);
        record.ZoneHourCorrection = hours;
        record.ZoneMinuteCorrection = minutes;
    }

    TakeBoxNumber(record.LongitudeDegrees, data.LonDeg);
    TakeBoxNumber(record.LongitudeMinutes, data.LonMin);
    TakeBoxNumber(record.LatitudeDegrees, data.LatDeg);
    TakeBoxNumber(record.LatitudeMinutes, data.LatMin);

    record.IsEast = Flag16(data.East);
    record.IsSouth = Flag16(data.South);
    record.DaylightSaving = Flag16(data.DaylightSaving);

    // The name is kept as typed; the place names lose their outer blanks.
    record.City = TrimBlanks(data.City);
    record.State = TrimBlanks(data.State);
    record.Country = TrimBlanks(data.Country);
    return record;
}

} // namespace halvaro
