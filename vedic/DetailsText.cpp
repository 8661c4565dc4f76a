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

std::string DashaLevelsText(const VimshottariDasha& dasha, std::optional<double> todayJulianDay, int levels)
{
    if (levels < 2) {
        return {};
    }
    // Indices no period has when nothing runs today.
    const RunningDasha running = (todayJulianDay ? RunningAt(dasha, *todayJulianDay) : std::nullopt)
                                     .value_or(RunningDasha {DashaCount, DashaCount, DashaCount});
    const auto line = [](std::size_t indent, const DashaPeriod& period, bool today) {
        return std::string(indent, ' ') + Padded(std::string(NamesOf(period.Lord).Plain), 12 - indent)
            + Padded(DateText(period.Start), 12) + DateText(period.End) + (today ? "  <- today\n" : "\n");
    };
    std::string text = levels >= 3 ? "\nMaha, antar and pratyantar dashas\n" : "\nMaha and antar dashas\n";
    text += Padded("Dasha", 12) + Padded("Start", 12) + "End\n";
    for (std::size_t m = 0; m < dasha.Periods.size(); ++m) {
        const MahaDasha& maha = dasha.Periods[m];
        text += line(0, maha.Period, running.Maha == m);
        for (std::size_t a = 0; a < maha.Sub.size(); ++a) {
            const bool antarToday = running.Maha == m && running.Antar == a;
            text += line(2, maha.Sub[a], antarToday);
            if (levels < 3) {
                continue;
            }
            const std::array<DashaPeriod, DashaCount> pratyantars = PratyantarDashas(maha.Sub[a]);
            for (std::size_t p = 0; p < pratyantars.size(); ++p) {
                text += line(4, pratyantars[p], antarToday && running.Pratyantar == p);
            }
        }
    }
    return text;
}

std::string YoginiName(std::size_t yogini)
{
    const YoginiRow& row = YoginiTable[yogini % YoginiCount];
    return std::string(row.Name) + " (" + std::string(NamesOf(row.Lord).Plain) + ")";
}

std::string YoginiText(const YoginiDasha& dasha, std::optional<double> todayJulianDay)
{
    std::string text = "\nYogini dasha (dates in Universal Time; a year is " + YearDaysText(dasha.YearDays) + " days)\n";
    const double balance = dasha.BalanceYears;
    const int years = static_cast<int>(balance);
    const int days = static_cast<int>((balance - years) * dasha.YearDays);
    text += "Balance at birth: " + YoginiName(dasha.FirstYogini) + ", " + Plural(years, "year") + " "
        + Plural(days, "day") + "\n";
    text += Padded("Yogini", 20) + Padded("Start", 12) + "End\n";
    for (const YoginiMaha& maha : dasha.Periods) {
        const YoginiPeriod& period = maha.Period;
        text += Padded(YoginiName(period.Yogini), 20) + Padded(DateText(period.Start), 12) + DateText(period.End);
        if (todayJulianDay && *todayJulianDay >= period.StartJulianDay && *todayJulianDay < period.EndJulianDay) {
            for (const YoginiPeriod& antar : maha.Sub) {
                if (*todayJulianDay < antar.EndJulianDay) {
                    text += "  <- today, antar dasha " + YoginiName(antar.Yogini) + " to " + DateText(antar.End);
                    break;
                }
            }
        }
        text += "\n";
    }
    return text;
}

} // namespace halvaro::vedic
