// Birth data built from fuzz data are written to file bytes and read back: when
// the writer accepts it, the reader must accept the bytes and give back every
// field (texts trimmed of blanks), or a saved reading would not reopen.
#include "core/InputChecks.h"
#include "core/Text.h"
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

int Between(FuzzedDataProvider& in, int low, int high)
{
    return in.ConsumeIntegralInRange<int>(low, high);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvaro;
    using namespace halvaro::readings;
    FuzzedDataProvider in(data, size);
    BirthData birth;
    birth.Name = SmallText(in);
    birth.Month = Between(in, 1, 12);
    birth.Day = Between(in, 1, 31);
    birth.Year = Between(in, 1600, 2399);
    birth.Hour = Between(in, 0, 23);
    birth.Minute = Between(in, 0, 59);
    birth.ZonePosition = Between(in, 0, 70);
    const int lonDeg = Between(in, 0, 180);
    const int lonMin = Between(in, 0, 59);
    const int latDeg = Between(in, 0, 90);
    const int latMin = Between(in, 0, 59);
    birth.LonDeg = std::to_string(lonDeg);
    birth.LonMin = std::to_string(lonMin);
    birth.LatDeg = std::to_string(latDeg);
    birth.LatMin = std::to_string(latMin);
    birth.East = in.ConsumeBool();
    birth.West = !birth.East;
    birth.South = in.ConsumeBool();
    birth.North = !birth.South;
    birth.DaylightSaving = in.ConsumeBool();
    birth.City = SmallText(in);
    birth.State = SmallText(in);
    birth.Country = in.ConsumeRemainingBytesAsString();

    // Files hold every year of the precise sky.
    const Conventions Wide = DefaultConventions(SkyModel::Precise);
    const BirthCheck checked = ValidateInput(birth, Wide);
    if (checked.Failure) {
        return 0; // the window would not have saved it either
    }
    const BytesResult written = ReadingFileBytes(checked.Value);
    if (!written.Bytes) {
        Require(!written.Error.empty(), "a refused record names its field");
        return 0;
    }
    const OpenResult opened = ParseReadingFile(*written.Bytes);
    Require(opened.Reading.has_value(), "written bytes are accepted");
    const BirthData& r = *opened.Reading;
    Require(r.Name == TrimBlanks(birth.Name), "name");
    Require(r.Month == birth.Month && r.Day == birth.Day && r.Year == birth.Year, "date");
    Require(r.Hour == birth.Hour && r.Minute == birth.Minute, "time");
    Require(r.ZonePosition == birth.ZonePosition, "zone position");
    Require(r.LonDeg == std::to_string(lonDeg), "longitude degrees");
    Require(r.LonMin == std::to_string(lonMin), "longitude minutes");
    Require(r.LatDeg == std::to_string(latDeg), "latitude degrees");
    Require(r.LatMin == std::to_string(latMin), "latitude minutes");
    Require(r.East == birth.East && r.West == birth.West, "east");
    Require(r.South == birth.South && r.North == birth.North, "south");
    Require(r.DaylightSaving == birth.DaylightSaving, "daylight saving");
    Require(r.City == TrimBlanks(birth.City), "city");
    Require(r.State == TrimBlanks(birth.State), "state");
    Require(r.Country == TrimBlanks(birth.Country), "country");
    // Opened, the file gives the birth it was written from.
    const BirthCheck reopened = ValidateInput(r, Wide);
    Require(!reopened.Failure, "the opened reading passes the checks");
    Require(reopened.Value.UtcOffsetMinutes == checked.Value.UtcOffsetMinutes, "offset");
    Require(reopened.Value.LatitudeDeg == checked.Value.LatitudeDeg, "latitude");
    Require(reopened.Value.LongitudeDeg == checked.Value.LongitudeDeg, "longitude");
    return 0;
}
