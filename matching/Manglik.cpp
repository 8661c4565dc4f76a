#include "matching/Matching.h"

#include <algorithm>
#include <cmath>

namespace halvaro::matching {

bool IsManglikHouse(int house)
{
    return std::find(ManglikHouses.begin(), ManglikHouses.end(), house) != ManglikHouses.end();
}

std::optional<bool> ManglikFinding::FromLagna() const
{
    if (!MarsFromLagna)
        return std::nullopt;
    return IsManglikHouse(*MarsFromLagna);
}

bool ManglikFinding::FromMoon() const
{
    return IsManglikHouse(MarsFromMoon);
}

bool ManglikFinding::FromVenus() const
{
    return IsManglikHouse(MarsFromVenus);
}

bool ManglikFinding::IsManglik() const
{
    return FromLagna().value_or(false) || FromMoon() || FromVenus();
}

ManglikFinding ManglikOf(const Reading& reading)
{
    const int mars = reading.Places[IndexOf(Graha::Mars)].Sign;
    ManglikFinding finding;
    if (reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed) {
        const int lagnaSign = static_cast<int>(std::floor(reading.Lagna.Longitude / 30.0)) % 12;
        finding.MarsFromLagna = SignCount(lagnaSign, mars);
    }
    finding.MarsFromMoon = SignCount(reading.Places[IndexOf(Graha::Moon)].Sign, mars);
    finding.MarsFromVenus = SignCount(reading.Places[IndexOf(Graha::Venus)].Sign, mars);
    return finding;
}

std::string ManglikConclusion(const Match& match)
{
    const bool boy = match.BoyManglik.IsManglik();
    const bool girl = match.GirlManglik.IsManglik();
    if (boy && girl)
        return "Both are Manglik: the two doshas cancel.";
    if (boy)
        return "Only the boy is Manglik: the dosha stands.";
    if (girl)
        return "Only the girl is Manglik: the dosha stands.";
    return "Neither is Manglik.";
}

} // namespace halvaro::matching
