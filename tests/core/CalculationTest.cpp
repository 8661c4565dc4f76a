#include "calculation/Calculation.h"
#include "calculation/Reading.h"

#include "aspects/GrahaDrishti.h"
#include "core/BirthRecord.h"
#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using halvaro::BirthData;
using halvaro::BirthRecord;
using halvaro::BirthRecordType;
using halvaro::testing::Delhi1975;
using halvaro::testing::Greenwich2000;
namespace gd = halvaro::modVedicGrahaDrishti;

auto Fields(const BirthRecordType& r)
{
    return std::tie(r.Name, r.Day, r.Month, r.Year, r.Hour, r.Minute, r.ZoneHours, r.ZoneMinutes,
        r.LongitudeDegrees, r.LongitudeMinutes, r.LatitudeDegrees, r.LatitudeMinutes, r.IsEast, r.IsSouth,
        r.DaylightSaving, r.City, r.State, r.Country, r.ZoneHourCorrection, r.ZoneMinuteCorrection);
}

struct ZoneCase {
    std::string_view Name;
    int Position;
    int ZoneHours, ZoneMinutes, HourCorrection, MinuteCorrection;
};

void PrintTo(const ZoneCase& row, std::ostream* os)
{
    *os << row.Name;
}

class RecordZoneFields : public testing::TestWithParam<ZoneCase> {};

TEST_P(RecordZoneFields, MagnitudesAndSignedCorrections)
{
    const ZoneCase& c = GetParam();
    BirthData entries = Delhi1975();
    entries.ZonePosition = c.Position;
    halvaro::WriteBirthRecord(entries);
    EXPECT_EQ(BirthRecord.ZoneHours, c.ZoneHours);
    EXPECT_EQ(BirthRecord.ZoneMinutes, c.ZoneMinutes);
    EXPECT_EQ(BirthRecord.ZoneHourCorrection, c.HourCorrection);
    EXPECT_EQ(BirthRecord.ZoneMinuteCorrection, c.MinuteCorrection);
}

// From the documented zone list and its worked record values.
const ZoneCase ZoneCases[] {
    {"IndianTime", 34, 5, 30, -5, -30},
    {"HawaiianStandardTime", 32, 10, 30, 10, 30},
    {"GreenwichMeanTime", 29, 0, 0, 0, 0},
    {"UniversalTime", 61, 0, 0, 0, 0},
    {"YukonWarTimeLastLine", 70, 8, 0, 8, 0},
    {"AlaskaHawaiiDaylightFirstLine", 0, 9, 0, 9, 0},
    {"NewZealandStdSummerTime", 46, 13, 0, -13, 0},
    {"NewfoundlandStandardTime", 50, 3, 30, 3, 30},
    {"NorthSumatraTime", 52, 6, 30, -6, -30},
};

INSTANTIATE_TEST_SUITE_P(Zones, RecordZoneFields, testing::ValuesIn(ZoneCases),
    [](const testing::TestParamInfo<ZoneCase>& info) { return std::string(info.param.Name); });

TEST(WriteBirthRecord, KeepsTheNameAndTrimsThePlace)
{
    BirthData entries = Delhi1975();
    entries.Name = "  Asha Rao  ";
    entries.City = "  New Delhi ";
    entries.State = " Delhi";
    entries.Country = "India  ";
    entries.Day = 31;
    entries.Month = 3;
    entries.Year = 2050;
    entries.Hour = 23;
    entries.Minute = 59;
    halvaro::WriteBirthRecord(entries);
    EXPECT_EQ(BirthRecord.Name, "  Asha Rao  ");
    EXPECT_EQ(BirthRecord.City, "New Delhi");
    EXPECT_EQ(BirthRecord.State, "Delhi");
    EXPECT_EQ(BirthRecord.Country, "India");
    EXPECT_EQ(BirthRecord.Day, 31);
    EXPECT_EQ(BirthRecord.Month, 3);
    EXPECT_EQ(BirthRecord.Year, 2050);
    EXPECT_EQ(BirthRecord.Hour, 23);
    EXPECT_EQ(BirthRecord.Minute, 59);
    EXPECT_EQ(BirthRecord.LatitudeDegrees, 28);
    EXPECT_EQ(BirthRecord.LatitudeMinutes, 39);
    EXPECT_EQ(BirthRecord.LongitudeDegrees, 77);
    EXPECT_EQ(BirthRecord.LongitudeMinutes, 13);
}

TEST(WriteBirthRecord, CityOfBlanksIsStoredEmpty)
{
    BirthData entries = Delhi1975();
    entries.City = "   ";
    halvaro::WriteBirthRecord(entries);
    EXPECT_EQ(BirthRecord.City, "");
}

struct FlagCase {
    std::string_view Name;
    bool North, South, East, West, DaylightSaving;
    std::int16_t IsEast, IsSouth, RecordDaylightSaving;
};

void PrintTo(const FlagCase& row, std::ostream* os)
{
    *os << row.Name;
}

class RecordFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(RecordFlags, StoredAsMinusOneAndZero)
{
    const FlagCase& c = GetParam();
    BirthData entries = Delhi1975();
    entries.North = c.North;
    entries.South = c.South;
    entries.East = c.East;
    entries.West = c.West;
    entries.DaylightSaving = c.DaylightSaving;
    halvaro::WriteBirthRecord(entries);
    EXPECT_EQ(BirthRecord.IsEast, c.IsEast);
    EXPECT_EQ(BirthRecord.IsSouth, c.IsSouth);
    EXPECT_EQ(BirthRecord.DaylightSaving, c.RecordDaylightSaving);
}

// 16-bit booleans: -1 for true, 0 for false.
const FlagCase FlagCases[] {
    {"NorthEastNoDaylightSaving", true, false, true, false, false, -1, 0, 0},
    {"SouthWestDaylightSaving", false, true, false, true, true, 0, -1, -1},
    {"NorthWest", true, false, false, true, false, 0, 0, 0},
    {"SouthEast", false, true, true, false, false, -1, -1, 0},
};

INSTANTIATE_TEST_SUITE_P(Choices, RecordFlags, testing::ValuesIn(FlagCases),
    [](const testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.Name); });

TEST(WriteBirthRecord, ZoneOutsideTheTableKeepsTheZoneFields)
{
    for (const int position : {71, -1, 1000}) {
        BirthRecord.ZoneHours = 7;
        BirthRecord.ZoneMinutes = 30;
        BirthRecord.ZoneHourCorrection = -7;
        BirthRecord.ZoneMinuteCorrection = -30;
        BirthData entries = Delhi1975();
        entries.ZonePosition = position;
        entries.Name = "Zone " + std::to_string(position);
        halvaro::WriteBirthRecord(entries);
        EXPECT_EQ(BirthRecord.ZoneHours, 7) << "position " << position;
        EXPECT_EQ(BirthRecord.ZoneMinutes, 30) << "position " << position;
        EXPECT_EQ(BirthRecord.ZoneHourCorrection, -7) << "position " << position;
        EXPECT_EQ(BirthRecord.ZoneMinuteCorrection, -30) << "position " << position;
        EXPECT_EQ(BirthRecord.Name, entries.Name) << "the other fields are still written";
    }
}

TEST(WriteBirthRecord, BoxTextThatIsNoNumberKeepsItsField)
{
    BirthRecord.LatitudeDegrees = 12;
    BirthRecord.LatitudeMinutes = 34;
    BirthRecord.LongitudeDegrees = 56;
    BirthRecord.LongitudeMinutes = 7;
    BirthData entries = Delhi1975();
    entries.LatDeg = "2.5";
    entries.LonMin = "";
    halvaro::WriteBirthRecord(entries);
    EXPECT_EQ(BirthRecord.LatitudeDegrees, 12);
    EXPECT_EQ(BirthRecord.LatitudeMinutes, 39);
    EXPECT_EQ(BirthRecord.LongitudeDegrees, 77);
    EXPECT_EQ(BirthRecord.LongitudeMinutes, 7);
}

TEST(RunCalculationDriver, FailedCheckChangesNothing)
{
    ASSERT_FALSE(halvaro::RunCalculationDriver(Delhi1975()).has_value());
    const BirthRecordType recordBefore = BirthRecord;
    const gd::ResultTexts resultsBefore = gd::Results;

    BirthData entries = Greenwich2000();
    entries.Day = 31;
    entries.Month = 4;
    const auto failure = halvaro::RunCalculationDriver(entries);

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Message, "Please Enter Correct Date Or Month !");
    EXPECT_EQ(Fields(BirthRecord), Fields(recordBefore));
    for (std::size_t row = 0; row < gd::RowCount; ++row) {
        EXPECT_EQ(gd::Results.lblPlanets[row], resultsBefore.lblPlanets[row]) << "row " << row;
        EXPECT_EQ(gd::Results.lblPlanets_Position[row], resultsBefore.lblPlanets_Position[row]) << "row " << row;
        EXPECT_EQ(gd::Results.lblAspects_Sign[row], resultsBefore.lblAspects_Sign[row]) << "row " << row;
        EXPECT_EQ(gd::Results.lblAspects_Planets[row], resultsBefore.lblAspects_Planets[row]) << "row " << row;
    }
}

using halvaro::testing::ResultRow;

struct BirthCase {
    std::string_view Name;
    BirthData (*Entries)();
    std::array<ResultRow, 8> Rows;
};

void PrintTo(const BirthCase& row, std::ostream* os)
{
    *os << row.Name;
}

class WorkedReadings : public testing::TestWithParam<BirthCase> {};

void ExpectRows(const gd::ResultTexts& results, const std::array<ResultRow, 8>& rows, std::string_view through)
{
    for (std::size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(results.lblPlanets[row].view(), rows[row].Planets) << through << ", row " << row;
        EXPECT_EQ(results.lblPlanets_Position[row].view(), rows[row].Position) << through << ", row " << row;
        EXPECT_EQ(results.lblAspects_Sign[row].view(), rows[row].AspectsSign) << through << ", row " << row;
        EXPECT_EQ(results.lblAspects_Planets[row].view(), rows[row].AspectsPlanets) << through << ", row " << row;
    }
}

// The same texts through the value and through the named steps over the
// module-level values.
TEST_P(WorkedReadings, ThirtyTwoResultTexts)
{
    const BirthCase& c = GetParam();
    const halvaro::ReadingResult value = halvaro::CalculateReading(c.Entries());
    ASSERT_FALSE(value.Failure.has_value()) << value.Failure->Message;
    ExpectRows(value.Value.Results, c.Rows, "value");
    for (std::size_t graha = 0; graha < c.Rows.size(); ++graha) {
        EXPECT_EQ(value.Value.GrahaPositionTexts[graha].view(), c.Rows[graha].Position) << "graha " << graha;
    }

    const auto failure = halvaro::RunCalculationDriver(c.Entries());
    ASSERT_FALSE(failure.has_value()) << failure->Message;
    ExpectRows(gd::Results, c.Rows, "named steps");
}

// The positions are the short texts of the two worked examples; the
// aspect texts were worked out by hand from them (the Delhi rows live with the
// reference births, where the window's tests use them too).
const BirthCase BirthCases[] {
    {"Delhi1975", Delhi1975, halvaro::testing::Delhi1975Results},
    {"Greenwich2000", Greenwich2000,
        {{
            {"Sun / Surya", "16 Sag 31", "Sign aspected by Sun is Mithuna.", "Planet Sun has no Graha Drishti."},
            {"Moon / Chandra", "19 Lib 27", "Sign aspected by Moon is Mesha.",
                "Planet(s) aspected by Moon is Jupiter, Saturn."},
            {"Mercury / Budha", "08 Sag 03", "Sign aspected by Mercury is Mithuna.",
                "Planet Mercury has no Graha Drishti."},
            {"Venus / Shukra", "07 Sco 43", "Sign aspected by Venus is Vrishabha.",
                "Planet Venus has no Graha Drishti."},
            {"Mars / Mangala", "04 Aqu 07", "Sign aspected by Mars is Vrishabha, Simha, Kanya.",
                "Planet Mars has no Graha Drishti."},
            {"Jupiter / Guru", "01 Ari 30", "Sign aspected by Jupiter is Simha, Thula, Dhanus.",
                "Planet(s) aspected by Jupiter is Moon, Sun, Mercury."},
            {"Saturn / Shani", "16 Ari 21", "Sign aspected by Saturn is Mithuna, Thula, Makara.",
                "Planet(s) aspected by Saturn is Moon."},
            {"North Node / Rahu", "10 Can 16", "Sign aspected by North Node is Makara.",
                "Planet North Node has no Graha Drishti."},
        }}},
};

// Two threads, each with its own births, calculate at the same time; every
// reading must be the one a single thread gives. A shared working value (a
// cache, a module-level result) would mix one thread's numbers into the
// other's texts.
TEST(CalculateReading, TwoThreadsGiveTheOneThreadReadings)
{
    std::vector<BirthData> births;
    for (int day = 1; day <= 28; ++day) {
        BirthData delhi = Delhi1975();
        delhi.Day = day;
        BirthData greenwich = Greenwich2000();
        greenwich.Day = day;
        greenwich.Hour = day % 24;
        births.push_back(delhi);
        births.push_back(greenwich);
    }
    std::vector<halvaro::modVedicGrahaDrishti::ResultTexts> expected;
    for (const BirthData& birth : births) {
        const auto result = halvaro::CalculateReading(birth);
        ASSERT_FALSE(result.Failure.has_value());
        expected.push_back(result.Value.Results);
    }

    constexpr int Rounds = 200;
    std::array<int, 2> mismatches {};
    const auto work = [&](std::size_t thread) {
        for (int round = 0; round < Rounds; ++round) {
            for (std::size_t i = thread; i < births.size(); i += 2) {
                const auto result = halvaro::CalculateReading(births[i]);
                for (std::size_t row = 0; row < gd::RowCount; ++row) {
                    if (result.Value.Results.lblAspects_Planets[row] != expected[i].lblAspects_Planets[row]
                        || result.Value.Results.lblPlanets_Position[row] != expected[i].lblPlanets_Position[row]) {
                        ++mismatches[thread];
                    }
                }
            }
        }
    };
    std::thread first(work, 0);
    std::thread second(work, 1);
    first.join();
    second.join();
    EXPECT_EQ(mismatches[0], 0);
    EXPECT_EQ(mismatches[1], 0);
}

INSTANTIATE_TEST_SUITE_P(Births, WorkedReadings, testing::ValuesIn(BirthCases),
    [](const testing::TestParamInfo<BirthCase>& info) { return std::string(info.param.Name); });

} // namespace
