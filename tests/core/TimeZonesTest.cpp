#include "core/TimeZones.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using halvaro::TimeZoneCount;

struct ZoneRow {
    int Index;
    std::string_view Text;
    int HourCorrection;
    int MinuteCorrection;
    std::string_view Abbreviation; // names the row
};

// Failure messages name the row.
void PrintTo(const ZoneRow& row, std::ostream* os)
{
    *os << "zone " << row.Index;
}

class TimeZoneTable : public testing::TestWithParam<ZoneRow> {};

TEST_P(TimeZoneTable, EntryHasItsTextAndCorrections)
{
    const ZoneRow& row = GetParam();
    ASSERT_LT(row.Index, TimeZoneCount);
    const halvaro::TimeZone& zone = halvaro::TimeZoneTable[static_cast<std::size_t>(row.Index)];
    EXPECT_EQ(zone.Name, row.Text);
    EXPECT_EQ(zone.HourCorrection, row.HourCorrection);
    EXPECT_EQ(zone.MinuteCorrection, row.MinuteCorrection);
}

// The classic model's zone list: display texts character for character, and the
// offsets with their sign reversed, split into whole hours and minutes.
constexpr ZoneRow ZoneRows[] {
    {0, "Alaska/Hawaii Daylight Time,AHDT,-9.0", 9, 0, "AHDT"},
    {1, "Alaska/Hawaii Standard Time,AHST,-10.0", 10, 0, "AHST"},
    {2, "Alaska/Hawaii War Time,AHWT,-9.0", 9, 0, "AHWT"},
    {3, "Atlantic Standard Time,AST,-4.0", 4, 0, "AST"},
    {4, "Atlantic War Time,AWT,-3.0", 3, 0, "AWT"},
    {5, "Australian Central Daylight Time,ACDT,+10.5", -10, -30, "ACDT"},
    {6, "Australian Central Standard Time,ACST,+9.5", -9, -30, "ACST"},
    {7, "Australian Eastern Daylight Time,AEDT,+11.0", -11, 0, "AEDT"},
    {8, "Australian Eastern Standard Time,AEST,+10.0", -10, 0, "AEST"},
    {9, "Australian Western Daylight Time,AWDT,+9.0", -9, 0, "AWDT"},
    {10, "Australian Western Standard Time,AWST,+8.0", -8, 0, "AWST"},
    {11, "Azores Time, AT, -2.0", 2, 0, "AT"},
    {12, "Baghdad Time, BAT, +3.0", -3, 0, "BAT"},
    {13, "Bering Standard Time,BET,-11.0", 11, 0, "BET"},
    {14, "Brazil Zone 2,BZT2,-3.0", 3, 0, "BZT2"},
    {15, "British Double Summer Time,BDST,+2.0", -2, 0, "BDST"},
    {16, "British Summer Time,BST,+1.0", -1, 0, "BST"},
    {17, "British War Time,BWT,+2.0", -2, 0, "BWT"},
    {18, "Central Daylight Time,CDT,-5.0", 5, 0, "CDT"},
    {19, "Central European Daylight,CED,+2.0", -2, 0, "CED"},
    {20, "Central European Time,CET,+1.0", -1, 0, "CET"},
    {21, "Central Standard Time,CST,-6.0", 6, 0, "CST"},
    {22, "Central War Time,CWT,-5.0", 5, 0, "CWT"},
    {23, "China Coast Time,CCT,+8.0", -8, 0, "CCT"},
    {24, "Eastern Daylight Time,EDT,-4.0", 4, 0, "EDT"},
    {25, "Eastern European Daylight Time,EED,+3.0", -3, 0, "EED"},
    {26, "Eastern European Time,EET,+2.0", -2, 0, "EET"},
    {27, "Eastern Standard Time,EST,-5.0", 5, 0, "EST"},
    {28, "Eastern War Time,EWT,-4.0", 4, 0, "EWT"},
    {29, "Greenwich Mean Time,GMT,0.0", 0, 0, "GMT"},
    {30, "Guam Standard Time,GST,+10.0", -10, 0, "GST"},
    {31, "Hawaiian Daylight Time,HDT,-9.5", 9, 30, "HDT"},
    {32, "Hawaiian Standard Time,HST,-10.5", 10, 30, "HST"},
    {33, "Hawaiian War Time,HWT,-9.5", 9, 30, "HWT"},
    {34, "Indian Time, IST, +5.3", -5, -30, "IST"},
    {35, "Int'l Date Line East,IDLE,+12.0", -12, 0, "IDLE"},
    {36, "Int'l Date Line West,IDLW,-12.0", 12, 0, "IDLW"},
    {37, "Iran Time, IT, +3.5", -3, -30, "IT"},
    {38, "Japan Standard Time,JST,+9.0", -9, 0, "JST"},
    {39, "Java Time, JT, +7.5", -7, -30, "JT"},
    {40, "Middle European Daylight Time,MED,+2.0", -2, 0, "MED"},
    {41, "Middle European Time,MET,+1.0", -1, 0, "MET"},
    {42, "Moluccas Time, MT, +8.5", -8, -30, "MT"},
    {43, "Mountain Daylight Time,MDT,-6.0", 6, 0, "MDT"},
    {44, "Mountain Standard Time,MST,-7.0", 7, 0, "MST"},
    {45, "Mountain War Time,MWT,-6.0", 6, 0, "MWT"},
    {46, "New Zealand Std Summer Time,NZST,+13.0", -13, 0, "NZST"},
    {47, "New Zealand Std Time,NZT,+12.0", -12, 0, "NZT"},
    {48, "New Zealand Summer Time,NZS,+12.5", -12, -30, "NZS"},
    {49, "New Zealand Time,NZ,+11.5", -11, -30, "NZ"},
    {50, "Newfoundland Standard Time,NST,-3.5", 3, 30, "NST"},
    {51, "Nome Time, NT, -11.0", 11, 0, "NT"},
    {52, "North Sumatra Time,NST,+6.5", -6, -30, "NST"},
    {53, "Pacific Daylight Time,PDT,-7.0", 7, 0, "PDT"},
    {54, "Pacific Standard Time,PST,-8.0", 8, 0, "PST"},
    {55, "Pacific War Time,PWT,-7.0", 7, 0, "PWT"},
    {56, "South Australia Daylight Time,SAD,+10.5", -10, -30, "SAD"},
    {57, "South Australia Daylight Time,SDT,+10.5", -10, -30, "SDT"},
    {58, "South Australia Standard Time,SAST,+9.5", -9, -30, "SAST"},
    {59, "South Australia Standard Time,SAT,+9.5", -9, -30, "SAT"},
    {60, "South Sumatra Time,SST,+7.0", -7, 0, "SST"},
    {61, "Universal Time, UT, 0.0", 0, 0, "UT"},
    {62, "USSR Zone 10,UZ10,+11.0", -11, 0, "UZ10"},
    {63, "USSR Zone 3,USZ3,+4.0", -4, 0, "USZ3"},
    {64, "USSR Zone 4,USZ4,+5.0", -5, 0, "USZ4"},
    {65, "USSR Zone 5,USZ5,+6.0", -6, 0, "USZ5"},
    {66, "USSR Zone 6,USZ6,+7.0", -7, 0, "USZ6"},
    {67, "West Africa Time,WAT,-1.0", 1, 0, "WAT"},
    {68, "Yukon Daylight Time,YDT,-8.0", 8, 0, "YDT"},
    {69, "Yukon Standard Time,YST,-9.0", 9, 0, "YST"},
    {70, "Yukon War Time,YWT,-8.0", 8, 0, "YWT"},
};

static_assert(std::size(ZoneRows) == TimeZoneCount, "every zone has its row");

INSTANTIATE_TEST_SUITE_P(AllZones, TimeZoneTable, testing::ValuesIn(ZoneRows),
    [](const testing::TestParamInfo<ZoneRow>& row) {
        return "Zone" + std::to_string(row.param.Index) + "_" + std::string(row.param.Abbreviation);
    });

} // namespace
