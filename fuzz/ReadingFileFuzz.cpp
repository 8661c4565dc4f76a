// Any bytes at all go to the reading-file parser. Besides not crashing, a
// file it accepts must hold only values the input screen can show: a reading
// outside its lists would be applied to the window without complaint.
#include "readings/ReadingFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string_view>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "accepted reading breaks a rule: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvaro::readings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const OpenResult result = ParseReadingFile(bytes);
    if (!result.Reading) {
        Require(!result.Reason.empty(), "a refused file names its reason");
        return 0;
    }
    const halvaro::BirthData& r = *result.Reading;
    Require(r.Month >= 1 && r.Month <= 12, "month in 1..12");
    Require(r.Day >= 1 && r.Day <= 31, "day in 1..31");
    Require(r.Year >= 1600 && r.Year <= 2399, "year in 1600..2399");
    Require(r.Hour >= 0 && r.Hour <= 23, "hour in 0..23");
    Require(r.Minute >= 0 && r.Minute <= 59, "minute in 0..59");
    Require(r.ZonePosition >= 0 && r.ZonePosition <= 70, "zone position in 0..70");
    return 0;
}
