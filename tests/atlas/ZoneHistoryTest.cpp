#include "atlas/ZoneHistory.h"
#include "atlas/ZoneListMatch.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace halvaro;
using namespace halvaro::atlas;

struct ReferenceRow {
    std::string Name, Zone, Local, Choice, Outcome, Offset, Abbreviation, Dst, Mentions;
};
void PrintTo(const ReferenceRow& row, std::ostream* os) { *os << row.Name; }

// The rows of zone-offsets.tsv (its header says where they come from).
std::vector<ReferenceRow> ReferenceRows()
{
    std::vector<ReferenceRow> rows;
    std::ifstream file(HALVARO_ATLAS_DATA "/zone-offsets.tsv");
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        ReferenceRow row;
        for (std::string* field : {&row.Name, &row.Zone, &row.Local, &row.Choice, &row.Outcome, &row.Offset,
                 &row.Abbreviation, &row.Dst, &row.Mentions}) {
            std::getline(fields, *field, '\t');
        }
        rows.push_back(row);
    }
    return rows;
}

class ReferenceOffsets : public ::testing::TestWithParam<ReferenceRow> {};

INSTANTIATE_TEST_SUITE_P(TzDatabase, ReferenceOffsets, ::testing::ValuesIn(ReferenceRows()), [](const auto& row) {
    std::string name;
    for (const char c : row.param.Name) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
});

TEST_P(ReferenceOffsets, MatchTheIndependentReader)
{
    const ReferenceRow& row = GetParam();
    CivilDateTime local;
    ASSERT_EQ(std::sscanf(row.Local.c_str(), "%d-%d-%d %d:%d", &local.Year, &local.Month, &local.Day, &local.Hour,
                  &local.Minute),
        5);
    const DstChoice choice = row.Choice == "daylight" ? DstChoice::Daylight
        : row.Choice == "standard"                    ? DstChoice::Standard
                                                      : DstChoice::Unspecified;
    ZoneCache cache;
    const ZoneOffsetResult result = cache.OffsetAt(row.Zone, local, choice);
    if (row.Outcome == "offset") {
        ASSERT_TRUE(result.Offset) << result.Error;
        int hours = 0, minutes = 0, seconds = 0;
        ASSERT_GE(std::sscanf(row.Offset.c_str() + 1, "%d:%d:%d", &hours, &minutes, &seconds), 2);
        EXPECT_EQ(result.Offset->UtcOffsetSeconds, (row.Offset[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60 + seconds));
        if (seconds == 0) {
            EXPECT_EQ(UtcOffsetText(result.Offset->UtcOffsetMinutes), row.Offset);
        }
        EXPECT_EQ(result.Offset->Abbreviation, row.Abbreviation);
        EXPECT_EQ(result.Offset->DaylightSaving, row.Dst == "1");
        return;
    }
    ASSERT_FALSE(result.Offset);
    EXPECT_EQ(result.Problem, row.Outcome == "gap" ? ZoneOffsetResult::Fault::NoSuchLocalTime
                                                   : ZoneOffsetResult::Fault::TwiceLocalTime);
    std::istringstream mentions(row.Mentions);
    for (std::string word; mentions >> word;) {
        EXPECT_NE(result.Error.find(word), std::string::npos) << "\"" << word << "\" missing from: " << result.Error;
    }
}

TEST(ZoneErrors, UnknownZoneOffersTheClosestNamesAndBadDatesAreRefused)
{
    ZoneCache cache;
    const ZoneOffsetResult unknown = cache.OffsetAt("Asia/Kolkatta", {1975, 6, 15, 10, 30});
    EXPECT_EQ(unknown.Problem, ZoneOffsetResult::Fault::UnknownZone);
    ASSERT_FALSE(unknown.ClosestZones.empty());
    EXPECT_EQ(unknown.ClosestZones.front(), "Asia/Kolkata");
    EXPECT_EQ(cache.OffsetAt("Asia/Kolkata", {1975, 2, 30, 10, 30}).Problem, ZoneOffsetResult::Fault::NotADate);
}

struct EntryCase {
    const char* Label;
    int OffsetMinutes;
    const char* Abbreviation;
    bool Dst;
    std::optional<ZoneChoice> Expected;
};
void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.Label; }
class ZoneListEntries : public ::testing::TestWithParam<EntryCase> {};

// Offsets, abbreviations and flags of zone-offsets.tsv; the entries are the
// list's own (core/TimeZones.h): 34 "Indian Time, IST, +5.3", 15 "British
// Double Summer Time,BDST,+2.0", 28 "Eastern War Time,EWT,-4.0", 52 "North
// Sumatra Time,NST,+6.5"; no entry gives +05:45.
INSTANTIATE_TEST_SUITE_P(ByOffset, ZoneListEntries,
    ::testing::Values(EntryCase {"India1943", 390, "+0630", true, ZoneChoice {34, true}},
        EntryCase {"India1975", 330, "IST", false, ZoneChoice {34, false}},
        EntryCase {"Karachi1950", 330, "+0530", false, ZoneChoice {34, false}},
        EntryCase {"London1941", 120, "BDST", true, ZoneChoice {15, false}},
        EntryCase {"NewYork1943", -240, "EWT", true, ZoneChoice {28, false}},
        EntryCase {"PlusSixThirtyStandard", 390, "+0630", false, ZoneChoice {52, false}},
        EntryCase {"Kathmandu1990", 345, "+0545", false, std::nullopt}),
    [](const auto& row) { return std::string(row.param.Label); });

TEST_P(ZoneListEntries, GiveTheOffsetWithTheFittingName)
{
    const EntryCase& c = GetParam();
    const std::optional<ZoneChoice> found = ZoneListEntryFor(c.OffsetMinutes, c.Abbreviation, c.Dst);
    ASSERT_EQ(found.has_value(), c.Expected.has_value());
    if (found) {
        EXPECT_EQ(found->Position, c.Expected->Position);
        EXPECT_EQ(found->DaylightSaving, c.Expected->DaylightSaving);
    }
}

// The line's wording is the one the found offset is shown with.
TEST(OffsetTexts, LineAndOffsetSyntax)
{
    EXPECT_EQ(FoundOffsetLine(390, "Asia/Kolkata", {1943, 6, 15, 10, 30}), "UTC+06:30 (Asia/Kolkata) on 15 June 1943");
    EXPECT_EQ(UtcOffsetText(-210), "-03:30");
    const std::vector<std::pair<std::string, std::optional<int>>> parsed = {{"+05:30", 330}, {"-4:00", -240},
        {"+00:00", 0}, {"+14:00", 840}, {"05:30", std::nullopt}, {"+5:3", std::nullopt}, {"+15:00", std::nullopt},
        {"+05:60", std::nullopt}, {"+05:30x", std::nullopt}};
    for (const auto& [text, minutes] : parsed) {
        EXPECT_EQ(ParseUtcOffset(text), minutes) << text;
    }
}

} // namespace
