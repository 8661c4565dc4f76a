#include "panchanga/PanchangaText.h"

#include "core/Calendar.h"
#include "vedic/Zodiac.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace halvaro::panchanga {

namespace {

constexpr std::array<std::string_view, 14> TithiNames {"Pratipada", "Dwitiya", "Tritiya", "Chaturthi", "Panchami",
    "Shashthi", "Saptami", "Ashtami", "Navami", "Dashami", "Ekadashi", "Dwadashi", "Trayodashi", "Chaturdashi"};
constexpr std::array<std::string_view, 27> YogaNames {"Vishkambha", "Priti", "Ayushman", "Saubhagya", "Shobhana",
    "Atiganda", "Sukarma", "Dhriti", "Shula", "Ganda", "Vriddhi", "Dhruva", "Vyaghata", "Harshana", "Vajra", "Siddhi",
    "Vyatipata", "Variyan", "Parigha", "Shiva", "Siddha", "Sadhya", "Shubha", "Shukla", "Brahma", "Indra",
    "Vaidhriti"};
constexpr std::array<std::string_view, 7> MovableKaranas {"Bava", "Balava", "Kaulava", "Taitila", "Gara", "Vanija",
    "Vishti"};
constexpr std::array<std::string_view, 7> VaraNames {"Ravivara", "Somavara", "Mangalavara", "Budhavara", "Guruvara",
    "Shukravara", "Shanivara"};
constexpr std::array<std::string_view, 7> WeekdayNames {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday",
    "Friday", "Saturday"};

struct LocalClockTime {
    int Year, Month, Day, Hour, Minute, Second;
};

// The Gregorian date of a Julian day number (Fliegel and Van Flandern).
LocalClockTime ClockTimeOf(const LocalMoment& moment)
{
    const long long seconds = std::llround((moment.JulianDay + 0.5) * 86400.0) + moment.UtcOffsetSeconds;
    const long long dayNumber = seconds / 86400;
    const long long ofDay = seconds % 86400;
    long long l = dayNumber + 68569;
    const long long n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const long long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long long j = 80 * l / 2447;
    const long long day = l - 2447 * j / 80;
    l = j / 11;
    const long long month = j + 2 - 12 * l;
    const long long year = 100 * (n - 49) + i + l;
    return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), static_cast<int>(ofDay / 3600),
        static_cast<int>(ofDay / 60 % 60), static_cast<int>(ofDay % 60)};
}

std::string OffsetText(int seconds)
{
    const int size = std::abs(seconds);
    std::array<char, 16> text {};
    if (size % 60 == 0) {
        std::snprintf(text.data(), text.size(), "%c%02d:%02d", seconds < 0 ? '-' : '+', size / 3600, size / 60 % 60);
    } else {
        std::snprintf(text.data(), text.size(), "%c%02d:%02d:%02d", seconds < 0 ? '-' : '+', size / 3600,
            size / 60 % 60, size % 60);
    }
    return text.data();
}

std::string DateText(const LocalClockTime& t)
{
    std::array<char, 24> text {};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", t.Year, t.Month, t.Day);
    return text.data();
}

std::string ClockText(const LocalClockTime& t)
{
    std::array<char, 16> text {};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return text.data();
}

std::string TimeOrNone(const std::optional<LocalMoment>& moment, double dayNumber, std::string_view none)
{
    return moment ? ShortLocalTime(*moment, dayNumber) : std::string(none);
}

std::string Padded(std::string_view text, std::size_t width)
{
    std::string padded(text);
    padded.resize(std::max(width, text.size() + 1), ' ');
    return padded;
}

constexpr std::size_t Column = 14;
constexpr std::size_t ValueColumn = 26;

std::string SpanLine(const ElementSpan& span, double dayNumber)
{
    const std::string number = std::to_string(span.Number);
    std::string name = number + " " + std::string(ElementName(span.Which, span.Number));
    if (span.Which == Element::Tithi) {
        name = number + " " + std::string(PakshaOf(span.Number)) + " " + std::string(TithiName(span.Number));
    }
    return Padded(name, ValueColumn) + ShortLocalTime(span.Start, dayNumber) + " to " + ShortLocalTime(span.End, dayNumber);
}

std::string SunriseLine(SunriseConvention convention)
{
    return "Sunrise convention: " + std::string(NamesOf(convention).Shown);
}

} // namespace

std::string_view TithiName(int tithi)
{
    if (tithi == 15) {
        return "Purnima";
    }
    if (tithi == 30) {
        return "Amavasya";
    }
    return tithi >= 1 && tithi <= 29 ? TithiNames[static_cast<std::size_t>((tithi - 1) % 15)] : "";
}

std::string_view PakshaOf(int tithi)
{
    return tithi <= 15 ? "Shukla" : "Krishna";
}

std::string_view YogaName(int yoga)
{
    return yoga >= 1 && yoga <= 27 ? YogaNames[static_cast<std::size_t>(yoga - 1)] : "";
}

std::string_view KaranaName(int karana)
{
    switch (karana) {
    case 1:
        return "Kimstughna";
    case 58:
        return "Shakuni";
    case 59:
        return "Chatushpada";
    case 60:
        return "Naga";
    default:
        return karana >= 2 && karana <= 57 ? MovableKaranas[static_cast<std::size_t>((karana - 2) % 7)] : "";
    }
}

std::string_view NakshatraNameOf(int nakshatra)
{
    return nakshatra >= 1 && nakshatra <= 27 ? vedic::NakshatraNames[static_cast<std::size_t>(nakshatra - 1)] : "";
}

std::string_view VaraName(int weekday)
{
    return VaraNames[static_cast<std::size_t>(((weekday % 7) + 7) % 7)];
}

std::string_view WeekdayName(int weekday)
{
    return WeekdayNames[static_cast<std::size_t>(((weekday % 7) + 7) % 7)];
}

std::string_view ElementName(Element element, int number)
{
    switch (element) {
    case Element::Tithi:
        return TithiName(number);
    case Element::Nakshatra:
        return NakshatraNameOf(number);
    case Element::Yoga:
        return YogaName(number);
    default:
        return KaranaName(number);
    }
}

std::string_view ElementTitle(Element element)
{
    constexpr std::array<std::string_view, ElementCount> Titles {"Tithi", "Nakshatra", "Yoga", "Karana"};
    return Titles[static_cast<std::size_t>(element)];
}

std::string IsoLocalTime(const LocalMoment& moment)
{
    const LocalClockTime t = ClockTimeOf(moment);
    return DateText(t) + "T" + ClockText(t) + OffsetText(moment.UtcOffsetSeconds);
}

double LocalDayNumberOf(const LocalMoment& moment)
{
    const LocalClockTime t = ClockTimeOf(moment);
    return JulianDayNumber(t.Month, t.Day, t.Year);
}

std::string ShortLocalTime(const LocalMoment& moment, double dayNumber)
{
    const LocalClockTime t = ClockTimeOf(moment);
    return JulianDayNumber(t.Month, t.Day, t.Year) == dayNumber ? ClockText(t) : DateText(t) + " " + ClockText(t);
}

std::string MomentPanchangaText(const MomentPanchanga& p, bool classicSky, std::string_view ayanamsaName)
{
    std::string text = "Panchanga at birth\n" + PanchangaHeading(p, classicSky, ayanamsaName) + "\n";
    for (const PanchangaRow& row : PanchangaRows(p)) {
        text += Padded(row.Title, Column)
            + (row.Start.empty() ? row.Value : Padded(row.Value, ValueColumn) + row.Start + " to " + row.End) + "\n";
    }
    return text;
}

std::vector<PanchangaRow> PanchangaRows(const MomentPanchanga& p)
{
    const double day = LocalDayNumberOf(p.Moment);
    std::vector<PanchangaRow> rows;
    for (const ElementSpan* span : {&p.Tithi, &p.Nakshatra, &p.Yoga, &p.Karana}) {
        std::string value = std::to_string(span->Number) + " " + std::string(ElementName(span->Which, span->Number));
        if (span->Which == Element::Tithi) {
            value = std::to_string(span->Number) + " " + std::string(PakshaOf(span->Number)) + " "
                + std::string(TithiName(span->Number));
        } else if (span->Which == Element::Nakshatra) {
            value += ", pada " + std::to_string(p.Pada);
        }
        rows.push_back({std::string(ElementTitle(span->Which)), value, ShortLocalTime(span->Start, day),
            ShortLocalTime(span->End, day)});
    }
    std::string vara = std::string(VaraName(p.Vara)) + " (" + std::string(WeekdayName(p.Vara)) + "), lord "
        + std::string(NamesOf(VaraLord(p.Vara)).English);
    if (p.Vara != p.CivilWeekday) {
        vara += "; civil weekday " + std::string(WeekdayName(p.CivilWeekday));
    }
    rows.push_back({"Vara", vara, {}, {}});
    rows.push_back({"Hora lord", p.HoraLord ? std::string(NamesOf(*p.HoraLord).English) : "none (no sunrise)", {}, {}});
    const auto time = [&](std::string title, const std::optional<LocalMoment>& moment) {
        rows.push_back({std::move(title), moment ? ShortLocalTime(*moment, day) : "none", {}, {}});
    };
    time("Sunrise", p.Sunrise);
    time("Sunset", p.Sunset);
    time("Next sunrise", p.NextSunrise);
    if (p.CivilSunrise.has_value() != p.Sunrise.has_value()
        || (p.CivilSunrise && p.Sunrise && IsoLocalTime(*p.CivilSunrise) != IsoLocalTime(*p.Sunrise))) {
        time("Civil sunrise", p.CivilSunrise);
        time("Civil sunset", p.CivilSunset);
    }
    time("Moonrise", p.Moonrise);
    time("Moonset", p.Moonset);
    return rows;
}

std::string PanchangaHeading(const MomentPanchanga& p, bool classicSky, std::string_view ayanamsaName)
{
    std::string text = "Precise sky, " + std::string(ayanamsaName) + "; sunrise: " + std::string(NamesOf(p.Convention).Shown);
    if (classicSky) {
        text += ". The reading's positions are the classic model's; the panchanga is the precise sky's.";
    }
    return text;
}

std::string DayPanchangaText(const DayPanchanga& d, std::string_view placeName, std::string_view ayanamsaName)
{
    const double day = JulianDayNumber(d.Month, d.Day, d.Year);
    std::array<char, 16> date {};
    std::snprintf(date.data(), date.size(), "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    std::string text = "Panchanga of " + std::string(date.data()) + ", " + std::string(WeekdayName(d.Weekday)) + ", at "
        + std::string(placeName) + " (precise sky, " + std::string(ayanamsaName) + ")\n";
    text += SunriseLine(d.Convention) + "\n";
    text += Padded("Vara", Column) + std::string(VaraName(d.Weekday)) + ", lord "
        + std::string(NamesOf(VaraLord(d.Weekday)).English) + "\n";
    const std::string_view none = "none";
    text += Padded("Sunrise", Column) + TimeOrNone(d.Sunrise, day, "none (the Sun does not rise or set)") + "\n";
    text += Padded("Sunset", Column) + TimeOrNone(d.Sunset, day, none) + "\n";
    text += Padded("Next sunrise", Column) + TimeOrNone(d.NextSunrise, day, none) + "\n";
    text += Padded("Moonrise", Column) + TimeOrNone(d.Moonrise, day, none) + "\n";
    text += Padded("Moonset", Column) + TimeOrNone(d.Moonset, day, none) + "\n";
    text += "From " + ShortLocalTime(d.From, day) + " to " + ShortLocalTime(d.To, day)
        + (d.Sunrise && d.NextSunrise ? " (sunrise to sunrise):\n" : " (midnight to midnight, no sunrise):\n");
    for (std::size_t i = 0; i < ElementCount; ++i) {
        for (const ElementSpan& span : d.Elements[i]) {
            text += Padded(ElementTitle(span.Which), Column) + SpanLine(span, day) + "\n";
        }
    }
    const auto part = [&](std::string_view title, const std::optional<DayPart>& stretch) {
        text += Padded(title, Column + 3)
            + (stretch ? ShortLocalTime(stretch->Start, day) + " to " + ShortLocalTime(stretch->End, day)
                       : std::string("none (no sunrise and sunset)"))
            + "\n";
    };
    part("Rahu kala", d.RahuKala);
    part("Yamaganda", d.Yamaganda);
    part("Gulika kala", d.GulikaKala);
    part("Abhijit muhurta", d.AbhijitMuhurta);
    return text;
}

} // namespace halvaro::panchanga
