#include "chart/Navamsa.h"

#include "vedic/Signs.h"

namespace halvaro::chart {

namespace {

// The Navamsa boundaries, every 3°20', fall on whole minutes, so the Rasi
// places, cut to the minute, give the same Navamsa signs as the longitudes.
SignPlace NavamsaPlace(const SignPlace& rasi)
{
    const int arcMinutes = (rasi.Sign * 30 + rasi.Degrees) * 60 + rasi.Minutes;
    SignPlace place = rasi;
    place.Sign = vedic::NavamsaSign(arcMinutes / 60.0) - 1;
    return place;
}

} // namespace

ChartData NavamsaChart(const ChartData& rasi)
{
    ChartData navamsa = rasi;
    navamsa.Varga = Varga::Navamsa;
    for (auto& grahas : navamsa.GrahasInSign) {
        grahas.clear();
    }
    for (std::size_t graha = 0; graha < ChartGrahaCount; ++graha) {
        navamsa.Grahas[graha] = NavamsaPlace(rasi.Grahas[graha]);
        navamsa.GrahasInSign[static_cast<std::size_t>(navamsa.Grahas[graha].Sign)].push_back(static_cast<int>(graha));
    }
    if (rasi.Lagna) {
        navamsa.Lagna = NavamsaPlace(*rasi.Lagna);
    }
    return navamsa;
}

} // namespace halvaro::chart
