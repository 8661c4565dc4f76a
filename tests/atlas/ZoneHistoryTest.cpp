#include "atlas/ZoneHistory.h"
#include "atlas/ZoneListMatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
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

// A table's label as a test name: letters and digits, '_' for the rest.
std::string TestName(std::string_view label)
{
    std::string name;
    for (const char c : label) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(TzDatabase, ReferenceOffsets, ::testing::ValuesIn(ReferenceRows()),
    [](const auto& row) { return TestName(row.param.Name); });

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
    // Each word must be in the message ('_' stands for a space), or with a
    // leading '!' must not.
    std::istringstream mentions(row.Mentions);
    for (std::string word; mentions >> word;) {
        const bool absent = word.starts_with('!');
        std::replace(word.begin(), word.end(), '_', ' ');
        const std::string text = absent ? word.substr(1) : word;
        EXPECT_EQ(result.Error.find(text) == std::string::npos, absent) << "\"" << word << "\" in: " << result.Error;
    }
}

// One zone's rows of zone-history.tsv (its header says where they come from
// and how to remake it).
struct ZoneRows {
    std::string Zone;
    std::vector<std::string> Rows;
};
void PrintTo(const ZoneRows& zone, std::ostream* os) { *os << zone.Zone; }

std::vector<ZoneRows> HistoryRows()
{
    std::vector<ZoneRows> zones;
    std::ifstream file(HALVARO_ATLAS_DATA "/zone-history.tsv");
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("@ ")) {
            zones.push_back({line.substr(2), {}});
        } else if (!line.empty() && line[0] != '#' && !zones.empty()) {
            zones.back().Rows.push_back(line);
        }
    }
    return zones;
}

class ZoneHistory : public ::testing::TestWithParam<ZoneRows> {};

INSTANTIATE_TEST_SUITE_P(EveryAtlasZone, ZoneHistory, ::testing::ValuesIn(HistoryRows()),
    [](const auto& zone) { return TestName(zone.param.Zone); });

TEST(ZoneHistoryTable, HoldsEveryZoneOfTheAtlas)
{
    // The cities name 339 zones; a table cut short would pass unnoticed.
    EXPECT_EQ(HistoryRows().size(), 339U);
}

TEST_P(ZoneHistory, MatchesZoneinfoFrom1600To2399)
{
    struct Reading {
        int Seconds = 0;
        std::string Abbreviation;
        int Dst = 0;
    };
    const auto expectReading = [](const ZoneOffsetResult& result, const Reading& want, const std::string& row) {
        ASSERT_TRUE(result.Offset) << row << ": " << result.Error;
        EXPECT_EQ(result.Offset->UtcOffsetSeconds, want.Seconds) << row;
        EXPECT_LE(std::abs(result.Offset->UtcOffsetMinutes * 60 - want.Seconds), 30) << row;
        EXPECT_EQ(result.Offset->Abbreviation, want.Abbreviation) << row;
        EXPECT_EQ(result.Offset->DaylightSaving, want.Dst != 0) << row;
    };
    ZoneCache cache;
    for (const std::string& row : GetParam().Rows) {
        CivilDateTime local;
        std::istringstream fields(row);
        std::string when, kind;
        Reading first, second;
        std::getline(fields, when, '\t');
        fields >> kind >> first.Seconds >> first.Abbreviation >> first.Dst;
        if (kind != "=") {
            fields >> second.Seconds >> second.Abbreviation >> second.Dst;
        }
        ASSERT_TRUE(fields || fields.eof()) << row;
        ASSERT_EQ(std::sscanf(when.c_str(), "%d-%d-%d %d:%d", &local.Year, &local.Month, &local.Day, &local.Hour,
                      &local.Minute),
            5)
            << row;
        const ZoneOffsetResult unspecified = cache.OffsetAt(GetParam().Zone, local);
        if (kind == "=") {
            expectReading(unspecified, first, row);
            continue;
        }
        ASSERT_FALSE(unspecified.Offset) << row;
        EXPECT_EQ(unspecified.Problem, kind == "gap" ? ZoneOffsetResult::Fault::NoSuchLocalTime
                                                     : ZoneOffsetResult::Fault::TwiceLocalTime)
            << row;
        for (const std::string& abbreviation : {first.Abbreviation, second.Abbreviation}) {
            EXPECT_NE(unspecified.Error.find("(" + abbreviation + ", "), std::string::npos) << row << ": " << unspecified.Error;
        }
        if (kind == "twice") {
            expectReading(cache.OffsetAt(GetParam().Zone, local, DstChoice::Daylight), first, row);
            expectReading(cache.OffsetAt(GetParam().Zone, local, DstChoice::Standard), second, row);
        } else {
            EXPECT_FALSE(cache.OffsetAt(GetParam().Zone, local, DstChoice::Standard).Offset) << row;
        }
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
    EXPECT_EQ(cache.OffsetAt("Asia/Kolkata", {1975, 6, 15, 24, 0}).Problem, ZoneOffsetResult::Fault::NotADate);
    // Names that are files of the folder but no zone of the database.
    for (const char* notAZone : {"localtime", "../../../etc/passwd", "tzdata.zi"}) {
        EXPECT_EQ(cache.OffsetAt(notAZone, {1975, 6, 15, 10, 30}).Problem, ZoneOffsetResult::Fault::UnknownZone);
    }
}

TEST(ZoneErrors, AFolderWithoutTheDatabaseIsSaidNotRead)
{
    const std::string folder = ::testing::TempDir();
    const char* given = std::getenv("TZDIR");
    const std::optional<std::string> before = given != nullptr ? std::optional<std::string>(given) : std::nullopt;
    ASSERT_EQ(setenv("TZDIR", folder.c_str(), 1), 0);
    ZoneCache cache;
    const ZoneOffsetResult result = cache.OffsetAt("Asia/Kolkata", {1975, 6, 15, 10, 30});
    if (before) {
        setenv("TZDIR", before->c_str(), 1);
    } else {
        unsetenv("TZDIR");
    }
    EXPECT_EQ(result.Problem, ZoneOffsetResult::Fault::NoDatabase);
    EXPECT_NE(result.Error.find(folder), std::string::npos) << result.Error;
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
