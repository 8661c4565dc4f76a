// Runs the built halvaro-cli as a script would, and compares what it prints
// byte for byte.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

struct CliRun {
    int Status = -1;
    std::string Out, Err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("halvaro-cli-" + std::to_string(std::random_device {}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    CliRun Start(const std::vector<std::string>& args) const
    {
        std::string command = "cd " + ShellQuoted(folder_.string()) + " && " + ShellQuoted(HALVARO_CLI);
        for (const std::string& arg : args) {
            command += " " + ShellQuoted(arg);
        }
        command += " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileBytes(folder_ / "out.txt"), FileBytes(folder_ / "err.txt")};
    }

    fs::path folder_;
};

struct BirthCase {
    const char* Label;
    std::vector<std::string> Args;
};

void PrintTo(const BirthCase& c, std::ostream* os) { *os << c.Label; }

class WorkedBirth : public Cli, public ::testing::WithParamInterface<BirthCase> {
protected:
    [[nodiscard]] std::string Golden(const char* extension) const
    {
        return FileBytes(fs::path(HALVARO_CLI_DATA) / (std::string(GetParam().Label) + extension));
    }
};

// The three worked births of the calculation; the golden files hold their
// short and Moon texts of the worked examples and the aspects worked out from
// them by hand; the JSON's Lagna is an independent evaluation's tropical
// ascendant (tests/data/lagna/independent-lagna.py) less the file's own
// ayanamsa, its Ketu six signs on from the Rahu of the worked example.
INSTANTIATE_TEST_SUITE_P(ThreeReferenceReadings, WorkedBirth,
    ::testing::Values(
        BirthCase {"delhi-1975", {"--name", "Asha Rao", "--date", "1975-06-15", "--time", "10:30", "--zone", "34",
            "--lat", "28:39N", "--lon", "77:13E", "--city", "New Delhi", "--state", "Delhi", "--country", "India"}},
        BirthCase {"greenwich-2000", {"--name", "Tom Reed", "--date", "2000-01-01", "--time", "12:00", "--zone", "29",
            "--lat", "51:28N", "--lon", "0:0W", "--city", "Greenwich", "--state", "London", "--country", "United Kingdom"}},
        BirthCase {"newyork-1990", {"--name", "Ruth Hale", "--date", "1990-07-04", "--time", "9:00", "--zone", "27",
            "--lat", "40:43N", "--lon", "74:0W", "--dst", "--city", "New York", "--state", "New York", "--country", "USA"}}),
    [](const auto& info) {
        std::string name = info.param.Label;
        name.erase(name.find('-'), 1);
        return name;
    });

TEST_P(WorkedBirth, PrintsTheResultScreenAsText)
{
    const CliRun run = Start(GetParam().Args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, Golden(".txt"));
    EXPECT_EQ(run.Err, "");
}

TEST_P(WorkedBirth, PrintsTheJsonObject)
{
    std::vector<std::string> args = GetParam().Args;
    args.insert(args.begin(), "--json");
    const CliRun run = Start(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, Golden(".json"));
}

TEST_P(WorkedBirth, ASavedReadingOpensToTheSameOutput)
{
    std::vector<std::string> args = GetParam().Args;
    args.insert(args.end(), {"--save", "saved.aha"});
    const CliRun saved = Start(args);
    ASSERT_EQ(saved.Status, 0) << saved.Err;
    EXPECT_EQ(saved.Out, Golden(".txt"));

    const CliRun text = Start({"saved.aha"});
    EXPECT_EQ(text.Status, 0) << text.Err;
    EXPECT_EQ(text.Out, saved.Out);
    const CliRun json = Start({"--json", "saved.aha"});
    EXPECT_EQ(json.Out, Golden(".json"));
}

struct RefusalCase {
    const char* Label;
    std::vector<std::string> Args;
    int Status;
    std::string Err;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.Label; }

class Refusal : public Cli, public ::testing::WithParamInterface<RefusalCase> {};

std::vector<std::string> Delhi(std::vector<std::string> changed)
{
    std::vector<std::string> args {"--name", "Asha Rao", "--date", "1975-06-15", "--time", "10:30", "--zone", "34",
        "--lat", "28:39N", "--lon", "77:13E", "--city", "New Delhi", "--state", "Delhi", "--country", "India"};
    for (std::size_t i = 0; i + 1 < changed.size(); i += 2) {
        for (std::size_t j = 0; j + 1 < args.size(); j += 2) {
            if (args[j] == changed[i]) {
                args[j + 1] = changed[i + 1];
            }
        }
    }
    return args;
}

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

const std::string TryHelp = "Try 'halvaro-cli --help' for more information.\n";

// The window's messages for refused entries; that reading file has an empty state.
// A reading the save refuses is neither saved nor printed (the reproductions of
// readings once saved and then refused on opening).
INSTANTIATE_TEST_SUITE_P(StandardErrorAndStatus, Refusal,
    ::testing::Values(
        RefusalCase {"EmptyName", Delhi({"--name", ""}), 1, "Please Enter Your Name\n"},
        RefusalCase {"NoLatitude", {"--name", "A", "--date", "1975-06-15", "--time", "10:30", "--zone", "34"}, 1,
            "Please Enter Degree of Latitude\n"},
        RefusalCase {"EmptyCity", Delhi({"--city", ""}), 1, "Please Enter Your City name\n"},
        RefusalCase {"TwentyNinthFebruary1901", Delhi({"--date", "1901-02-29"}), 1, "Please Enter Correct Date Or Month!\n"},
        RefusalCase {"ThirtyFirstApril", Delhi({"--date", "1990-04-31"}), 1, "Please Enter Correct Date Or Month !\n"},
        RefusalCase {"FileWithEmptyState", {HALVARO_READINGS_DATA "/empty-state.aha"}, 1, "Please Enter Your State name\n"},
        RefusalCase {"UpperCaseExtension", {"reading.AHA"}, 1,
            "Please Check The File.\nhalvaro-cli: reading.AHA: the name does not end in \"aha\"\n"},
        RefusalCase {"MissingFile", {"missing.aha"}, 1,
            "Please Check The File.\nhalvaro-cli: missing.aha: the file cannot be read: No such file or directory\n"},
        RefusalCase {"BlankNameNotSaved", With(Delhi({"--name", "   "}), {"--save", "saved.aha"}), 1,
            "halvaro-cli: The Name field is blank, and a reading saved without it could not be opened again; "
            "the reading was not saved.\n"},
        RefusalCase {"NameOverTheFieldLimitNotSaved", With(Delhi({"--name", std::string(5000, 'A')}), {"--save", "saved.aha"}), 1,
            "halvaro-cli: The Name field holds 5000 characters, more than the 4096 a reading file keeps in one field; "
            "the reading was not saved.\n"},
        RefusalCase {"TerminalEscapeInFileNameShownEscaped", {"\x1b]2;owned\x07.AHA"}, 1,
            "Please Check The File.\nhalvaro-cli: \\x1b]2;owned\\x07.AHA: the name does not end in \"aha\"\n"},
        RefusalCase {"UnknownOption", {"--bogus"}, 2,
            "halvaro-cli: unknown option '--bogus'\nTry 'halvaro-cli --help' for more information.\n"},
        RefusalCase {"UnknownSky", {"--sky", "exact", "reading.aha"}, 2,
            "halvaro-cli: --sky: 'exact' is not a sky model: classic or precise\n"
            "Try 'halvaro-cli --help' for more information.\n"},
        RefusalCase {"ChartNotSvg", With(Delhi({}), {"--chart", "chart.png"}), 2,
            "halvaro-cli: --chart: 'chart.png' does not end in .svg\n" + TryHelp},
        RefusalCase {"ChartStyleUnknown", With(Delhi({}), {"--chart", "c.svg", "--chart-style", "east"}), 2,
            "halvaro-cli: --chart-style: 'east' is not south or north\n" + TryHelp},
        RefusalCase {"ChartStyleWithoutChart", With(Delhi({}), {"--chart-style", "north"}), 2,
            "halvaro-cli: --chart-style needs --chart FILE.svg\n" + TryHelp},
        RefusalCase {"ChartBeyondThePole", With(Delhi({"--lat", "95:00N"}), {"--chart", "c.svg"}), 1,
            "The latitude lies beyond 90\xC2\xB0. Please check the latitude to draw the chart.\n"},
        RefusalCase {"ChartFolderMissing", With(Delhi({}), {"--chart", "gone/c.svg"}), 1,
            "halvaro-cli: The chart could not be saved to \"gone/c.svg\": the folder \"gone\" does not exist.\n"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_P(Refusal, PrintsTheMessageAndFails)
{
    const CliRun run = Start(GetParam().Args);
    EXPECT_EQ(run.Status, GetParam().Status);
    EXPECT_EQ(run.Err, GetParam().Err);
    EXPECT_EQ(run.Out, "");
    EXPECT_FALSE(fs::exists(folder_ / "saved.aha"));
}

struct SkyCase {
    const char* Label;
    std::vector<std::string> Options;
    std::string SunPosition, Ending;
};

void PrintTo(const SkyCase& c, std::ostream* os) { *os << c.Label; }

class SkyChoice : public Cli, public ::testing::WithParamInterface<SkyCase> {};

// The Overview's example in both skies: the model puts the Sun at 00 Gem 19,
// the sky at 29 Tau 58. Text output names only the precise sky, in a last line.
INSTANTIATE_TEST_SUITE_P(OverviewExample, SkyChoice,
    ::testing::Values(
        SkyCase {"ClassicText", {"--sky", "classic"}, "\n00 Gem 19 ", "is Mercury.\n"},
        SkyCase {"PreciseText", {"--sky", "precise"}, "\n29 Tau 58 ",
            "is Sun, Mercury.\nSky: precise (Swiss Ephemeris, Lahiri)\n"},
        SkyCase {"ClassicJson", {"--json", "--sky=classic"}, "[\"00 Gem 19\", ", ", \"Sky\": \"classic\"}\n"},
        SkyCase {"PreciseJson", {"--sky=precise", "--json"}, "[\"29 Tau 58\", ", ", \"Sky\": \"precise\"}\n"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_P(SkyChoice, PrintsTheReadingOfThatSky)
{
    std::vector<std::string> args = Delhi({});
    args.insert(args.end(), GetParam().Options.begin(), GetParam().Options.end());
    const CliRun run = Start(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find(GetParam().SunPosition), std::string::npos) << run.Out;
    EXPECT_TRUE(run.Out.ends_with(GetParam().Ending)) << run.Out;
}

TEST_F(Cli, DamagedFileIsRefused)
{
    std::ofstream(folder_ / "plain.aha", std::ios::binary) << "Asha Rao\r\n6\r\n15\r\n";
    const CliRun run = Start({"plain.aha"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "Please Check The File.\nhalvaro-cli: plain.aha: line 1 (name) holds the byte 65, which no field is stored as\n");
}

TEST_F(Cli, FailedSaveIsReportedAndPrintsNoReading)
{
    std::vector<std::string> args = Delhi({});
    args.insert(args.end(), {"--save", "gone/reading.aha"});
    const CliRun run = Start(args);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "halvaro-cli: The reading could not be saved to \"gone/reading.aha\": the folder \"gone\" does not exist.\n");
    EXPECT_EQ(run.Out, "");
}

TEST_F(Cli, ChartIsDrawnInEitherStyleAndTheTextStaysTheSame)
{
    const std::string text = FileBytes(fs::path(HALVARO_CLI_DATA) / "delhi-1975.txt");
    for (const std::string style : {"south", "north"}) {
        const CliRun run = Start(With(Delhi({}), {"--chart", "chart.svg", "--chart-style", style}));
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, text);
        const std::string svg = FileBytes(folder_ / "chart.svg");
        EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0U) << style;
        EXPECT_NE(svg.find(" viewBox=\"0 0 "), std::string::npos);
        // The Lagna as the JSON gives it, Ketu opposite the published Rahu.
        EXPECT_NE(svg.find(">Lagna 05\xC2\xB0" "55&apos;</text>"), std::string::npos) << style;
        EXPECT_NE(svg.find(">Ke 05\xC2\xB0" "24&apos;</text>"), std::string::npos) << style;
        const std::string title = style == "south" ? "South Indian" : "North Indian";
        EXPECT_NE(svg.find(">Rasi chart (" + title + ") of Asha Rao</text>"), std::string::npos) << style;
    }
}

TEST_F(Cli, NearThePoleTheJsonHasNoLagnaAndTheChartSaysWhy)
{
    const CliRun run = Start(With(Delhi({"--lat", "78:00N"}), {"--json", "--chart", "chart.svg"}));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("]], \"Lagna\": null, \"Ketu\": \"05 Tau 24\", \"Sky\": \"classic\"}\n"), std::string::npos) << run.Out;
    EXPECT_NE(FileBytes(folder_ / "chart.svg").find(">No Lagna: beyond about 66"), std::string::npos);
}

TEST_F(Cli, ZonesListsTheSeventyOneZonesByPosition)
{
    const CliRun run = Start({"--zones"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 71);
    EXPECT_EQ(run.Out.rfind(" 0  Alaska/Hawaii Daylight Time,AHDT,-9.0\n", 0), 0U);
    EXPECT_NE(run.Out.find("\n34  Indian Time, IST, +5.3\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\n70  Yukon War Time,YWT,-8.0\n"), std::string::npos);
}

TEST_F(Cli, HelpExplainsTheForms)
{
    const CliRun run = Start({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("Usage: halvaro-cli FILE.aha [--json] [--save FILE.aha]\n", 0), 0U);
}

} // namespace
