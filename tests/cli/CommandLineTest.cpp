#include "cli/CommandLine.h"

#include "readings/ReadingFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using namespace halvaro::cli;

ParseResult Parse(const std::vector<std::string_view>& args)
{
    return ParseCommandLine(args);
}

struct UsageCase {
    const char* Label;
    std::vector<std::string_view> Args;
    const char* Error;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.Label; }

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

// Every usage error names the option or the value it could not use.
INSTANTIATE_TEST_SUITE_P(NamesWhatIsWrong, UsageErrors,
    ::testing::Values(
        UsageCase {"NothingGiven", {}, "no reading given: name a reading file or give the birth data options"},
        UsageCase {"OnlyOutputOption", {"--json"}, "no reading given: name a reading file or give the birth data options"},
        UsageCase {"UnknownLongOption", {"--frobnicate"}, "unknown option '--frobnicate'"},
        UsageCase {"UnknownShortOption", {"-x"}, "unknown option '-x'"},
        UsageCase {"ValueMissingAtEnd", {"--name"}, "--name needs a value"},
        UsageCase {"ValueGivenToSwitch", {"--dst=yes"}, "--dst takes no value"},
        UsageCase {"OptionTwice", {"--name", "A", "--name", "B"}, "--name is given more than once"},
        UsageCase {"TwoFiles", {"a.aha", "b.aha"}, "more than one reading file given: 'a.aha' and 'b.aha'"},
        UsageCase {"FileAndBirthData", {"a.aha", "--city", "Pune"}, "a reading file and birth data options cannot be combined (--city)"},
        UsageCase {"ZonesWithMore", {"--zones", "--json"}, "--zones takes no other options or files"},
        UsageCase {"DateWithSlashes", {"--date", "1975/06/15"}, "--date: '1975/06/15' is not a date of the form YYYY-MM-DD"},
        UsageCase {"DateTwoDigitYear", {"--date", "75-06-15"}, "--date: '75-06-15' is not a date of the form YYYY-MM-DD"},
        UsageCase {"DateYearBeforeList", {"--date", "1900-12-31"}, "--date: the year 1900 is outside 1901 to 2050"},
        UsageCase {"DateYearAfterList", {"--date", "2051-01-01"}, "--date: the year 2051 is outside 1901 to 2050"},
        UsageCase {"DateMonthThirteen", {"--date", "1975-13-01"}, "--date: the month 13 is outside 1 to 12"},
        UsageCase {"DateDayZero", {"--date", "1975-06-00"}, "--date: the day 0 is outside 1 to 31"},
        UsageCase {"DateDayThirtyTwo", {"--date", "1975-06-32"}, "--date: the day 32 is outside 1 to 31"},
        UsageCase {"TimeWithPoint", {"--time", "10.30"}, "--time: '10.30' is not a time of the form HH:MM"},
        UsageCase {"TimeNegative", {"--time", "-1:00"}, "--time: '-1:00' is not a time of the form HH:MM"},
        UsageCase {"TimeHour24", {"--time", "24:00"}, "--time: the hour 24 is outside 0 to 23"},
        UsageCase {"TimeMinute60", {"--time=10:60"}, "--time: the minute 60 is outside 0 to 59"},
        UsageCase {"ZoneAfterList", {"--zone", "71"}, "--zone: '71' is not a zone position from 0 to 70 (see --zones)"},
        UsageCase {"ZoneNegative", {"--zone=-1"}, "--zone: '-1' is not a zone position from 0 to 70 (see --zones)"},
        UsageCase {"ZoneEmpty", {"--zone="}, "--zone: '' is not a zone position from 0 to 70 (see --zones)"},
        UsageCase {"LatitudeWithoutDirection", {"--lat", "28:39"}, "--lat: '28:39' is not a latitude of the form DD:MM followed by N or S"},
        UsageCase {"LatitudeWithEast", {"--lat", "28:39E"}, "--lat: '28:39E' is not a latitude of the form DD:MM followed by N or S"},
        UsageCase {"LatitudeWithoutMinutes", {"--lat", "28N"}, "--lat: '28N' is not a latitude of the form DD:MM followed by N or S"},
        UsageCase {"LatitudeFourDigits", {"--lat", "1234:00N"}, "--lat: '1234:00N' is not a latitude of the form DD:MM followed by N or S"},
        UsageCase {"LongitudeWithNorth", {"--lon", "77:13N"}, "--lon: '77:13N' is not a longitude of the form DDD:MM followed by E or W"},
        UsageCase {"LongitudeDecimalMinutes", {"--lon", "77:1.5E"}, "--lon: '77:1.5E' is not a longitude of the form DDD:MM followed by E or W"},
        UsageCase {"SaveWithoutAha", {"--save", "reading.txt"}, "--save: 'reading.txt' does not end in .aha"},
        UsageCase {"SaveEndingInAhaWithoutDot", {"--save", "xaha"}, "--save: 'xaha' does not end in .aha"},
        UsageCase {"TerminalEscapeShownEscaped", {"--zone", "\x1b[31m"},
            "--zone: '\\x1b[31m' is not a zone position from 0 to 70 (see --zones)"},
        UsageCase {"C1ControlAndStrayByteShownEscaped", {"--time", "\xC2\x9B" "1\xFF"},
            "--time: '\\xc2\\x9b1\\xff' is not a time of the form HH:MM"},
        UsageCase {"BellInOptionShownEscaped", {"--\a"}, "unknown option '--\\x07'"},
        UsageCase {"Utf8TextShownAsItIs", {"--date", "1975\xE2\x80\x93" "06"},
            "--date: '1975\xE2\x80\x93" "06' is not a date of the form YYYY-MM-DD"},
        UsageCase {"DateMissing", {"--name", "A", "--time", "10:30", "--zone", "34"}, "--date YYYY-MM-DD is missing"},
        UsageCase {"TimeMissing", {"--date", "1975-06-15", "--zone", "34"}, "--time HH:MM is missing"},
        UsageCase {"ZoneMissing", {"--date", "1975-06-15", "--time", "10:30"}, "--zone N is missing (see --zones)"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_P(UsageErrors, AreRefusedWithTheirText)
{
    const ParseResult result = Parse(GetParam().Args);
    EXPECT_FALSE(result.Parsed);
    EXPECT_EQ(result.Error, GetParam().Error);
}

TEST(ParseCommandLine, BirthDataOptionsFillTheEntries)
{
    const ParseResult result = Parse({"--name", " Asha Rao ", "--date=1990-07-04", "--time", "9:05", "--zone", "27",
        "--lat", "40:43s", "--lon=074:0w", "--dst", "--city", "", "--state", "New York", "--country", "USA", "--json",
        "--save", "out.aha"});
    ASSERT_TRUE(result.Parsed) << result.Error;
    const Command& c = *result.Parsed;
    EXPECT_EQ(c.Kind, CommandKind::Reading);
    EXPECT_FALSE(c.ReadingPath);
    EXPECT_TRUE(c.Json);
    EXPECT_EQ(c.SavePath, "out.aha");
    const halvaro::BirthData& e = c.Entries;
    EXPECT_EQ(e.Name, " Asha Rao "); // the checks and the record see it as typed
    EXPECT_EQ(e.Year, 1990);
    EXPECT_EQ(e.Month, 7);
    EXPECT_EQ(e.Day, 4);
    EXPECT_EQ(e.Hour, 9);
    EXPECT_EQ(e.Minute, 5);
    EXPECT_EQ(e.ZonePosition, 27);
    EXPECT_EQ(e.LatDeg, "40");
    EXPECT_EQ(e.LatMin, "43");
    EXPECT_TRUE(e.South && !e.North);
    EXPECT_EQ(e.LonDeg, "074");
    EXPECT_EQ(e.LonMin, "0");
    EXPECT_TRUE(e.West && !e.East);
    EXPECT_TRUE(e.DaylightSaving);
    EXPECT_EQ(e.City, "");
    EXPECT_EQ(e.State, "New York");
    EXPECT_EQ(e.Country, "USA");
}

TEST(ParseCommandLine, CommandsAndFiles)
{
    EXPECT_EQ(Parse({"--json", "-h"}).Parsed->Kind, CommandKind::Help);
    EXPECT_EQ(Parse({"--zones"}).Parsed->Kind, CommandKind::Zones);
    const ParseResult file = Parse({"--json", "--", "-odd name.aha"});
    ASSERT_TRUE(file.Parsed) << file.Error;
    EXPECT_EQ(file.Parsed->ReadingPath, "-odd name.aha");
    EXPECT_TRUE(file.Parsed->Json);
}

std::vector<std::string_view> With(std::vector<std::string_view> args, std::initializer_list<std::string_view> more)
{
    args.insert(args.end(), more);
    return args;
}

// Standard output that takes nothing, as on a full disk.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

// A failure after files were saved (output that cannot be written, a chart
// that cannot be saved) says which files are there all the same.
TEST(RunCommandLine, AFailureAfterASaveNamesTheSavedFiles)
{
    const auto folder = std::filesystem::temp_directory_path() / ("halvaro-cli-" + std::to_string(std::random_device {}()));
    std::filesystem::create_directory(folder);
    const std::string reading = (folder / "r.aha").string();
    const std::string chart = (folder / "c.svg").string();
    const std::string gone = (folder / "gone" / "c.svg").string();
    const std::vector<std::string_view> delhi {"--name", "Asha Rao", "--date", "1975-06-15", "--time", "10:30",
        "--zone", "34", "--lat", "28:39N", "--lon", "77:13E", "--city", "New Delhi", "--state", "Delhi", "--country",
        "India", "--save", reading};
    struct Case {
        std::vector<std::string_view> Args;
        bool OutputFails;
        std::string Message;
    };
    const std::array<Case, 4> cases {{
        {{"--zones"}, true, "halvaro-cli: the output could not be written\n"},
        {delhi, true, "halvaro-cli: the reading was saved to \"" + reading + "\", but the output could not be written\n"},
        {With(delhi, {"--chart", chart}), true, "halvaro-cli: the reading was saved to \"" + reading
                + "\" and the chart to \"" + chart + "\", but the output could not be written\n"},
        {With(delhi, {"--chart", gone}), false, "halvaro-cli: The chart could not be saved to \"" + gone
                + "\": the folder \"" + (folder / "gone").string() + "\" does not exist.\n"
                  "halvaro-cli: the reading was saved to \"" + reading + "\" all the same\n"},
    }};
    for (const Case& c : cases) {
        FullDisk full;
        std::ostringstream printed;
        std::ostream out(c.OutputFails ? static_cast<std::streambuf*>(&full) : printed.rdbuf());
        std::ostringstream err;
        EXPECT_EQ(RunCommandLine(c.Args, out, err), ExitRefused) << c.Args.back();
        EXPECT_EQ(err.str(), c.Message);
    }
    EXPECT_TRUE(halvaro::readings::OpenReadingFile(reading).Reading);
    std::filesystem::remove_all(folder);
}

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8)
{
    EXPECT_EQ(JsonString("11\xC2\xB0 8' 0\" Leo"), "\"11\xC2\xB0 8' 0\\\" Leo\"");
    EXPECT_EQ(JsonString("a\\b\n\t\x01"), "\"a\\\\b\\n\\t\\u0001\"");
}

} // namespace
