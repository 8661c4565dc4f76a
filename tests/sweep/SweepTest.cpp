// Every day from 1 January 1901 to 31 December 2050 at several clock times,
// through the input check and the whole calculation, in every distinct zone
// correction, with and
// without daylight saving, East and West. Each reading is checked for the
// shape of its texts, the range of its values, the motion of the grahas
// since the previous day (which catches a birth moment carried to the wrong
// date), the aspect texts, and the Moon's remainder reduction against the
// plain loop.
//
// HALVARO_SWEEP_DAY_STRIDE=N checks every Nth day only (the sanitizer build
// sets a larger default at compile time).
#include "aspects/GrahaDrishti.h"
#include "calculation/Reading.h"
#include "core/TimeZones.h"
#include "ephemeris/MoonEngine.h"
#include "positions/GrahaPositions.h"
#include "positions/OrbitalElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace halvaro;
namespace mve = halvaro::modVedicEphemeris;
using namespace std::chrono;

#if defined(__SANITIZE_ADDRESS__)
constexpr int DefaultDayStride = 7;
#else
constexpr int DefaultDayStride = 1;
#endif

int DayStride()
{
    if (const char* text = std::getenv("HALVARO_SWEEP_DAY_STRIDE")) {
        const int stride = std::atoi(text);
        if (stride >= 1) {
            return stride;
        }
    }
    return DefaultDayStride;
}

constexpr std::string_view Signs = "AriTauGemCanLeoVirLibScoSagCapAquPis";
constexpr std::array<std::string_view, 8> Grahas = {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "North Node"};
constexpr std::array<std::string_view, 8> VedicGrahas = {
    "Surya", "Chandra", "Budha", "Shukra", "Mangala", "Guru", "Shani", "Rahu"};
constexpr std::array<std::string_view, 12> VedicSigns = {"Mesha", "Vrishabha", "Mithuna", "Kataka",
    "Simha", "Kanya", "Thula", "Vrischika", "Dhanus", "Makara", "Kumbha", "Meena"};

int SignIndex(std::string_view abbreviation)
{
    for (int s = 0; s < 12; ++s) {
        if (Signs.substr(static_cast<std::size_t>(3 * s), 3) == abbreviation) {
            return s;
        }
    }
    return -1;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a plain decimal number of one or two digits without a leading zero
// (a lone 0 allowed) at `pos`; advances `pos`.
std::optional<int> PlainNumber(std::string_view text, std::size_t& pos)
{
    std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < 3) {
        ++pos;
    }
    const std::size_t length = pos - start;
    if (length == 0 || length > 2 || (length == 2 && text[start] == '0')) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = start; i < pos; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, std::string_view literal)
{
    if (text.substr(pos, literal.size()) != literal) {
        return false;
    }
    pos += literal.size();
    return true;
}

// A long position text: 19° 27' 44" Lib. Returns the sidereal longitude in
// arc-seconds it stands for, or nothing when its shape is wrong.
std::optional<long> LongTextSeconds(std::string_view text)
{
    std::size_t pos = 0;
    const auto deg = PlainNumber(text, pos);
    if (!deg || *deg > 29 || !Expect(text, pos, "\xC2\xB0 ")) {
        return std::nullopt;
    }
    const auto min = PlainNumber(text, pos);
    if (!min || *min > 59 || !Expect(text, pos, "' ")) {
        return std::nullopt;
    }
    const auto sec = PlainNumber(text, pos);
    if (!sec || *sec > 59 || !Expect(text, pos, "\" ")) {
        return std::nullopt;
    }
    if (text.size() != pos + 3) {
        return std::nullopt;
    }
    const int sign = SignIndex(text.substr(pos, 3));
    if (sign < 0) {
        return std::nullopt;
    }
    return ((sign * 30L + *deg) * 60L + *min) * 60L + *sec;
}

// A short position text: 08 Sag 03. Returns the sign index, or -1.
int ShortTextSign(std::string_view text)
{
    if (text.size() != 9 || !IsDigit(text[0]) || !IsDigit(text[1]) || text[2] != ' ' || text[6] != ' '
        || !IsDigit(text[7]) || !IsDigit(text[8])) {
        return -1;
    }
    const int deg = (text[0] - '0') * 10 + (text[1] - '0');
    const int min = (text[7] - '0') * 10 + (text[8] - '0');
    if (deg > 29 || min > 59) {
        return -1;
    }
    return SignIndex(text.substr(3, 3));
}

std::vector<std::string_view> SplitList(std::string_view list)
{
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(", ", start);
        items.push_back(list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return items;
        }
        start = comma + 2;
    }
}

int IndexIn(std::string_view name, const auto& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The signs a graha aspects, in its list order: the seventh, and for Mars,
// Jupiter and Saturn their two further signs around it.
std::vector<int> AspectedSignsOf(int graha, int sign)
{
    auto at = [sign](int n) { return (sign + n - 1) % 12; };
    switch (graha) {
    case 4: return {at(4), at(7), at(8)};
    case 5: return {at(5), at(7), at(9)};
    case 6: return {at(3), at(7), at(10)};
    default: return {at(7)};
    }
}

// The reference the remainder must equal: the engine's plain loop.
double LoopReduce(double lambda)
{
    while (lambda < 0) {
        lambda += 360;
    }
    while (lambda > 360) {
        lambda -= 360;
    }
    return lambda;
}

struct Setting {
    int Zone;
    bool DaylightSaving;
    bool East;
    const char* LonDeg;
    const char* LonMin;
};

// One zone for each distinct correction in the table, each with and without
// daylight saving, East and West.
std::vector<Setting> AllSettings()
{
    std::vector<Setting> settings;
    std::vector<std::pair<int, int>> seen;
    for (int zone = 0; zone < TimeZoneCount; ++zone) {
        const TimeZone& entry = TimeZoneTable[static_cast<std::size_t>(zone)];
        const std::pair<int, int> correction {entry.HourCorrection, entry.MinuteCorrection};
        bool known = false;
        for (const auto& s : seen) {
            known = known || s == correction;
        }
        if (known) {
            continue;
        }
        seen.push_back(correction);
        for (const bool dst : {false, true}) {
            settings.push_back({zone, dst, true, "77", "13"});
            settings.push_back({zone, dst, false, "74", "0"});
        }
    }
    return settings;
}

struct ClockTime {
    int Hour, Minute;
};
// Midnight, just before and after the hour that daylight saving takes away,
// the half hours of the :30 zones, and the last minute of the day.
constexpr std::array<ClockTime, 4> ClockTimes = {{{0, 0}, {0, 59}, {12, 30}, {23, 59}}};

// Longitudes of the eight grahas in arc-seconds, at a moment in UT minutes.
struct Sample {
    bool Valid = false;
    std::int64_t UtMinutes = 0;
    std::array<long, 8> Seconds {};
};

// Largest daily motion of each graha in degrees, with room for the
// truncation of the texts; the Sun and Moon also have a least motion, and
// Rahu only moves backwards.
struct MotionBound {
    double Least, Most;
    double MinHours; // pairs closer in time than this are too coarse to judge
};
constexpr std::array<MotionBound, 8> MotionBounds = {{
    {0.93, 1.04, 1},      // Sun
    {11.0, 16.0, 1},      // Moon
    {-2.5, 2.5, 12},      // Mercury
    {-1.4, 1.4, 12},      // Venus
    {-0.9, 0.9, 12},      // Mars
    {-0.3, 0.3, 12},      // Jupiter
    {-0.2, 0.2, 12},      // Saturn
    {-0.057, -0.049, 12}, // Rahu: its 180 / 3.1416 leaves a 3" step where it wraps
}};

// Arc-seconds wrapped into (-180°, 180°].
long WrapSeconds(long difference)
{
    constexpr long Turn = 360L * 3600L;
    difference %= Turn;
    if (difference > Turn / 2) {
        difference -= Turn;
    }
    if (difference <= -Turn / 2) {
        difference += Turn;
    }
    return difference;
}

class Sweep {
public:
    explicit Sweep(std::ostringstream& failures)
        : failures_(failures)
    {
    }

    void Run(year_month_day date, int timeIndex, const Setting& setting)
    {
        BirthData entries;
        entries.Name = "Sweep Reading";
        entries.LatDeg = "28";
        entries.LatMin = "39";
        entries.LonDeg = setting.LonDeg;
        entries.LonMin = setting.LonMin;
        entries.City = "City";
        entries.State = "State";
        entries.Country = "Country";
        entries.East = setting.East;
        entries.West = !setting.East;
        entries.DaylightSaving = setting.DaylightSaving;
        entries.Day = static_cast<int>(static_cast<unsigned>(date.day()));
        entries.Month = static_cast<int>(static_cast<unsigned>(date.month()));
        entries.Year = static_cast<int>(date.year());
        entries.Hour = ClockTimes[static_cast<std::size_t>(timeIndex)].Hour;
        entries.Minute = ClockTimes[static_cast<std::size_t>(timeIndex)].Minute;
        entries.ZonePosition = setting.Zone;

        std::ostringstream where;
        where << entries.Year << '-' << entries.Month << '-' << entries.Day << ' ' << entries.Hour << ':'
              << entries.Minute << " zone " << setting.Zone << (setting.DaylightSaving ? " DST" : "")
              << (setting.East ? " East" : " West");
        where_ = where.str();
        ++readings_;

        const BirthCheck checked = ValidateInput(entries);
        if (checked.Failure) {
            Fail("refused: " + std::string(checked.Failure->Message));
            return;
        }
        const ReadingResult result = CalculateReading(checked.Value);
        if (result.Failure) {
            Fail("no reading: " + std::string(result.Failure->Message));
            return;
        }
        const Reading& reading = result.Value;
        CheckValues(reading);
        CheckMoonReduction(reading);
        const Sample sample = CheckPositionTexts(date, entries, setting, reading);
        CheckResultTexts(reading);
        if (sample.Valid) {
            CheckMotion(previous_[static_cast<std::size_t>(timeIndex)], sample);
            previous_[static_cast<std::size_t>(timeIndex)] = sample;
        }
    }

    void ForgetMotion() { previous_ = {}; }
    long Readings() const { return readings_; }

private:
    void Fail(const std::string& what)
    {
        if (++failureCount_ <= 20) {
            failures_ << where_ << ": " << what << '\n';
        }
    }

    static double CenturiesOf(const Reading& r)
    {
        return mve::CenturiesSinceJ2000(r.Moment.JulianDayNumber, r.Moment.UniversalHours);
    }

    void CheckValues(const Reading& r)
    {
        if (!(r.Ayanamsa > -24.8 && r.Ayanamsa < -22.2)) {
            Fail("ayanamsa " + std::to_string(r.Ayanamsa));
        }
        const double correction = mve::SiderealCorrection(CenturiesOf(r));
        if (!(correction > -24.8 && correction < -22.2)) {
            Fail("sidereal correction " + std::to_string(correction));
        }
        if (!(r.Moment.UniversalHours >= -14 && r.Moment.UniversalHours < 37)) {
            Fail("universal hours " + std::to_string(r.Moment.UniversalHours));
        }
        for (std::size_t g = 0; g < r.Longitudes.size(); ++g) {
            if (!(r.Longitudes[g] >= 0 && r.Longitudes[g] < 360)) {
                Fail("sidereal longitude " + std::to_string(r.Longitudes[g]) + " of graha " + std::to_string(g));
            }
        }
    }

    void CheckMoonReduction(const Reading& r)
    {
        const double t = CenturiesOf(r);
        const double correction = mve::SiderealCorrection(t);
        const double moon = r.Longitudes[IndexOf(Graha::Moon)];
        const double lambda = (218.3164591 + 481267.88134236 * t) + mve::LunarLongitudeSeries(t);
        const double looped = LoopReduce(lambda);
        const double reduced = mve::ReduceMoonLongitude(lambda);
        if (std::memcmp(&looped, &reduced, sizeof looped) != 0) {
            std::ostringstream text;
            text.precision(17);
            text << "remainder reduction of " << lambda << " gives " << reduced << ", the loop " << looped;
            Fail(text.str());
        }
        double sidereal = looped + correction;
        if (sidereal < 0) {
            sidereal += 360;
        }
        if (std::fabs(sidereal - moon) > 1e-9) {
            Fail("sidereal Moon " + std::to_string(moon) + " is not the reduced series' " + std::to_string(sidereal));
        }
    }

    Sample CheckPositionTexts(year_month_day date, const BirthData& entries, const Setting& setting, const Reading& r)
    {
        std::array<PositionText, 8> longTexts {};
        for (std::size_t g = 0; g < 8; ++g) {
            longTexts[g] = FormatSignPosition(r.Longitudes[g]);
        }
        if (longTexts[1] != r.MoonPositionText) {
            Fail("Moon text \"" + r.MoonPositionText.str() + "\" is not its longitude's");
        }
        Sample sample;
        sample.Valid = true;
        for (std::size_t g = 0; g < 8; ++g) {
            const auto seconds = LongTextSeconds(longTexts[g]);
            if (!seconds) {
                Fail(std::string(Grahas[g]) + " long text \"" + longTexts[g].str() + "\"");
                sample.Valid = false;
                continue;
            }
            sample.Seconds[g] = *seconds;
            const std::string_view shortText = r.GrahaPositionTexts[g].view();
            if (ShortTextSign(shortText) < 0) {
                Fail(std::string(Grahas[g]) + " short text \"" + std::string(shortText) + "\"");
                continue;
            }
            // The short text keeps the long text's degrees, sign and minutes.
            const long degrees = *seconds / 3600 % 30;
            const long minutes = *seconds / 60 % 60;
            const int sign = static_cast<int>(*seconds / 108000);
            if ((shortText[0] - '0') * 10 + (shortText[1] - '0') != degrees
                || (shortText[7] - '0') * 10 + (shortText[8] - '0') != minutes
                || shortText.substr(3, 3) != Signs.substr(static_cast<std::size_t>(3 * sign), 3)) {
                Fail(std::string(Grahas[g]) + " short text \"" + std::string(shortText) + "\" is not the long \""
                    + longTexts[g].str() + "\"");
            }
        }
        const TimeZone& zone = TimeZoneTable[static_cast<std::size_t>(setting.Zone)];
        const minutes offset = hours(zone.HourCorrection) + minutes(zone.MinuteCorrection)
            - hours(setting.DaylightSaving ? 1 : 0);
        const auto ut = sys_days(date) + hours(entries.Hour) + minutes(entries.Minute) + offset;
        sample.UtMinutes = ut.time_since_epoch().count();
        return sample;
    }

    void CheckResultTexts(const Reading& reading)
    {
        const auto& r = reading.Results;
        std::array<int, 8> signs {};
        for (std::size_t g = 0; g < 8; ++g) {
            signs[g] = ShortTextSign(reading.GrahaPositionTexts[g].view());
        }
        for (std::size_t p = 0; p < 8; ++p) {
            const std::string name(Grahas[p]);
            if (r.lblPlanets[p].view() != name + " / " + std::string(VedicGrahas[p])) {
                Fail("name label \"" + r.lblPlanets[p].str() + "\"");
            }
            if (r.lblPlanets_Position[p].view() != reading.GrahaPositionTexts[p].view()) {
                Fail("position label \"" + r.lblPlanets_Position[p].str() + "\"");
            }
            if (signs[p] < 0) {
                continue;
            }
            const std::vector<int> aspected = AspectedSignsOf(static_cast<int>(p), signs[p]);

            const std::string signHead = "Sign aspected by " + name + " is ";
            const std::string_view signText = r.lblAspects_Sign[p].view();
            if (!signText.starts_with(signHead) || !signText.ends_with(".")) {
                Fail("sign label \"" + std::string(signText) + "\"");
            } else {
                const auto named = SplitList(signText.substr(signHead.size(), signText.size() - signHead.size() - 1));
                bool right = named.size() == aspected.size();
                for (std::size_t i = 0; right && i < named.size(); ++i) {
                    right = IndexIn(named[i], VedicSigns) == aspected[i];
                }
                if (!right) {
                    Fail("sign label \"" + std::string(signText) + "\"");
                }
            }

            // Every graha standing in an aspected sign, grouped by sign in
            // list order, in Graha order within a sign, and no other.
            std::vector<std::string_view> expected;
            for (const int sign : aspected) {
                for (std::size_t q = 0; q < 8; ++q) {
                    if (signs[q] == sign) {
                        expected.push_back(Grahas[q]);
                    }
                }
            }
            const std::string_view planetsText = r.lblAspects_Planets[p].view();
            if (expected.empty()) {
                if (planetsText != "Planet " + name + " has no Graha Drishti.") {
                    Fail("planets label \"" + std::string(planetsText) + "\"");
                }
                continue;
            }
            const std::string planetsHead = "Planet(s) aspected by " + name + " is ";
            if (!planetsText.starts_with(planetsHead) || !planetsText.ends_with(".")
                || SplitList(planetsText.substr(planetsHead.size(), planetsText.size() - planetsHead.size() - 1))
                    != expected) {
                Fail("planets label \"" + std::string(planetsText) + "\"");
            }
        }
    }

    void CheckMotion(const Sample& before, const Sample& now)
    {
        if (!before.Valid) {
            return;
        }
        const double days = static_cast<double>(now.UtMinutes - before.UtMinutes) / 1440.0;
        for (std::size_t g = 0; g < 8; ++g) {
            const MotionBound& bound = MotionBounds[g];
            // Too close to judge, or so far apart that a turn could hide.
            const double fastest = std::max(std::fabs(bound.Least), std::fabs(bound.Most));
            if (std::fabs(days) * 24 < bound.MinHours || std::fabs(days) * fastest > 170) {
                continue;
            }
            const double rate = static_cast<double>(WrapSeconds(now.Seconds[g] - before.Seconds[g])) / 3600.0 / days;
            if (!(rate >= bound.Least && rate <= bound.Most)) {
                Fail(std::string(Grahas[g]) + " moved " + std::to_string(rate) + " degrees a day over "
                    + std::to_string(days) + " days");
            }
        }
    }

    std::ostringstream& failures_;
    std::array<Sample, ClockTimes.size()> previous_ {};
    std::string where_;
    long readings_ = 0;
    long failureCount_ = 0;
};

struct YearBlock {
    const char* Name;
    int First, Last;
};

void PrintTo(const YearBlock& block, std::ostream* os)
{
    *os << block.First << "-" << block.Last;
}

class SweepYears : public testing::TestWithParam<YearBlock> {};

TEST_P(SweepYears, EveryReadingIsWellFormed)
{
    const YearBlock block = GetParam();
    const int stride = DayStride();
    // With fewer days, the year edges thin out their settings as well.
    const int edgeStride = stride == 1 ? 1 : 4;
    std::ostringstream failures;
    Sweep sweep(failures);
    const auto settings = AllSettings();

    const sys_days first = year(block.First) / January / 1;
    const sys_days last = year(block.Last) / December / 31;
    long dayNumber = 0;
    for (sys_days day = first; day <= last; day += days(1), ++dayNumber) {
        const year_month_day date(day);
        // The first and last day of every year: every setting at every
        // clock time, since the zone carries the moment across the year.
        const bool yearEdge = (date.month() == January && date.day() == std::chrono::day(1))
            || (date.month() == December && date.day() == std::chrono::day(31));
        if (yearEdge) {
            sweep.ForgetMotion();
            for (int k = 0; k < static_cast<int>(ClockTimes.size()); ++k) {
                for (std::size_t i = 0; i < settings.size(); ++i) {
                    if ((i + static_cast<std::size_t>(k)) % static_cast<std::size_t>(edgeStride) == 0) {
                        sweep.Run(date, k, settings[i]);
                    }
                }
            }
            sweep.ForgetMotion();
            continue;
        }
        if (dayNumber % stride != 0) {
            continue;
        }
        // Other days: one setting per clock time, turning through all.
        for (int k = 0; k < static_cast<int>(ClockTimes.size()); ++k) {
            const auto index = static_cast<std::size_t>(dayNumber + 31L * k) % settings.size();
            sweep.Run(date, k, settings[index]);
        }
    }
    EXPECT_TRUE(failures.str().empty()) << "first failures of " << sweep.Readings() << " readings:\n"
                                        << failures.str();
    RecordProperty("readings", static_cast<int>(sweep.Readings()));
}

INSTANTIATE_TEST_SUITE_P(Years1901To2050, SweepYears,
    testing::Values(YearBlock {"y1901_1925", 1901, 1925}, YearBlock {"y1926_1950", 1926, 1950},
        YearBlock {"y1951_1975", 1951, 1975}, YearBlock {"y1976_2000", 1976, 2000},
        YearBlock {"y2001_2025", 2001, 2025}, YearBlock {"y2026_2050", 2026, 2050}),
    [](const testing::TestParamInfo<YearBlock>& row) { return std::string(row.param.Name); });

} // namespace
