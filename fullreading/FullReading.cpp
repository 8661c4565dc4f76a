#include "fullreading/FullReading.h"

#include "aspects/GrahaDrishti.h"
#include "sky/PreciseSky.h"

#include <cmath>

namespace halvaro::fullreading {

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

std::vector<SkyDifference> SkyDifferences(const Reading& reading)
{
    std::vector<SkyDifference> differences;
    if (reading.Sky != SkyModel::Classic) {
        return differences;
    }
    const std::optional<sky::SkyPositions> precise = sky::PrecisePositions(reading.Moment.JulianDay);
    if (!precise) {
        return differences;
    }
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const int preciseSign = static_cast<int>(std::floor(precise->Longitudes[graha] / 30)) % 12;
        if (preciseSign != reading.Places[graha].Sign) {
            differences.push_back({static_cast<Graha>(graha), preciseSign});
        }
    }
    return differences;
}

std::string PreciseSkyPlaces(const std::vector<SkyDifference>& differences)
{
    std::string places;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const Graha graha = differences[i].Which;
        places += i == 0 ? "in the precise sky " : i + 1 == differences.size() ? " and " : ", ";
        if (graha == Graha::Sun || graha == Graha::Moon) {
            places += "the ";
        }
        places += NamesOf(graha).Plain;
        places += i == 0 ? " stands in " : " in ";
        places += modVedicGrahaDrishti::VedicSignNames[static_cast<std::size_t>(differences[i].PreciseSign)];
    }
    return places;
}

std::string SkyDifferencesSentence(const Reading& reading)
{
    std::string sentence = PreciseSkyPlaces(SkyDifferences(reading));
    if (!sentence.empty()) {
        sentence[0] = 'I';
        sentence += '.';
    }
    return sentence;
}

std::string SkyCaptionWithDifferences(SkyModel sky, const std::vector<SkyDifference>& differences)
{
    std::string caption(SkyCaption(sky));
    if (!differences.empty()) {
        caption += " \u2014 " + PreciseSkyPlaces(differences);
    }
    return caption;
}

} // namespace halvaro::fullreading
