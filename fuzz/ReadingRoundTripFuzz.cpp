// Birth data built from fuzz data are written to file bytes and read back: when
// the writer accepts it, the reader must accept the bytes and give back every
// field (texts trimmed of blanks), or a saved reading would not reopen.
#include "core/InputChecks.h"
#include "core/Text.h"
#include "readings/ReadingExtras.h"
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
    // An offset the list may lack, to the second, or the place's mean time,
    // and the conventions of either sky.
    const bool exact = in.ConsumeBool();
    ExactOffset given;
    given.UtcOffsetSeconds = Between(in, -15 * 3600, 15 * 3600);
    given.LocalMeanTime = in.ConsumeBool();
    given.TimeZone = in.ConsumeBool() ? "America/Argentina/Buenos_Aires" : "";
    Conventions chosen = DefaultConventions(in.ConsumeBool() ? SkyModel::Precise : SkyModel::Classic);
    if (chosen.Sky == SkyModel::Precise) {
        chosen.Ayanamsa = static_cast<AyanamsaSystem>(Between(in, 0, static_cast<int>(AyanamsaSystemCount) - 1));
        if (chosen.Ayanamsa == AyanamsaSystem::User) {
            chosen.User = {Between(in, 0, 359) + in.ConsumeProbability<double>() * 0.999, Between(in, 1600, 2399),
                Between(in, 1, 12), Between(in, 1, 28)};
        }
        chosen.Node = in.ConsumeBool() ? NodeKind::True : NodeKind::Mean;
        chosen.DashaYearDays = DashaYearChoices[static_cast<std::size_t>(Between(in, 0, 2))];
    }
    birth.Country = in.ConsumeRemainingBytesAsString();

    // Files hold every year of the precise sky.
    const Conventions Wide = DefaultConventions(SkyModel::Precise);
    const BirthCheck checked = ValidateInput(birth, Wide, exact ? &given : nullptr);
    if (checked.Failure) {
        return 0; // the window would not have saved it either
    }
    const BytesResult written = ReadingFileBytes(checked.Value, chosen);
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
    const Birth& b = checked.Value;
    const ZoneChoice entry = b.Zone.value_or(ZoneChoice {NearestListEntry(UtcOffsetSecondsOf(b)), false});
    Require(r.ZonePosition == entry.Position, "zone position");
    Require(r.LonDeg == std::to_string(lonDeg), "longitude degrees");
    Require(r.LonMin == std::to_string(lonMin), "longitude minutes");
    Require(r.LatDeg == std::to_string(latDeg), "latitude degrees");
    Require(r.LatMin == std::to_string(latMin), "latitude minutes");
    Require(r.East == birth.East && r.West == birth.West, "east");
    Require(r.South == birth.South && r.North == birth.North, "south");
    Require(r.DaylightSaving == entry.DaylightSaving, "daylight saving");
    Require(opened.Chosen.value_or(Conventions {}) == chosen, "sky and conventions");
    Require(r.City == TrimBlanks(birth.City), "city");
    Require(r.State == TrimBlanks(birth.State), "state");
    Require(r.Country == TrimBlanks(birth.Country), "country");
    // Opened, the file gives the birth it was written from.
    const BirthCheck reopened = ValidateInput(r, Wide, opened.Offset ? &*opened.Offset : nullptr);
    Require(!reopened.Failure, "the opened reading passes the checks");
    Require(UtcOffsetSecondsOf(reopened.Value) == UtcOffsetSecondsOf(b), "offset");
    Require(reopened.Value.TimeZone == b.TimeZone && reopened.Value.LocalMeanTime == b.LocalMeanTime, "zone");
    // An offset given without its entry comes back with the entry line 7
    // holds when that gives it exactly.
    const std::optional<ZoneChoice>& back = reopened.Value.Zone;
    Require(b.Zone ? back && back->Position == b.Zone->Position && back->DaylightSaving == b.Zone->DaylightSaving
                   : !back || ListEntryOffsetSeconds(*back) == UtcOffsetSecondsOf(b),
        "zone list entry");
    Require(reopened.Value.LatitudeDeg == checked.Value.LatitudeDeg, "latitude");
    Require(reopened.Value.LongitudeDeg == checked.Value.LongitudeDeg, "longitude");
    return 0;
}
