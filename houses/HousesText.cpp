#include "houses/Houses.h"

#include "core/SignPosition.h"
#include "core/Text.h"

namespace halvaro::houses {

namespace {

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

// As the positions table writes a place: 05° 55' 15" Simha, truncated.
std::string CuspText(double longitudeDeg)
{
    const std::optional<SignPlace> place = SignPlaceOf(longitudeDeg);
    if (!place) {
        return "-";
    }
    return TwoDigits(place->Degrees) + std::string(DegreeSign) + " " + TwoDigits(place->Minutes) + "' "
        + TwoDigits(place->Seconds) + "\" " + std::string(VedicSignNames[static_cast<std::size_t>(place->Sign)]);
}

} // namespace

std::string HousesText(const Houses& houses)
{
    std::string text = "\nHouses, " + std::string(NamesOf(houses.System).Shown) + "\n";
    if (!houses.Note.empty()) {
        text += houses.Note + "\n";
    }
    if (!houses.Cusp) {
        return text;
    }
    text += "House  Cusp                   Grahas\n";
    for (std::size_t house = 0; house < houses.Cusp->size(); ++house) {
        std::string line = DecimalText(static_cast<long long>(house) + 1);
        line.append(7 - line.size(), ' ');
        const std::string cusp = CuspText((*houses.Cusp)[house]);
        // The degree sign is two bytes and one column.
        line += cusp + std::string(cusp.size() < 24 ? 24 - cusp.size() : 0, ' ');
        std::string_view separator;
        for (std::size_t graha = 0; graha < houses.Grahas.size(); ++graha) {
            if (houses.Grahas[graha] == static_cast<int>(house) + 1) {
                line.append(separator).append(GrahaNameTable[graha].Plain);
                separator = ", ";
            }
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        text += line + "\n";
    }
    return text;
}

} // namespace halvaro::houses
