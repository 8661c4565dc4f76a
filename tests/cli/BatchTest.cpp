// Batch records in, output lines out, run in memory as the program runs
// them. A reading's line must be the worked birth's golden JSON object with
// "line" and "id" put first; an error line must carry the message given.
#include "cli/CommandLine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace halvaro::cli;

std::string Golden(const char* name)
{
    std::ifstream in(std::filesystem::path(HALVARO_CLI_DATA) / (std::string(name) + ".json"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The birth-data fields of the worked readings, in the column order of Header.
constexpr const char* Header = "name,date,time,zone,lat,lon,city,state,country";
constexpr const char* DelhiFields = "Asha Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India";
constexpr const char* GreenwichFields = "Tom Reed,2000-01-01,12:00,29,51:28N,0:0W,Greenwich,London,United Kingdom";
constexpr const char* DelhiJson = R"("name": "Asha Rao", "date": "1975-06-15", "time": "10:30", "zone": 34, "lat": "28:39N", "lon": "77:13E", "city": "New Delhi", "state": "Delhi", "country": "India")";
constexpr const char* NewYorkJson = R"("name": "Ruth Hale", "date": "1990-07-04", "time": "09:00", "zone": "27", "lat": "40:43n", "lon": "074:00w", "dst": true, "city": "New York", "state": "New York", "country": "USA")";

// An expected output line; a prefix only where the text is the JSON
// library's own description of a syntax error.
struct Line {
    std::string Text;
    bool PrefixOnly = false;
};

std::string Start(int line, const char* idJson)
{
    return "{\"line\": " + std::to_string(line) + (idJson != nullptr ? std::string(", \"id\": ") + idJson : "") + ", ";
}
Line ReadingOf(int line, const char* idJson, const char* golden) { return {Start(line, idJson) + Golden(golden).substr(1)}; }
Line Refused(int line, const char* idJson, const std::string& message)
{
    return {Start(line, idJson) + "\"error\": " + JsonString(message) + "}\n"};
}
Line NotJson(int line) { return {Start(line, nullptr) + "\"error\": \"the record is not JSON: ", true}; }

struct BatchCase {
    const char* Label;
    RecordFormat Format;
    std::string Input;
    std::vector<Line> Output;
    int Status;
    std::string Problem; // the reason printed for an unusable input
};

void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.Label; }

std::string Csv(std::initializer_list<std::string> lines, const char* end = "\n")
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

const std::string TooLongName(70'000, 'a');

class Batch : public ::testing::TestWithParam<BatchCase> {};

INSTANTIATE_TEST_SUITE_P(Csv, Batch,
    ::testing::Values(
        BatchCase {"QuotedCommasQuotesAndLineBreaks", RecordFormat::Csv,
            Csv({std::string("id,") + Header,
                "\"a,1\",\"Asha \"\"Ammu\"\"\nRao\",1975-06-15,10:30,34,28:39N,77:13E,\"New Delhi, NCT\",Delhi,India",
                std::string("b,") + GreenwichFields}),
            {ReadingOf(2, "\"a,1\"", "delhi-1975"), ReadingOf(4, "\"b\"", "greenwich-2000")}, 0, ""},
        BatchCase {"ByteOrderMarkAndCrLf", RecordFormat::Csv,
            "\xEF\xBB\xBF" + Csv({Header, DelhiFields, "", GreenwichFields}, "\r\n"),
            {ReadingOf(2, nullptr, "delhi-1975"), ReadingOf(4, nullptr, "greenwich-2000")}, 0, ""},
        BatchCase {"ColumnsInAnyOrderAndCaseExtraColumnLeftAlone", RecordFormat::Csv,
            Csv({"Country,STATE,City,notes,lon,lat,Zone,time,date,Name,dst,Id",
                "USA,New York,New York,\"seen, twice\",74:0W,40:43N,27,09:00,1990-07-04,Ruth Hale,TRUE,17"}),
            {ReadingOf(2, "\"17\"", "newyork-1990")}, 0, ""},
        BatchCase {"MissingColumnMakesTheInputUnusable", RecordFormat::Csv,
            Csv({"name,date,time,zone,lon,city,state,country", "Asha Rao,1975-06-15,10:30,34,77:13E,New Delhi,Delhi,India"}),
            {}, 2, "the header names no column \"lat\""},
        BatchCase {"EmptyInputIsUnusable", RecordFormat::Csv, "", {}, 2,
            "the input is empty: a CSV file starts with a header line naming its columns"},
        BatchCase {"BadRecordsReportedInPlace", RecordFormat::Csv,
            Csv({Header, "Asha \"R\" Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", "Asha Rao,1975-06-15",
                ",1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1975/06/15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1990-04-31,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha \xC3(,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", DelhiFields,
                TooLongName + ",1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", GreenwichFields,
                "\"Asha,1975-06-15"}),
            {Refused(2, nullptr, "a quote is out of place in field 1"),
                Refused(3, nullptr, "the record has 2 fields where the header names 9"),
                Refused(4, nullptr, "Please Enter Your Name"),
                Refused(5, nullptr, "date: '1975/06/15' is not a date of the form YYYY-MM-DD"),
                Refused(6, nullptr, "Please Enter Correct Date Or Month !"),
                Refused(7, nullptr, "the field \"name\" is not valid UTF-8"), ReadingOf(8, nullptr, "delhi-1975"),
                Refused(9, nullptr, "the record is longer than 65536 bytes"), ReadingOf(10, nullptr, "greenwich-2000"),
                Refused(11, nullptr, "a quoted field is not closed at the end of the input")},
            1, ""}),
    [](const auto& info) { return std::string(info.param.Label); });

INSTANTIATE_TEST_SUITE_P(JsonLines, Batch,
    ::testing::Values(
        BatchCase {"ReadingsWithIdsOfEitherTypeBlankLinesAndCrLf", RecordFormat::JsonLines,
            std::string("{\"id\": 7, ") + DelhiJson + "}\r\n\n  \r\n{" + NewYorkJson + ", \"id\": \"r-2\", \"notes\": {\"a\": [1, {\"b\": null}]}}",
            {ReadingOf(1, "7", "delhi-1975"), ReadingOf(4, "\"r-2\"", "newyork-1990")}, 0, ""},
        BatchCase {"WrongTypesMissingKeysAndTwiceGiven", RecordFormat::JsonLines,
            std::string("{") + DelhiJson + ", \"zone\": 34.5}\n{\"zone\": 34.5, " + DelhiJson + "}\n"
                + "{\"name\": 5, \"id\": \"n\"}\n{\"dst\": 1}\n{\"dst\": \"yes\", " + DelhiJson + "}\n"
                + "{\"city\": null}\n{\"id\": [\"x\"]}\n"
                + R"({"name": "Asha Rao", "date": "1975-06-15", "time": "10:30", "zone": 34, "lon": "77:13E", "city": "New Delhi", "state": "Delhi", "country": "India"})"
                + "\n[1, 2]\n",
            {Refused(1, nullptr, "the key \"zone\" is given twice"),
                Refused(2, nullptr, "the value of \"zone\" is neither a text nor a whole number"),
                Refused(3, nullptr, "the value of \"name\" is not a text"),
                Refused(4, nullptr, "the value of \"dst\" is neither true nor false"),
                Refused(5, nullptr, "dst: 'yes' is neither true nor false"),
                Refused(6, nullptr, "the value of \"city\" is not a text"),
                Refused(7, nullptr, "the value of \"id\" is neither a text nor a whole number"),
                Refused(8, nullptr, "the key \"lat\" is missing"), Refused(9, nullptr, "the record is not a JSON object")},
            1, ""},
        BatchCase {"TrailingGarbageInvalidUtf8AndOverlongLines", RecordFormat::JsonLines,
            std::string("{") + DelhiJson + "} {}\n{" + DelhiJson + ", \"notes\": \"\xFF\xFE\"}\n{" + DelhiJson
                + ", \"name\": \"" + TooLongName + "\"}\n{" + DelhiJson + "\n{" + DelhiJson + "}\n",
            {NotJson(1), NotJson(2), Refused(3, nullptr, "the record is longer than 65536 bytes"), NotJson(4),
                ReadingOf(5, nullptr, "delhi-1975")},
            1, ""},
        BatchCase {"NotJsonLinesAtAll", RecordFormat::JsonLines, Csv({Header, DelhiFields}), {}, 2,
            "line 1 is not a JSON object, so the input is not JSON Lines"}),
    [](const auto& info) { return std::string(info.param.Label); });

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + "\n");
    }
    return lines;
}

TEST_P(Batch, GivesOneLinePerRecordInOrder)
{
    const BatchCase& c = GetParam();
    const std::vector<std::string_view> args {"--batch", "-", "--input-format",
        c.Format == RecordFormat::Csv ? "csv" : "jsonl", "--jobs", "2"};
    std::istringstream in(c.Input);
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine(args, in, out, err, false), c.Status);

    const std::vector<std::string> lines = LinesOf(out.str());
    ASSERT_EQ(lines.size(), c.Output.size()) << out.str();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (c.Output[i].PrefixOnly) {
            EXPECT_EQ(lines[i].rfind(c.Output[i].Text, 0), 0U) << lines[i];
        } else {
            EXPECT_EQ(lines[i], c.Output[i].Text);
        }
        // Every line is one JSON object, whatever bytes its record held.
        EXPECT_TRUE(nlohmann::json::accept(lines[i])) << lines[i];
    }
    const std::string problem = c.Problem.empty() ? "" : "halvaro-cli: standard input: " + c.Problem + "\n";
    EXPECT_EQ(err.str().substr(0, problem.size()), problem);
    EXPECT_NE(err.str().find(std::to_string(c.Output.size()) + " record"), std::string::npos) << err.str();
}

TEST(BatchCsvOutput, NamesItsColumnsAndGivesOneRowPerRecord)
{
    const std::vector<std::string_view> args {"--batch", "-", "--input-format", "csv", "--output-format", "csv"};
    std::istringstream in(Csv({std::string("id,") + Header, std::string("d,") + DelhiFields, "e,,1975-06-15,10:30,34,28:39N,77:13E,a,b,c"}));
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine(args, in, out, err, false), 1);
    const std::vector<std::string> rows = LinesOf(out.str());
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].rfind("line,id,error,Sun,Moon,Mercury,Venus,Mars,Jupiter,Saturn,Rahu,MoonPositionText,Ayanamsa,"
                            "Sun.Planets,Sun.Planets_Position,Sun.Aspects_Sign,Sun.Aspects_Planets,Moon.Planets,",
                  0),
        0U);
    // The worked example's published short texts and Moon text, and its first row.
    EXPECT_EQ(rows[1].rfind("2,d,,00 Gem 19,11 Leo 08,23 Tau 42,15 Can 38,25 Pis 18,26 Pis 00,25 Gem 32,05 Sco 24,"
                            "\"11\xC2\xB0 8' 0\"\" Leo\",-23.5190039256246",
                  0),
        0U);
    EXPECT_NE(rows[1].find(",Sun / Surya,00 Gem 19,Sign aspected by Sun is Dhanus.,Planet Sun has no Graha Drishti.,"),
        std::string::npos);
    EXPECT_EQ(rows[2], "3,e,Please Enter Your Name" + std::string(42, ',') + "\r\n");
    for (const std::string& row : rows) {
        int commas = 0;
        bool quoted = false;
        for (const char c : row) {
            quoted = quoted != (c == '"');
            commas += !quoted && c == ',' ? 1 : 0;
        }
        EXPECT_EQ(commas, 44) << "every row has the header's 45 columns: " << row;
    }
}

// The JSON writer scans texts a word at a time: a character to escape at any
// place of a longer text must still be escaped, as an independent JSON
// reader (nlohmann's) reads the text back.
TEST(JsonString, EscapesAtEveryPlaceOfALongText)
{
    for (const std::string special : {"\"", "\\", "\n", "\x01", "\x1F", "\xC2\xB0"}) {
        for (std::size_t at = 0; at <= 17; ++at) {
            std::string text(17, 'a');
            text.insert(at, special);
            EXPECT_EQ(nlohmann::json::parse(JsonString(text)).get<std::string>(), text) << "at " << at;
        }
    }
}

struct OptionCase {
    const char* Label;
    std::vector<std::string_view> Args;
    const char* Error;
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.Label; }

class BatchOptionErrors : public ::testing::TestWithParam<OptionCase> {};

// The batch options' refusals, and the rules the command line has always
// followed that CLI11 does not by itself: the first problem in argument order
// is the one told, an option takes the next argument whatever it looks like,
// a switch takes no value even one meaning true, short options never group.
INSTANTIATE_TEST_SUITE_P(FirstProblemInOrder, BatchOptionErrors,
    ::testing::Values(
        OptionCase {"StandardInputWithoutFormat", {"--batch", "-"}, "--batch -: standard input needs --input-format csv or jsonl"},
        OptionCase {"UnknownExtension", {"--batch", "births.txt"}, "--batch: 'births.txt' ends in neither .csv nor .jsonl; name its format with --input-format"},
        OptionCase {"WithBirthData", {"--batch", "b.csv", "--city", "Pune"}, "--batch and the birth data options cannot be combined (--city)"},
        OptionCase {"WithJson", {"--json", "--batch", "b.csv"}, "--batch and --json cannot be combined (see --output-format)"},
        OptionCase {"WithReadingFile", {"a.aha", "--batch", "b.csv"}, "--batch and a reading file cannot be combined"},
        OptionCase {"SettingWithoutBatch", {"a.aha", "--jobs", "2"}, "--jobs applies to --batch only"},
        OptionCase {"EmptyOutputName", {"--batch", "b.csv", "--output="}, "--output: '' is not a file name"},
        OptionCase {"NoThreads", {"--batch", "b.csv", "--jobs", "0"}, "--jobs: '0' is not a number of threads from 1 to 256"},
        OptionCase {"OtherFormat", {"--batch=b.csv", "--output-format=xml"}, "--output-format: 'xml' is neither csv nor jsonl"},
        OptionCase {"UnknownBeforeBadValue", {"--bogus", "--date", "1975/06/15"}, "unknown option '--bogus'"},
        OptionCase {"BadValueBeforeUnknown", {"--date", "1975/06/15", "--bogus"}, "--date: '1975/06/15' is not a date of the form YYYY-MM-DD"},
        OptionCase {"TwiceBeforeMissingValue", {"--name", "A", "--name"}, "--name is given more than once"},
        OptionCase {"OptionAsValue", {"--name", "--date", "--time", "10:30"}, "--date YYYY-MM-DD is missing"},
        OptionCase {"SwitchGivenTrue", {"--dst=true"}, "--dst takes no value"},
        OptionCase {"SwitchGivenEmpty", {"--json="}, "--json takes no value"},
        OptionCase {"ShortOptionsDoNotGroup", {"-hx"}, "unknown option '-hx'"},
        OptionCase {"DashDigitIsAnOption", {"-1"}, "unknown option '-1'"},
        OptionCase {"EmptyValueAfterEquals", {"--time=", "--date", "1975-06-15"}, "--time: '' is not a time of the form HH:MM"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_P(BatchOptionErrors, AreRefusedWithTheirText)
{
    const ParseResult result = ParseCommandLine(GetParam().Args);
    EXPECT_FALSE(result.Parsed);
    EXPECT_EQ(result.Error, GetParam().Error);
}

TEST(BatchOptions, AreRead)
{
    const std::vector<std::string_view> args {"--jobs=3", "--batch", "Births.CSV", "--output", "r.csv", "--output-format", "csv"};
    const ParseResult result = ParseCommandLine(args);
    ASSERT_TRUE(result.Parsed) << result.Error;
    const Command& c = *result.Parsed;
    EXPECT_EQ(c.Kind, CommandKind::Batch);
    EXPECT_EQ(c.Batch.Input, "Births.CSV");
    EXPECT_EQ(c.Batch.InputFormat, RecordFormat::Csv);
    EXPECT_EQ(c.Batch.OutputPath, "r.csv");
    EXPECT_EQ(c.Batch.OutputFormat, RecordFormat::Csv);
    EXPECT_EQ(c.Batch.Jobs, 3U);
    const std::vector<std::string_view> piped {"--input-format", "csv", "--batch", "-"};
    EXPECT_EQ(ParseCommandLine(piped).Parsed->Batch.InputFormat, RecordFormat::Csv);
}

// --sky precise computes the whole batch in the precise sky: the Overview's
// example has its Sun at 29 Tau 58 there (00 Gem 19 in the classic model).
TEST(BatchSky, IsTheSkyOfEveryReading)
{
    const std::vector<std::string_view> args {"--batch", "-", "--input-format", "jsonl", "--sky", "precise"};
    std::istringstream in(std::string("{") + DelhiJson + "}\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine(args, in, out, err, false), 0) << err.str();
    EXPECT_NE(out.str().find("\"GrahaPositionTexts\": [\"29 Tau 58\""), std::string::npos) << out.str();
    EXPECT_TRUE(out.str().ends_with(", \"Sky\": \"precise\"}\n")) << out.str();
}

TEST(Help, IsTheGoldenText)
{
    std::ifstream in(std::filesystem::path(HALVARO_CLI_DATA) / "help.txt", std::ios::binary);
    EXPECT_EQ(UsageText(), std::string(std::istreambuf_iterator<char>(in), {}));
}

// ---- The program itself, as a script runs it ----

namespace fs = std::filesystem;

struct Finished {
    int Status = -1;
    long PeakKilobytes = 0;
};

// Starts halvaro-cli with the given descriptors as its standard streams.
pid_t Spawn(const std::vector<std::string>& args, int in, int out, int err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    std::vector<char*> argv {const_cast<char*>(HALVARO_CLI)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, HALVARO_CLI, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

Finished Wait(pid_t pid)
{
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

std::string FileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A JSON Lines birth; every fifth one has no name and is refused.
std::string GeneratedBirth(std::uint64_t i)
{
    return "{\"id\": " + std::to_string(i) + ", \"name\": \"" + (i % 5 == 0 ? "" : "P") + "\", \"date\": \"19"
        + std::to_string(10 + i % 90) + "-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + "\", \"time\": \""
        + std::to_string(10 + i % 14) + ":3" + std::to_string(i % 10) + "\", \"zone\": " + std::to_string(i % 71)
        + ", \"lat\": \"28:39N\", \"lon\": \"77:13E\", \"city\": \"C\", \"state\": \"S\", \"country\": \"K\"}\n";
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("halvaro-batch-" + std::to_string(std::random_device {}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs with files as standard input and output; standard error is returned.
    Finished Run(const std::vector<std::string>& args, const fs::path& in, std::string& err) const
    {
        const int inFd = open(in.c_str(), O_RDONLY | O_CLOEXEC);
        const int outFd = open((folder_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int errFd = open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const Finished finished = Wait(Spawn(args, inFd, outFd, errFd));
        close(inFd);
        close(outFd);
        close(errFd);
        err = FileText(folder_ / "stderr");
        return finished;
    }

    // Pipes `count` generated births through the program and reads all it
    // writes; returns its peak memory.
    long PeakKilobytesFor(std::uint64_t count) const
    {
        std::signal(SIGPIPE, SIG_IGN); // a program that died early fails the checks, not the test run
        int in[2] = {-1, -1}, out[2] = {-1, -1};
        EXPECT_EQ(pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        const int errFd = open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = Spawn({"--batch", "-", "--input-format", "jsonl", "--jobs", "2"}, in[0], out[1], errFd);
        close(in[0]);
        close(out[1]);
        close(errFd);
        std::thread writer([&] {
            std::string text;
            for (std::uint64_t i = 1; i <= count; ++i) {
                text += GeneratedBirth(i);
                if (text.size() > 60000 || i == count) {
                    if (write(in[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
                        break;
                    }
                    text.clear();
                }
            }
            close(in[1]);
        });
        std::uint64_t lines = 0;
        std::vector<char> buffer(1 << 16);
        for (ssize_t got; (got = read(out[0], buffer.data(), buffer.size())) > 0;) {
            lines += static_cast<std::uint64_t>(std::count(buffer.begin(), buffer.begin() + got, '\n'));
        }
        close(out[0]);
        writer.join();
        const Finished finished = Wait(pid);
        EXPECT_EQ(finished.Status, 1); // every fifth birth is refused
        EXPECT_EQ(lines, count);
        return finished.PeakKilobytes;
    }

    fs::path folder_;
};

TEST_F(BatchRun, MixedInputReplacesTheOutputFileWhenDone)
{
    std::ofstream(folder_ / "births.jsonl", std::ios::binary)
        << "{\"id\": \"a\", " << DelhiJson << "}\n\n{" << std::regex_replace(DelhiJson, std::regex("Asha Rao"), "")
        << "}\n{\"id\": \"c\"\n"
        << "{\"id\": 4, \"name\": \"Tom Reed\", \"date\": \"2000-01-01\", \"time\": \"12:00\", \"zone\": 29, \"lat\": \"51:28N\", "
        << "\"lon\": \"0:0W\", \"city\": \"Greenwich\", \"state\": \"London\", \"country\": \"United Kingdom\"}\n";
    std::ofstream(folder_ / "readings.jsonl") << "an earlier batch\n";
    std::string err;
    const Finished run = Run({"--batch", (folder_ / "births.jsonl").string(), "--output",
        (folder_ / "readings.jsonl").string()}, "/dev/null", err);
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(std::regex_match(err, std::regex("halvaro-cli: 4 records read, 2 readings, 2 errors in [0-9]+\\.[0-9]{2} s\n"))) << err;
    EXPECT_EQ(FileText(folder_ / "stdout"), "");
    const std::vector<std::string> lines = LinesOf(FileText(folder_ / "readings.jsonl"));
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], ReadingOf(1, "\"a\"", "delhi-1975").Text);
    EXPECT_EQ(lines[1], Refused(3, nullptr, "Please Enter Your Name").Text);
    EXPECT_EQ(lines[2].rfind(NotJson(4).Text, 0), 0U) << lines[2];
    EXPECT_EQ(lines[3], ReadingOf(5, "4", "greenwich-2000").Text);

    // An input that cannot be used leaves the earlier output as it was, and no temporary file.
    std::ofstream(folder_ / "births.csv") << "name,date\nA,1975-06-15\n";
    const Finished refused = Run({"--batch", (folder_ / "births.csv").string(), "--output",
        (folder_ / "readings.jsonl").string()}, "/dev/null", err);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(err.substr(0, err.find('\n')), "halvaro-cli: " + (folder_ / "births.csv").string() + ": the header names no column \"time\"");
    EXPECT_EQ(LinesOf(FileText(folder_ / "readings.jsonl")).size(), 4U);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 5) << "births twice, readings, stdout, stderr";

    const Finished toFolder = Run({"--batch", (folder_ / "births.jsonl").string(), "--output", folder_.string()}, "/dev/null", err);
    EXPECT_EQ(toFolder.Status, 2);
    EXPECT_EQ(err, "halvaro-cli: " + folder_.string() + ": the output file cannot be created: it is a folder\n");

    const Finished missing = Run({"--batch", (folder_ / "none.csv").string()}, "/dev/null", err);
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(err, "halvaro-cli: " + (folder_ / "none.csv").string() + ": the file cannot be read: No such file or directory\n");
}

TEST_F(BatchRun, TwoJobsKeepTheInputOrder)
{
    constexpr std::uint64_t count = 3000;
    {
        std::ofstream births(folder_ / "births.jsonl", std::ios::binary);
        for (std::uint64_t i = 1; i <= count; ++i) {
            births << GeneratedBirth(i);
        }
    }
    std::string err;
    std::string outputs[2];
    for (const int jobs : {1, 2}) {
        EXPECT_EQ(Run({"--batch", (folder_ / "births.jsonl").string(), "--jobs", std::to_string(jobs)}, "/dev/null", err).Status, 1);
        outputs[jobs - 1] = FileText(folder_ / "stdout");
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    const std::vector<std::string> lines = LinesOf(outputs[1]);
    ASSERT_EQ(lines.size(), count);
    for (std::uint64_t i = 1; i <= count; ++i) {
        const std::string start = Start(static_cast<int>(i), std::to_string(i).c_str());
        ASSERT_EQ(lines[i - 1].rfind(start + (i % 5 == 0 ? "\"error\": \"Please Enter Your Name\"" : "\"GrahaPositionTexts\""), 0), 0U)
            << lines[i - 1];
    }
}

// Peak memory does not grow with the input: two million births through a
// pipe take no more than twenty thousand (fewer births in an unoptimised
// build, where each costs far more time).
TEST_F(BatchRun, MemoryStaysFlatThroughAPipe)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer holds freed memory in quarantine, so peak memory does not measure the program";
#endif
#if defined(NDEBUG)
    std::uint64_t count = 2'000'000;
#else
    std::uint64_t count = 200'000;
#endif
    if (const char* text = std::getenv("HALVARO_BATCH_MEMORY_RECORDS")) {
        count = std::strtoull(text, nullptr, 10);
    }
    const long small = PeakKilobytesFor(count / 100);
    const long large = PeakKilobytesFor(count);
    EXPECT_LT(large, small + 16 * 1024) << "peak kB for " << count / 100 << " and " << count << " records";
    EXPECT_LT(large, 64 * 1024);
}

TEST_F(BatchRun, ShowsProgressOnATerminalForAFile)
{
    {
        std::ofstream births(folder_ / "births.jsonl", std::ios::binary);
        for (std::uint64_t i = 1; i <= 1200; ++i) {
            births << GeneratedBirth(i);
        }
    }
    for (const bool fromFile : {true, false}) {
        const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(terminal, 0);
        ASSERT_EQ(grantpt(terminal), 0);
        ASSERT_EQ(unlockpt(terminal), 0);
        const int side = open(ptsname(terminal), O_RDWR | O_NOCTTY | O_CLOEXEC);
        const int in = open((folder_ / "births.jsonl").c_str(), O_RDONLY | O_CLOEXEC);
        const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
        const std::vector<std::string> args = fromFile
            ? std::vector<std::string> {"--batch", (folder_ / "births.jsonl").string()}
            : std::vector<std::string> {"--batch", "-", "--input-format", "jsonl"};
        const pid_t pid = Spawn(args, in, out, side);
        close(side);
        close(in);
        close(out);
        std::string shown;
        char buffer[4096];
        for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) {
            shown.append(buffer, static_cast<std::size_t>(got));
        }
        close(terminal);
        EXPECT_EQ(Wait(pid).Status, 1);
        EXPECT_EQ(shown.find("% read, 512 records") != std::string::npos, fromFile) << shown;
        EXPECT_NE(shown.find("halvaro-cli: 1200 records read, 960 readings, 240 errors in "), std::string::npos) << shown;
    }
}

} // namespace
