#include "vedic/DetailsText.h"

#include "core/Text.h"

namespace halvaro::vedic {

namespace {

// Pads to a width in characters (not bytes: the degree sign takes two).
std::string Padded(std::string text, std::size_t width)
{
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters < width) {
        text.append(width - characters, ' ');
    }
    return text;
}

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

std::string PositionRow(const GrahaDetails& row)
{
    const ZodiacPlace& place = row.Place;
    std::string line = Padded(std::string(row.Name), 8) + Padded(PositionText(place), 24)
        + Padded(std::string(place.NakshatraName()), 19) + Padded(DecimalText(place.Pada), 6)
        + Padded(std::string(NamesOf(place.NakshatraLord).Plain), 9)
        + Padded(std::string(place.NavamsaName()), 11)
        + Padded(std::string(DignityName(row.Dignity)), 14) + (row.Retrograde ? "R" : "");
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line + "\n";
}

std::string Plural(int count, std::string_view unit)
{
    return DecimalText(count) + " " + std::string(unit) + (count == 1 ? "" : "s");
}

} // namespace

std::string PositionText(const ZodiacPlace& place)
{
    return TwoDigits(place.Rasi.Degrees) + std::string(DegreeSign) + " " + TwoDigits(place.Rasi.Minutes) + "' "
        + TwoDigits(place.Rasi.Seconds) + "\" " + std::string(place.SignName());
}

std::string BalanceText(const DashaBalance& balance)
{
    return std::string(NamesOf(balance.Lord).Plain) + ", " + Plural(balance.WholeYears, "year") + " "
        + Plural(balance.Months, "month") + " " + Plural(balance.Days, "day");
}

std::string YearDaysText(double yearDays)
{
    return ShortestDecimalText(yearDays);
}

std::string DashaHeading(double yearDays)
{
    return "Vimshottari dasha (dates in Universal Time; a year is " + YearDaysText(yearDays) + " days)";
}

std::string DetailsText(const ReadingDetails& details, const VimshottariDasha& dasha,
    std::optional<double> todayJulianDay)
{
    std::string text = "Positions (sidereal)\n";
    text += Padded("Graha", 8) + Padded("Position", 24) + Padded("Nakshatra", 19) + Padded("Pada", 6)
        + Padded("Lord", 9) + Padded("Navamsa", 11) + Padded("Dignity", 14) + "R\n";
    for (const GrahaDetails& row : details.Grahas) {
        text += PositionRow(row);
    }
    if (details.Lagna) {
        text += PositionRow(*details.Lagna);
    }

    text += "\n" + DashaHeading(dasha.YearDays) + "\n";
    text += "Balance at birth: " + BalanceText(dasha.Balance) + "\n";
    const std::optional<RunningDasha> running =
        todayJulianDay ? RunningAt(dasha, *todayJulianDay) : std::optional<RunningDasha> {};
    text += Padded("Maha dasha", 12) + Padded("Start", 12) + "End\n";
    for (std::size_t m = 0; m < dasha.Periods.size(); ++m) {
        const DashaPeriod& period = dasha.Periods[m].Period;
        text += Padded(std::string(NamesOf(period.Lord).Plain), 12) + Padded(DateText(period.Start), 12)
            + DateText(period.End);
        if (running && running->Maha == m) {
            const DashaPeriod& antar = dasha.Periods[m].Sub[running->Antar];
            text += "  <- today, antar dasha " + std::string(NamesOf(antar.Lord).Plain) + " to "
                + DateText(antar.End);
        }
        text += "\n";
    }
    return text;
}

} // namespace halvaro::vedic
