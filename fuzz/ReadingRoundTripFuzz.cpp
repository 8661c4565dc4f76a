// A record built from fuzz data is written to file bytes and read back: when
// the writer accepts it, the reader must accept the bytes and give back every
// field (texts trimmed of blanks), or a saved reading would not reopen.
#include "core/InputChecks.h"
#include "readings/ReadingFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "round trip lost: %s\n", what);
        std::abort();
    }
}

std::string SmallText(FuzzedDataProvider& in) { return in.ConsumeRandomLengthString(40); }

std::int16_t Between(FuzzedDataProvider& in, int low, int high)
{
    return static_cast<std::int16_t>(in.ConsumeIntegralInRange<int>(low, high));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvaro;
    using namespace halvaro::readings;
    FuzzedDataProvider in(data, size);
    BirthRecordType record;
    record.Name = SmallText(in);
    record.Month = Between(in, 1, 12);
    record.Day = Between(in, 1, 31);
    record.Year = Between(in, 1901, 2050);
    record.Hour = Between(in, 0, 23);
    record.Minute = Between(in, 0, 59);
    const int zonePosition = in.ConsumeIntegralInRange<int>(0, 70);
    record.LongitudeDegrees = Between(in, 0, 180);
    record.LongitudeMinutes = Between(in, 0, 59);
    record.LatitudeDegrees = Between(in, 0, 90);
    record.LatitudeMinutes = Between(in, 0, 59);
    record.IsEast = in.ConsumeBool() ? True16 : False16;
    record.IsSouth = in.ConsumeBool() ? True16 : False16;
    record.DaylightSaving = in.ConsumeBool() ? True16 : False16;
    record.City = SmallText(in);
    record.State = SmallText(in);
    record.Country = in.ConsumeRemainingBytesAsString();

    const BytesResult written = ReadingFileBytes(record, zonePosition);
    if (!written.Bytes) {
        Require(!written.Error.empty(), "a refused record names its field");
        return 0;
    }
    const OpenResult opened = ParseReadingFile(*written.Bytes);
    Require(opened.Reading.has_value(), "written bytes are accepted");
    const OpenedReading& r = *opened.Reading;
    Require(r.Name == TrimBlanks(record.Name), "name");
    Require(r.Month == record.Month && r.Day == record.Day && r.Year == record.Year, "date");
    Require(r.Hour == record.Hour && r.Minute == record.Minute, "time");
    Require(r.ZonePosition == zonePosition, "zone position");
    Require(r.LongitudeDegrees == std::to_string(record.LongitudeDegrees), "longitude degrees");
    Require(r.LongitudeMinutes == std::to_string(record.LongitudeMinutes), "longitude minutes");
    Require(r.LatitudeDegrees == std::to_string(record.LatitudeDegrees), "latitude degrees");
    Require(r.LatitudeMinutes == std::to_string(record.LatitudeMinutes), "latitude minutes");
    Require(r.IsEast == (record.IsEast != 0), "east");
    Require(r.IsSouth == (record.IsSouth != 0), "south");
    Require(r.DaylightSaving == (record.DaylightSaving != 0), "daylight saving");
    Require(r.City == TrimBlanks(record.City), "city");
    Require(r.State == TrimBlanks(record.State), "state");
    Require(r.Country == TrimBlanks(record.Country), "country");
    return 0;
}
