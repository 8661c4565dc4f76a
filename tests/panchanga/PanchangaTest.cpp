#include "panchanga/Panchanga.h"
#include "panchanga/PanchangaText.h"
#include "sky/PreciseSky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

namespace {

using namespace halvaro;
using namespace halvaro::panchanga;

constexpr double SecondDays = 1.0 / 86400;
const BirthPlace Bangalore {12.9716, 77.5946};
const BirthPlace Tromso {69.6489, 18.9551};

UtcOffsetAt Fixed(int seconds)
{
    return [seconds](double) { return seconds; };
}

Conventions TrueChitra()
{
    Conventions conventions = DefaultConventions(SkyModel::Precise);
    conventions.Ayanamsa = AyanamsaSystem::TrueChitraPaksha;
    return conventions;
}

std::string ClockOf(const std::optional<LocalMoment>& moment)
{
    return moment ? IsoLocalTime(*moment).substr(11, 8) : "none";
}

// The library's own rise and set times for each convention, from the scratch
// program tests/data/panchanga/rise-set.c on libswe (rise-set.tsv): each
// convention must reach the library with its own horizon.
TEST(RiseSet, EachConventionGivesTheLibrarysTimes)
{
    std::ifstream table(HALVARO_PANCHANGA_DATA "/rise-set.tsv");
    ASSERT_TRUE(table) << "rise-set.tsv not found";
    std::string line;
    std::getline(table, line);
    int rows = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string place, body, event, convention, expected;
        double lat = 0, lon = 0, start = 0;
        std::getline(fields, place, '\t');
        fields >> lat >> lon >> start >> body >> event >> convention >> expected;
        std::size_t which = 0;
        while (SunriseConventionTable[which].Option != convention) {
            ++which;
        }
        const sky::HorizonCrossing found = sky::NextHorizonCrossing(start, body == "Sun" ? Graha::Sun : Graha::Moon,
            event == "rise" ? sky::HorizonEvent::Rise : sky::HorizonEvent::Set, {lat, lon},
            static_cast<SunriseConvention>(which));
        SCOPED_TRACE(line);
        if (expected == "none") {
            EXPECT_EQ(found.Outcome, sky::HorizonCrossing::Kind::NeverCrosses);
        } else {
            ASSERT_EQ(found.Outcome, sky::HorizonCrossing::Kind::Found);
            EXPECT_NEAR(found.JulianDayUniversal, std::stod(expected), 0.5 * SecondDays);
        }
        ++rows;
    }
    EXPECT_EQ(rows, 84);
}

// Published almanac values: Bangalore 2013-01-18 (Hindu sunrise, True Chitra
// ayanamsa) and the kshaya tithi of Bangalore 2010-04-24, tithi 10 ending at
// 06:09:29 and tithi 11 at 27:33:58, both ends between two sunrises.
TEST(DayPanchanga, PublishedBangaloreDays)
{
    const std::optional<DayPanchanga> day = PanchangaOfDay(2013, 1, 18, Bangalore, TrueChitra(), Fixed(19800));
    ASSERT_TRUE(day);
    EXPECT_EQ(IsoLocalTime(*day->Sunrise), "2013-01-18T06:49:46+05:30");
    EXPECT_EQ(ClockOf(day->Sunset), "18:10:25");
    EXPECT_EQ(day->Elements[0].front().Number, 7);
    EXPECT_EQ(day->Elements[1].front().Number, 27);
    EXPECT_EQ(day->Elements[2].front().Number, 21);
    EXPECT_EQ(day->Weekday, 5); // a Friday

    const std::optional<DayPanchanga> kshaya = PanchangaOfDay(2010, 4, 24, Bangalore, TrueChitra(), Fixed(19800));
    ASSERT_TRUE(kshaya);
    const std::vector<ElementSpan>& tithis = kshaya->Elements[0];
    ASSERT_EQ(tithis.size(), 3U);
    EXPECT_EQ(tithis[0].Number, 10);
    EXPECT_EQ(tithis[1].Number, 11);
    EXPECT_NEAR(tithis[0].End.JulianDay, tithis[1].Start.JulianDay, 0);
    // The published times, to within two seconds of the Moshier ephemeris.
    const double tithi10End = 2455310.5 + (6 + 9 / 60.0 + 29 / 3600.0) / 24 - 5.5 / 24;
    const double tithi11End = 2455310.5 + (27 + 33 / 60.0 + 58 / 3600.0) / 24 - 5.5 / 24;
    EXPECT_NEAR(tithis[0].End.JulianDay, tithi10End, 2 * SecondDays);
    EXPECT_NEAR(tithis[1].End.JulianDay, tithi11End, 2 * SecondDays);
    EXPECT_GT(tithis[1].Start.JulianDay, kshaya->Sunrise->JulianDay);
    EXPECT_LT(tithis[1].End.JulianDay, kshaya->NextSunrise->JulianDay);
}

// Just either side of each end of the kshaya day, the element's number
// straight from the Sun and the Moon (the defining formulas, not the search)
// is the span's own and then the next one's.
TEST(DayPanchanga, EachEndSeparatesTwoNumbers)
{
    const std::optional<DayPanchanga> day = PanchangaOfDay(2010, 4, 24, Bangalore, TrueChitra(), Fixed(19800));
    ASSERT_TRUE(day);
    for (const std::vector<ElementSpan>& spans : day->Elements) {
        ASSERT_FALSE(spans.empty());
        for (const ElementSpan& span : spans) {
            const auto numberAt = [&](double julianDay) {
                const std::optional<sky::SunAndMoon> bodies = sky::PreciseSunAndMoon(julianDay, TrueChitra());
                return bodies ? ElementNumber(span.Which, bodies->Sun, bodies->Moon) : 0;
            };
            SCOPED_TRACE(std::string(ElementTitle(span.Which)) + " " + std::to_string(span.Number));
            EXPECT_EQ(numberAt(span.Start.JulianDay + SecondDays), span.Number);
            EXPECT_EQ(numberAt(span.End.JulianDay - SecondDays), span.Number);
            EXPECT_EQ(numberAt(span.End.JulianDay + SecondDays), span.Number % PartsOf(span.Which) + 1);
        }
    }
    // A birth a second either side of tithi 10's end.
    const double end = day->Elements[0][0].End.JulianDay;
    EXPECT_EQ(PanchangaAt(end - SecondDays, Bangalore, TrueChitra(), Fixed(19800))->Tithi.Number, 10);
    EXPECT_EQ(PanchangaAt(end + SecondDays, Bangalore, TrueChitra(), Fixed(19800))->Tithi.Number, 11);
}

// January and February 2013 at Bangalore: the elements follow each other
// without a gap, each day ends with the element the next day begins with,
// and a tithi shorter than the day (kshaya: three in one day's list) and
// one longer (vriddhi: alone from before one sunrise to after the next)
// both occur, as they do every lunar month (a tithi lasts 0.9 to 1.1 days).
TEST(DayPanchanga, DaysChainWithKshayaAndVriddhi)
{
    std::optional<ElementSpan> lastTithi;
    int kshaya = 0, vriddhi = 0;
    for (int i = 0; i < 59; ++i) {
        const int day = 1 + i % 31, month = 1 + i / 31; // January, then February
        const std::optional<DayPanchanga> found = PanchangaOfDay(2013, month, day, Bangalore,
            TrueChitra(), Fixed(19800));
        ASSERT_TRUE(found) << month << "-" << day;
        for (const std::vector<ElementSpan>& spans : found->Elements) {
            EXPECT_LE(spans.front().Start.JulianDay, found->Sunrise->JulianDay);
            EXPECT_GE(spans.back().End.JulianDay, found->NextSunrise->JulianDay);
            for (std::size_t k = 1; k < spans.size(); ++k) {
                EXPECT_EQ(spans[k].Start.JulianDay, spans[k - 1].End.JulianDay);
            }
        }
        const std::vector<ElementSpan>& tithis = found->Elements[0];
        if (lastTithi) {
            EXPECT_EQ(tithis.front().Number, lastTithi->Number) << month << "-" << day;
            EXPECT_NEAR(tithis.front().End.JulianDay, lastTithi->End.JulianDay, SecondDays);
        }
        lastTithi = tithis.back();
        kshaya += tithis.size() == 3 ? 1 : 0;
        vriddhi += tithis.size() == 1 ? 1 : 0;
    }
    EXPECT_GE(kshaya, 1);
    EXPECT_GE(vriddhi, 1);
}

// A birth at 05:00 on Friday 2013-01-18 in Bangalore, before the sunrise of
// 06:49:46: the vara is Thursday's, from the sunrise of the 17th, and the
// hora the 11th of Thursday's night (sunset 18:10 to sunrise 06:50, twelve
// parts of 63 minutes): from Jupiter in the Chaldean order, Mars.
TEST(MomentPanchanga, BeforeSunriseBelongsToTheDayBefore)
{
    const double birth = 2456310.5 + (5 - 5.5) / 24;
    const std::optional<MomentPanchanga> p = PanchangaAt(birth, Bangalore, TrueChitra(), Fixed(19800));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Vara, 4);
    EXPECT_EQ(p->CivilWeekday, 5);
    EXPECT_EQ(p->HoraLord, Graha::Mars);
    EXPECT_EQ(IsoLocalTime(*p->NextSunrise), "2013-01-18T06:49:46+05:30");
    EXPECT_EQ(IsoLocalTime(*p->CivilSunrise), "2013-01-18T06:49:46+05:30");
    EXPECT_EQ(IsoLocalTime(*p->Sunrise).substr(0, 10), "2013-01-17");
}

// Tromso: the midnight Sun on 2024-06-21 and the polar night on 2024-12-21
// (the library finds no rising, rise-set.tsv): no times, no hora, the
// elements from midnight to midnight, the civil weekday as the vara.
TEST(Polar, DayAndNightHaveNoSunriseAndStillAPanchanga)
{
    for (const auto& [month, weekday] : {std::pair(6, 5), std::pair(12, 6)}) {
        const std::optional<DayPanchanga> day = PanchangaOfDay(2024, month, 21, Tromso, TrueChitra(), Fixed(3600));
        ASSERT_TRUE(day) << month;
        EXPECT_FALSE(day->Sunrise || day->Sunset || day->NextSunrise || day->RahuKala || day->AbhijitMuhurta) << month;
        EXPECT_EQ(day->Weekday, weekday);
        EXPECT_EQ(IsoLocalTime(day->From).substr(10), "T00:00:00+01:00");
        EXPECT_NEAR(day->To.JulianDay - day->From.JulianDay, 1, SecondDays);
        EXPECT_FALSE(day->Elements[0].empty());
        const std::optional<MomentPanchanga> noon =
            PanchangaAt(day->From.JulianDay + 0.5, Tromso, TrueChitra(), Fixed(3600));
        ASSERT_TRUE(noon);
        EXPECT_FALSE(noon->Sunrise || noon->HoraLord || noon->CivilSunrise);
        EXPECT_EQ(noon->Vara, weekday);
        EXPECT_NE(MomentPanchangaText(*noon, false, "Lahiri").find("Sunrise       none"), std::string::npos);
    }
}

// The names by the rules: tithis 1-14 in each paksha, 15 Purnima, 30
// Amavasya; karana 1 Kimstughna, 2-57 the seven movable in turn, then the
// three fixed; yogas from Vishkambha to Vaidhriti.
TEST(Names, FollowTheCounts)
{
    const std::vector<std::tuple<Element, int, std::string_view>> rows {
        {Element::Tithi, 1, "Pratipada"}, {Element::Tithi, 14, "Chaturdashi"}, {Element::Tithi, 15, "Purnima"},
        {Element::Tithi, 16, "Pratipada"}, {Element::Tithi, 29, "Chaturdashi"}, {Element::Tithi, 30, "Amavasya"},
        {Element::Karana, 1, "Kimstughna"}, {Element::Karana, 2, "Bava"}, {Element::Karana, 8, "Vishti"},
        {Element::Karana, 9, "Bava"}, {Element::Karana, 57, "Vishti"}, {Element::Karana, 58, "Shakuni"},
        {Element::Karana, 59, "Chatushpada"}, {Element::Karana, 60, "Naga"}, {Element::Yoga, 1, "Vishkambha"},
        {Element::Yoga, 21, "Siddha"}, {Element::Yoga, 27, "Vaidhriti"}, {Element::Nakshatra, 27, "Revati"},
    };
    for (const auto& [element, number, name] : rows) {
        EXPECT_EQ(ElementName(element, number), name) << ElementTitle(element) << " " << number;
    }
    EXPECT_EQ(PakshaOf(15), "Shukla");
    EXPECT_EQ(PakshaOf(16), "Krishna");
}

// The almanacs' table of the eighths of the day from 6:00 (rahu kala Monday
// 7:30-9:00, Saturday 9:00-10:30, Friday 10:30-12:00, Wednesday 12:00-13:30,
// Thursday 13:30-15:00, Tuesday 15:00-16:30, Sunday 16:30-18:00; yamaganda
// and gulika kala likewise), and the Chaldean horas: Sunday's first is the
// Sun's, its second Venus's, its 24th Mercury's, so that the 25th is the Moon's.
TEST(DayParts, RahuKalaYamagandaGulikaAndHoras)
{
    const std::array<DayPartNumbers, 7> parts {{
        {8, 5, 7}, {2, 4, 6}, {7, 3, 5}, {5, 2, 4}, {6, 1, 3}, {4, 7, 2}, {3, 6, 1},
    }};
    for (int weekday = 0; weekday < 7; ++weekday) {
        const DayPartNumbers found = DayPartsOf(weekday);
        const DayPartNumbers& expected = parts[static_cast<std::size_t>(weekday)];
        EXPECT_EQ(std::tuple(found.RahuKala, found.Yamaganda, found.GulikaKala),
            std::tuple(expected.RahuKala, expected.Yamaganda, expected.GulikaKala)) << WeekdayName(weekday);
        EXPECT_EQ(HoraLord(weekday, 0), VaraLord(weekday));
        EXPECT_EQ(HoraLord(weekday, 24), VaraLord(weekday + 1));
    }
    EXPECT_EQ(HoraLord(0, 1), Graha::Venus);
    EXPECT_EQ(HoraLord(0, 23), Graha::Mercury);
    EXPECT_EQ(VaraLord(6), Graha::Saturn);
}

// Local times: across the date line of UT, with a negative offset, and a
// local mean time's offset with seconds.
TEST(Times, IsoLocalTimeToTheSecond)
{
    EXPECT_EQ(IsoLocalTime({2460400.5, -18000}), "2024-03-30T19:00:00-05:00");
    EXPECT_EQ(IsoLocalTime({2451545.0, 21200}), "2000-01-01T17:53:20+05:53:20");
    EXPECT_EQ(IsoLocalTime({2451544.5 - 0.4 * SecondDays, 0}), "2000-01-01T00:00:00+00:00");
    EXPECT_EQ(ShortLocalTime({2451545.0, 0}, 2451545), "12:00:00");
    EXPECT_EQ(ShortLocalTime({2451545.0, 43200}, 2451545), "2000-01-02 00:00:00");
}

} // namespace
