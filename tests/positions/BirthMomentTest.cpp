#include "positions/Ayanamsa.h"
#include "ReferenceChecks.h"

#include <gtest/gtest.h>

#include <ostream>

#include <bit>
#include <cstdint>
#include <string>

namespace {

namespace P = halvaro::modVedicPlanetPosition;
using halvaro::testing::MomentOf;
using halvaro::testing::AgreesWithPrinted;
using halvaro::testing::Birth;

struct CivilDayCase {
    const char* name;
    int year, month, day;
    double julianDay;
};

class JulianDayNumberTest : public ::testing::TestWithParam<CivilDayCase> {};
void PrintTo(const CivilDayCase& c, std::ostream* os) { *os << c.name; }

TEST_P(JulianDayNumberTest, CountsDaysAtNoon)
{
    const CivilDayCase& c = GetParam();
    EXPECT_EQ(halvaro::JulianDayNumber(c.month, c.day, c.year), c.julianDay) << c.year << '-' << c.month << '-' << c.day;
}

// Published Julian Day Numbers; the last day of the Julian calendar, and the
// last supported year counted on from J2000 (51 years, 13 of them leap).
INSTANTIATE_TEST_SUITE_P(PublishedDays, JulianDayNumberTest,
    ::testing::Values(CivilDayCase {"J2000", 2000, 1, 1, 2451545}, CivilDayCase {"Year1900", 1900, 1, 1, 2415021},
        CivilDayCase {"Year1901", 1901, 1, 1, 2415386}, CivilDayCase {"LeapDay2000", 2000, 2, 29, 2451604},
        CivilDayCase {"Birth1975", 1975, 6, 15, 2442579}, CivilDayCase {"Birth1990", 1990, 7, 4, 2448077},
        CivilDayCase {"LastJulianDay", 1582, 10, 4, 2299160},
        CivilDayCase {"LastSupportedDay", 2050, 12, 31, 2470172}),
    [](const auto& row) { return std::string(row.param.name); });

struct AyanamsaCase {
    const char* name;
    double centuries;
    const char* degrees;
};

class AyanamsaDegreesTest : public ::testing::TestWithParam<AyanamsaCase> {};
void PrintTo(const AyanamsaCase& c, std::ostream* os) { *os << c.name; }

TEST_P(AyanamsaDegreesTest, AgreesWithTheReferenceDigits)
{
    EXPECT_TRUE(AgreesWithPrinted(P::AyanamsaDegrees(GetParam().centuries), GetParam().degrees, "arc-seconds", 3600));
}

// The classic model's worked values of the ayanamsa at whole and half centuries after 1900.
INSTANTIATE_TEST_SUITE_P(Centuries, AyanamsaDegreesTest,
    ::testing::Values(AyanamsaCase {"Year1900", 0.0, "-22.46628"}, AyanamsaCase {"Year1950", 0.5, "-23.15866"},
        AyanamsaCase {"Year2000", 1.0, "-23.85399089"}),
    [](const auto& row) { return std::string(row.param.name); });

struct MomentCase {
    Birth birth;
    double universalHours;
    double julianDay;
    const char* ayanamsa;
};

class ComputeAyanamsaTest : public ::testing::TestWithParam<MomentCase> {};
void PrintTo(const MomentCase& c, std::ostream* os) { *os << c.birth.name; }

TEST_P(ComputeAyanamsaTest, FindsTheWorkedMomentAndAyanamsa)
{
    const MomentCase& c = GetParam();
    const halvaro::BirthMoment moment = MomentOf(c.birth);
    EXPECT_EQ(moment.UniversalHours, c.universalHours);
    EXPECT_EQ(moment.JulianDayNumber, c.julianDay);
    EXPECT_TRUE(AgreesWithPrinted(P::ComputeAyanamsa(moment), c.ayanamsa, "arc-seconds", 3600));
}

// The worked readings; 13:00 is 9:00 under a zone of +5 less the summer hour.
INSTANTIATE_TEST_SUITE_P(WorkedBirths, ComputeAyanamsaTest,
    ::testing::Values(MomentCase {halvaro::testing::Greenwich2000Birth(), 12.0, 2451545, "-23.85399089"},
        MomentCase {halvaro::testing::Delhi1975Birth(), 5.0, 2442579, "-23.51900"},
        MomentCase {halvaro::testing::WestSummer1990Birth(), 13.0, 2448077, "-23.72906"}),
    [](const auto& row) { return std::string(row.param.birth.name); });

TEST(CenturiesSince1900, CountsExactlyOneCenturyFrom1900ToJ2000)
{
    const halvaro::BirthMoment moment = MomentOf(halvaro::testing::Greenwich2000Birth());
    EXPECT_EQ(P::CenturiesSince1900Of(moment.JulianDayNumber, moment.UniversalHours), 1.0);
}

// Universal Time when the zone's direction is taken from the hemisphere:
// the size of the zone, one hour more in the east or less in the west with
// daylight saving, subtracted in the east and added in the west.
double UniversalHoursByHemisphere(const Birth& b)
{
    const double local = b.hour + b.minute / 60.0;
    double zone = std::abs(b.zoneHourCorrection) + std::abs(b.zoneMinuteCorrection) / 60.0;
    double west = b.longitudeDegrees + b.longitudeMinutes / 60.0;
    if (b.east) {
        west = -west;
    }
    if (b.daylightSaving) {
        zone = west < 0 ? zone + 1 : zone - 1;
    }
    return west < 0 ? local - zone : local + zone;
}

class ZoneSignTest : public ::testing::TestWithParam<Birth> {};

TEST_P(ZoneSignTest, GivesTheHemisphereRuleBitsWhereZoneAndHemisphereAgree)
{
    const auto expected = std::bit_cast<std::uint64_t>(UniversalHoursByHemisphere(GetParam()));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(MomentOf(GetParam()).UniversalHours), expected);
}

// Zones whose sign agrees with the hemisphere, with and without daylight
// saving, including half-hour zones and a western zone of 0:00 in summer.
INSTANTIATE_TEST_SUITE_P(AgreeingZones, ZoneSignTest,
    ::testing::Values(halvaro::testing::Greenwich2000Birth(), halvaro::testing::Delhi1975Birth(),
        halvaro::testing::WestSummer1990Birth(), halvaro::testing::WestEvening1990,
        Birth {"IstSummer", 1975, 6, 15, 0, 10, -5, -30, 77, 13, true, true},
        Birth {"GreenwichSummer", 1990, 7, 4, 0, 15, 0, 0, 0, 7, false, true},
        Birth {"TongaEarly", 2050, 12, 31, 1, 0, -13, 0, 175, 12, true, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BirthMoment, FollowsTheZoneSignWhereZoneAndHemisphereDisagree)
{
    // 12:00 CET is 11:00 UT, though the place lies west of Greenwich.
    EXPECT_EQ(MomentOf(halvaro::testing::MadridCet1990).UniversalHours, 11.0);
}

} // namespace
