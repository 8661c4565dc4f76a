#include "matching/Matching.h"

#include <charconv>
#include <cmath>

namespace halvaro::matching {

namespace {

std::string Padded(std::string text, std::size_t width)
{
    // Widths count characters; the kuta names and points are ASCII.
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

std::string ManglikText(const ManglikFinding& finding)
{
    const auto one = [](std::string_view from, std::optional<int> house) {
        if (!house)
            return std::string(from) + " no Lagna";
        return std::string(from) + " " + HouseText(*house) + (IsManglikHouse(*house) ? " (Manglik)" : "");
    };
    return "Mars " + one("from the Lagna", finding.MarsFromLagna) + ", " + one("from the Moon", finding.MarsFromMoon)
        + ", " + one("from Venus", finding.MarsFromVenus) + ": " + (finding.IsManglik() ? "Manglik" : "not Manglik");
}

std::string DoshaText(const Ashtakoota& kutas)
{
    if (kutas.Doshas.empty())
        return {};
    std::string text = "Doshas:";
    for (std::string_view dosha : kutas.Doshas)
        text += " " + std::string(dosha) + " dosha" + (dosha == kutas.Doshas.back() ? "." : ",");
    return text + " " + std::string(DoshaCancellationNote);
}

std::string PointsText(double points)
{
    // Points are whole or halves; written with the C locale's point.
    char buffer[16];
    const bool whole = std::floor(points) == points;
    const auto result = whole ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<int>(points))
                              : std::to_chars(buffer, buffer + sizeof buffer, points, std::chars_format::fixed, 1);
    return std::string(buffer, result.ptr);
}

std::string MatchText(const Match& match, std::string_view boyName, std::string_view girlName)
{
    const Ashtakoota& kutas = match.Kutas;
    std::string text;
    text += "Boy:  " + std::string(boyName) + ", " + MoonStarText(kutas.Boy) + "\n";
    text += "Girl: " + std::string(girlName) + ", " + MoonStarText(kutas.Girl) + "\n\n";
    text += "Kuta          Points  Max  Reason\n";
    for (const KutaScore& kuta : kutas.Kutas)
        text += Padded(std::string(kuta.Name), 14) + Padded(PointsText(kuta.Points), 8)
            + Padded(std::to_string(kuta.Max), 5) + kuta.Reason + "\n";
    text += Padded("Total", 14) + Padded(PointsText(kutas.Total), 8) + Padded(std::to_string(AshtakootaMax), 5)
        + std::string(kutas.Verdict) + "\n";
    if (!kutas.Doshas.empty())
        text += DoshaText(kutas) + "\n";
    text += "\nManglik (Mars in the 1st, 2nd, 4th, 7th, 8th or 12th house, whole signs):\n";
    text += "Boy:  " + ManglikText(match.BoyManglik) + "\n";
    text += "Girl: " + ManglikText(match.GirlManglik) + "\n";
    text += ManglikConclusion(match) + "\n";
    return text;
}

} // namespace halvaro::matching
