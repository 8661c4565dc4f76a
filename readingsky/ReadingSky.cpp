#include "readingsky/ReadingSky.h"

#include "sky/PreciseSky.h"

namespace halvaro::readingsky {

ReadingResult CalculateReading(const Birth& birth, SkyModel sky)
{
    return sky == SkyModel::Precise ? sky::CalculatePreciseReading(birth) : halvaro::CalculateReading(birth);
}

ReadingResult CalculateReading(const BirthData& entries, SkyModel sky)
{
    const BirthCheck checked = ValidateInput(entries);
    if (checked.Failure) {
        return {checked.Failure, {}};
    }
    return CalculateReading(checked.Value, sky);
}

std::string_view SkyCaption(SkyModel sky)
{
    return sky == SkyModel::Precise ? "Sky: precise (Swiss Ephemeris, Lahiri)" : "Sky: classic model";
}

} // namespace halvaro::readingsky
