// Batches run as a script runs them: one table of inputs, each with the
// output lines and exit status it must give (a reading's line is the worked
// birth's golden object with "line" and "id" put first, by value and in
// order); every kind of output target; an interrupted batch; the order kept
// on two jobs in either sky; memory that stays flat.
#include "CliTestSupport.h"
#include "cli/Batch.h"
#include "files/FileReplace.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <csignal>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

namespace {

using namespace clitest;

constexpr const char* Header = "name,date,time,zone,lat,lon,city,state,country";
constexpr const char* DelhiFields = "Asha Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India";
constexpr const char* GreenwichFields = "Tom Reed,2000-01-01,12:00,29,51:28N,0:0W,Greenwich,London,United Kingdom";
constexpr const char* DelhiJson = R"("name": "Asha Rao", "date": "1975-06-15", "time": "10:30", "zone": 34, "lat": "28:39N", "lon": "77:13E", "city": "New Delhi", "state": "Delhi", "country": "India")";
constexpr const char* NewYorkJson = R"("name": "Ruth Hale", "date": "1990-07-04", "time": "09:00", "zone": "27", "lat": "40:43n", "lon": "074:00w", "dst": true, "city": "New York", "state": "New York", "country": "USA")";

// An expected output line: the golden reading named, or an error; an error
// ending in "*" is matched up to there (the JSON parser's own words).
struct Expect {
    int Line;
    std::string IdJson, Golden, Error;
};
Expect Reads(int line, const char* golden, std::string idJson = "") { return {line, std::move(idJson), golden, ""}; }
Expect Fails(int line, std::string error, std::string idJson = "") { return {line, std::move(idJson), "", std::move(error)}; }

std::string JsonText(const std::string& text)
{
    std::string json = "\"";
    for (const char c : text) {
        json += c == '"' || c == '\\' ? std::string {'\\', c} : std::string {c};
    }
    return json + "\"";
}

bool Matches(const std::string& line, const Expect& e)
{
    if (!e.Golden.empty()) {
        return line.starts_with(Members(BatchLine(e.Line, e.IdJson, e.Golden)) + ",\"Grahas\":[{") && line.ends_with("}}");
    }
    const std::string expected = "{\"line\":" + std::to_string(e.Line) + (e.IdJson.empty() ? "" : ",\"id\":" + e.IdJson)
        + ",\"error\":" + JsonText(e.Error) + "}";
    return e.Error.ends_with('*') ? line.starts_with(expected.substr(0, expected.size() - 3)) : line == expected;
}

std::string Joined(const std::vector<std::string>& lines, const char* end = "\n")
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

std::string Times(std::size_t count, const std::string& text)
{
    std::string all;
    for (std::size_t i = 0; i < count; ++i) {
        all += text;
    }
    return all;
}

struct BatchCase {
    const char* Label;
    const char* Format;
    std::string Input;
    std::vector<Expect> Output;
    int Status;
    std::string Problem; // the reason printed for an unusable input
};

void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.Label; }

class Batch : public Cli, public ::testing::WithParamInterface<BatchCase> {};
// The batch's other tests: named apart from the single readings' so that a
// run can take the batch alone (the tsan preset).
class Batches : public Cli {};


const std::string TooLong = "the record is longer than 65536 bytes or has more than 1024 fields";

INSTANTIATE_TEST_SUITE_P(Csv, Batch,
    ::testing::Values(
        BatchCase {"QuotedFieldsByteOrderMarkCrLfColumnsInAnyOrder", "csv",
            "\xEF\xBB\xBF" + Joined({"Country,STATE,City,notes,lon,lat,Zone,time,date,Name,Id",
                "India,Delhi,\"New Delhi, NCT\",\"seen, twice\",77:13E,28:39N,34,10:30,1975-06-15,\"Asha \"\"Ammu\"\"\r\nRao\",\"a,1\"",
                "", "United Kingdom,London,Greenwich,,0:0W,51:28N,29,12:00,2000-01-01,Tom Reed,b"}, "\r\n"),
            {Reads(2, "delhi-1975", "\"a,1\""), Reads(5, "greenwich-2000", "\"b\"")}, 0, ""},
        BatchCase {"BadRecordsReportedInPlace", "csv",
            Joined({Header, "Asha \"R\" Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", "Asha Rao",
                ",1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1975-6-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1975-06-15,9.30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1975-06-15,093:0,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha Rao,1990-04-31,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                "Asha \xC3(,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India",
                std::string("Asha\0Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", 64), DelhiFields,
                std::string(70'000, 'a') + ",1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India", GreenwichFields,
                "\"Asha,1975-06-15"}),
            {Fails(2, "a quote is out of place in field 1"), Fails(3, "the record has 1 field where the header names 9"),
                Fails(4, "Please Enter Your Name"), Fails(5, "date: '1975-6-15' is not a date of the form YYYY-MM-DD"),
                Fails(6, "time: '9.30' is not a time of the form HH:MM"), Fails(7, "time: '093:0' is not a time of the form HH:MM"),
                Fails(8, "Please Enter Correct Date Or Month !"), Fails(9, "the field \"name\" is not valid UTF-8"),
                Fails(10, "name: 'Asha\\x00Rao' holds a NUL character"), Reads(11, "delhi-1975"), Fails(12, TooLong),
                Reads(13, "greenwich-2000"), Fails(14, "a quoted field is not closed at the end of the input")},
            1, ""},
        // A quoted field longer than a record, holding what looks like a
        // record: one error line, and reading goes on after its closing quote.
        BatchCase {"OverlongQuotedFieldSmugglesNoRecord", "csv",
            Joined({Header, "\"" + Times(70, std::string(999, 'a') + "\n") + DelhiFields + "\",1975-06-15,10:30,34,28:39N,77:13E,a,b,c",
                GreenwichFields}),
            {Fails(2, TooLong), Reads(73, "greenwich-2000")}, 1, ""},
        // Records ended by a lone CR (old Mac files), none lost wherever a
        // read ends, each on its own line; a quote out of place costs its
        // record only, not the file up to the next LF.
        BatchCase {"TenThousandRecordsEndedByCr", "csv",
            Joined({std::string("id,") + Header}, "\r") + Times(3, std::string("a1,") + DelhiFields + "\r")
                + "a4,As\"ha,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India\r"
                + Times(9'996, std::string("a1,") + DelhiFields + "\r"),
            [] {
                std::vector<Expect> lines;
                for (int line = 2; line <= 10'001; ++line) {
                    lines.push_back(line == 5 ? Fails(5, "a quote is out of place in field 2") : Reads(line, "delhi-1975", "\"a1\""));
                }
                return lines;
            }(),
            1, ""},
        // Lines counted as records end, at CR, LF or CR LF alike, a quoted
        // line break included; a quote out of place ends its record at the
        // first of them.
        BatchCase {"MixedLineEndsCountedAlike", "csv",
            Joined({Header, "\"Asha\r\nRao\"" + std::string(DelhiFields).substr(8), "Asha \"R\" Rao,x"}, "\r")
                + std::string(GreenwichFields) + "\n\"Asha\rRao\"" + std::string(DelhiFields).substr(8) + "\r\n" + DelhiFields,
            {Reads(2, "delhi-1975"), Fails(4, "a quote is out of place in field 1"), Reads(5, "greenwich-2000"),
                Reads(6, "delhi-1975"), Reads(8, "delhi-1975")},
            1, ""},
        BatchCase {"ByteOrderMarkAloneIsEmpty", "csv", "\xEF\xBB\xBF", {}, 2,
            "the input is empty: a CSV file starts with a header line naming its columns"},
        BatchCase {"RowsOfCommasTakeNoMemory", "csv", Joined({Header}) + Times(200, std::string(65'000, ',') + "\n"),
            [] {
                std::vector<Expect> lines;
                for (int i = 2; i <= 201; ++i) {
                    lines.push_back(Fails(i, TooLong));
                }
                return lines;
            }(),
            1, ""},
        BatchCase {"MissingColumnMakesTheInputUnusable", "csv", Joined({"name,date,time,zone,lon,city,state,country", DelhiFields}),
            {}, 2, "the header names no column \"lat\""},
        BatchCase {"EmptyInputIsUnusable", "csv", "", {}, 2,
            "the input is empty: a CSV file starts with a header line naming its columns"}),
    [](const auto& row) { return std::string(row.param.Label); });

INSTANTIATE_TEST_SUITE_P(JsonLines, Batch,
    ::testing::Values(
        BatchCase {"IdsOfEitherTypeBlankLinesAndCrLf", "jsonl",
            std::string("{\"id\": 7, ") + DelhiJson + "}\r\n\n  \r\n{" + NewYorkJson
                + ", \"id\": \"r-2\", \"notes\": {\"a\": [1, {\"b\": null}]}}\n{"
                // The hour in one digit, as --time takes it.
                + [] { std::string loose = NewYorkJson; return loose.replace(loose.find("09:00"), 5, "9:00"); }() + "}",
            {Reads(1, "delhi-1975", "7"), Reads(4, "newyork-1990", "\"r-2\""), Reads(5, "newyork-1990")}, 0, ""},
        BatchCase {"WrongTypesMissingKeysTwiceGivenAndNul", "jsonl",
            Joined({std::string("{") + DelhiJson + ", \"zone\": 34.5}", std::string("{\"zone\": 34.5, ") + DelhiJson + "}",
                "{\"name\": 5, \"id\": \"n\"}", "{\"dst\": 1}", std::string("{\"dst\": \"yes\", ") + DelhiJson + "}",
                "{\"id\": [\"x\"]}", R"({"name": "Asha Rao", "date": "1975-06-15", "time": "10:30", "zone": 34, "lon": "77:13E", "city": "New Delhi", "state": "Delhi", "country": "India"})",
                "[1, 2]", std::string("{") + DelhiJson + ", \"date\": \"1975-06-15\\u0000\"}", std::string("{") + DelhiJson + "} {}",
                std::string("{") + DelhiJson + ", \"notes\": \"\xFF\xFE\"}", std::string("{") + DelhiJson + ", \"name\": \"" + std::string(70'000, 'a') + "\"}",
                std::string("{") + DelhiJson}),
            {Fails(1, "the key \"zone\" is given twice"), Fails(2, "the value of \"zone\" is neither a text nor a whole number"),
                Fails(3, "the value of \"name\" is not a text"), Fails(4, "the value of \"dst\" is neither true nor false"),
                Fails(5, "dst: 'yes' is neither true nor false"), Fails(6, "the value of \"id\" is neither a text nor a whole number"),
                Fails(7, "the key \"lat\" is missing"), Fails(8, "the record is not a JSON object"),
                Fails(9, "the key \"date\" is given twice"), Fails(10, "the record is not JSON: *"),
                Fails(11, "the record is not JSON: *"), Fails(12, "the record is longer than 65536 bytes*"),
                Fails(13, "the record is not JSON: *")},
            1, ""},
        // CR-only line ends are line ends too: 400 records (past one 64 KiB
        // read), not one.
        BatchCase {"RecordsEndedByCr", "jsonl", Times(400, std::string("{\"id\": 1, ") + DelhiJson + "}\r"),
            [] {
                std::vector<Expect> lines;
                for (int line = 1; line <= 400; ++line) {
                    lines.push_back(Reads(line, "delhi-1975", "1"));
                }
                return lines;
            }(),
            0, ""},
        // What follows a NUL is no less a part of the record than what
        // follows a blank.
        BatchCase {"NulAfterTheObject", "jsonl", std::string("{") + DelhiJson + std::string("}\0{\"id\": \"hidden\"}", 18),
            {Fails(1, "the record is not JSON: it holds a NUL byte (at byte " + std::to_string(std::string(DelhiJson).size() + 3) + ")")},
            1, ""},
        BatchCase {"NulInAValue", "jsonl", R"({"name": "A\u0000", "date": "1975-06-15", "time": "10:30", "zone": 34, "lat": "28:39N", "lon": "77:13E", "city": "New Delhi", "state": "Delhi", "country": "India"})",
            {Fails(1, "name: 'A\\x00' holds a NUL character")}, 1, ""},
        BatchCase {"NotJsonLinesAtAll", "jsonl", Joined({Header, DelhiFields}), {}, 2,
            "line 1 is not a JSON object, so the input is not JSON Lines"},
        BatchCase {"EmptyInputIsUnusable", "jsonl", "", {}, 2, "the input is empty"},
        BatchCase {"ByteOrderMarkAndBlankLinesAreEmpty", "jsonl", "\xEF\xBB\xBF\r\n \n\r\t\n", {}, 2, "the input is empty"}),
    [](const auto& row) { return std::string(row.param.Label); });

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_P(Batch, GivesOneLinePerRecordInOrder)
{
    const BatchCase& c = GetParam();
    std::ofstream(folder_ / "in", std::ios::binary) << c.Input;
    const Ran run = Start({"--batch", "-", "--input-format", c.Format, "--jobs", "2"}, folder_ / "in");
    EXPECT_EQ(run.Status, c.Status) << run.Err;
    const std::vector<std::string> lines = LinesOf(run.Out);
    ASSERT_EQ(lines.size(), c.Output.size()) << run.Out.substr(0, 2000);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_TRUE(Matches(lines[i], c.Output[i])) << lines[i].substr(0, 300);
    }
    const std::string problem = c.Problem.empty() ? "" : "halvaro-cli: standard input: " + c.Problem + "\n";
    EXPECT_EQ(run.Err.substr(0, problem.size()), problem);
    EXPECT_NE(run.Err.find(": " + std::to_string(c.Output.size()) + " record"), std::string::npos) << run.Err;
}

// Standard input that cannot be read is an unusable input, not an empty one.
TEST_F(Batches, UnreadableInputIsAnError)
{
    const Ran run = Start({"--batch", "-", "--input-format", "jsonl"}, folder_);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')), "halvaro-cli: standard input: the input could not be read");
}

TEST_F(Batches, CsvOutputNamesItsColumnsAndGivesOneRowPerRecord)
{
    std::ofstream(folder_ / "b.csv") << Joined({std::string("id,") + Header, std::string("d,") + DelhiFields, "e,,1975-06-15,10:30,34,28:39N,77:13E,a,b,c"});
    const Ran run = Start({"--batch", "b.csv", "--output-format", "csv"});
    EXPECT_EQ(run.Status, 1);
    const std::vector<std::string> rows = LinesOf(run.Out);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].rfind("line,id,error,Sun,Moon,Mercury,Venus,Mars,Jupiter,Saturn,Rahu,MoonPositionText,Ayanamsa,"
                            "Sun.Planets,Sun.Planets_Position,Sun.Aspects_Sign,Sun.Aspects_Planets,Moon.Planets,", 0), 0U);
    // The worked example's published short texts and Moon text, and its first row.
    EXPECT_EQ(rows[1].rfind("2,d,,00 Gem 19,11 Leo 08,23 Tau 42,15 Can 38,25 Pis 18,26 Pis 00,25 Gem 32,05 Sco 24,"
                            "\"11\xC2\xB0 8' 0\"\" Leo\",-23.5190039256246", 0), 0U);
    EXPECT_NE(rows[1].find(",Sun / Surya,00 Gem 19,Sign aspected by Sun is Dhanus.,Planet Sun has no Graha Drishti.,"), std::string::npos);
    // Then the Lagna, Ketu and the sky, per graha nakshatra, pada and
    // Navamsa (the Moon's and the Lagna's as the README's positions table),
    // and the conventions.
    EXPECT_NE(rows[0].find(",Rahu.Aspects_Planets,Lagna,Ketu,Sky,Sun.Nakshatra,Sun.Pada,Sun.Navamsa,Moon.Nakshatra,"), std::string::npos);
    EXPECT_TRUE(rows[0].ends_with(",Lagna.Nakshatra,Lagna.Pada,Lagna.Navamsa,Conventions\r")) << rows[0];
    EXPECT_NE(rows[1].find(",05 Leo 55,05 Tau 24,classic,Mrigashira,3,Thula,Magha,4,Kataka,"), std::string::npos) << rows[1];
    EXPECT_TRUE(rows[1].ends_with(",Magha,2,Vrishabha,\"the classic model's own ayanamsa and node, 365.25-day year\"\r"))
        << rows[1];
    EXPECT_EQ(rows[2], "3,e,Please Enter Your Name" + std::string(76, ',') + "\r");
}

// A CSV row's fields, a quoted comma being no separator.
std::size_t CsvWidth(const std::string& row)
{
    bool quoted = false;
    std::size_t fields = 1;
    for (const char c : row) {
        quoted = quoted != (c == '"');
        fields += !quoted && c == ',' ? 1 : 0;
    }
    return fields;
}

// An object's members by name, in order.
std::vector<std::pair<std::string, std::string>> MembersOf(const std::string& json)
{
    rapidjson::Document document;
    document.Parse(json.c_str());
    std::vector<std::pair<std::string, std::string>> members;
    for (const auto& member : document.GetObject()) {
        rapidjson::StringBuffer value;
        rapidjson::Writer<rapidjson::StringBuffer> writer(value);
        member.value.Accept(writer);
        members.emplace_back(member.name.GetString(), value.GetString());
    }
    return members;
}

// --fields: a set of groups gives their keys in the output's own order,
// whatever the list's, each with the value the whole object has, in a single
// reading and a batch line; and their CSV columns, a refused record's row as
// wide as the header. Columns as the README's CSV layout names them.
TEST_F(Cli, FieldsChooseTheKeysAndTheColumns)
{
    struct FieldsCase {
        const char* Fields;
        std::vector<std::string> Keys;
        std::string Columns; // empty: the groups have none
    };
    const std::vector<FieldsCase> cases {
        {"Sky,Lagna,GrahaPositionTexts,Ketu", {"GrahaPositionTexts", "Lagna", "Ketu", "Sky"},
            "Sun,Moon,Mercury,Venus,Mars,Jupiter,Saturn,Rahu,Lagna,Ketu,Sky"},
        {"Ayanamsa,MoonPositionText", {"MoonPositionText", "Ayanamsa"}, "MoonPositionText,Ayanamsa"},
        {"Conventions,Grahas", {"Grahas", "Conventions"},
            "Sun.Nakshatra,Sun.Pada,Sun.Navamsa,Moon.Nakshatra,Moon.Pada,Moon.Navamsa,Mercury.Nakshatra,Mercury.Pada,"
            "Mercury.Navamsa,Venus.Nakshatra,Venus.Pada,Venus.Navamsa,Mars.Nakshatra,Mars.Pada,Mars.Navamsa,"
            "Jupiter.Nakshatra,Jupiter.Pada,Jupiter.Navamsa,Saturn.Nakshatra,Saturn.Pada,Saturn.Navamsa,Rahu.Nakshatra,"
            "Rahu.Pada,Rahu.Navamsa,Ketu.Nakshatra,Ketu.Pada,Ketu.Navamsa,Lagna.Nakshatra,Lagna.Pada,Lagna.Navamsa,Conventions"},
        {"Birth,SkyDiffers,Dasha,rows", {"rows", "SkyDiffers", "Dasha", "Birth"}, ""},
    };
    const auto whole = MembersOf(Start(With(DelhiArgs, {"--json"})).Out);
    std::ofstream(folder_ / "b.jsonl") << "{" << DelhiJson << "}\n";
    std::ofstream(folder_ / "b.csv") << Joined({Header, DelhiFields, ",1975-06-15,10:30,34,28:39N,77:13E,a,b,c"});
    for (const FieldsCase& c : cases) {
        SCOPED_TRACE(c.Fields);
        std::vector<std::pair<std::string, std::string>> expected {{"line", "1"}};
        for (const std::string& key : c.Keys) {
            const auto member = std::find_if(whole.begin(), whole.end(), [&](const auto& m) { return m.first == key; });
            ASSERT_NE(member, whole.end());
            expected.push_back(*member);
        }
        const Ran batch = Start({"--batch", "b.jsonl", "--fields", c.Fields});
        EXPECT_EQ(batch.Status, 0) << batch.Err;
        EXPECT_EQ(MembersOf(batch.Out), expected);
        expected.erase(expected.begin());
        EXPECT_EQ(MembersOf(Start(With(DelhiArgs, {"--json", "--fields", c.Fields})).Out), expected);
        if (c.Columns.empty()) {
            continue;
        }
        const Ran csv = Start({"--batch", "b.csv", "--output-format", "csv", "--fields", c.Fields});
        const std::vector<std::string> rows = LinesOf(csv.Out);
        ASSERT_EQ(rows.size(), 3U) << csv.Err;
        EXPECT_EQ(rows[0], "line,id,error," + c.Columns + "\r");
        EXPECT_EQ(CsvWidth(rows[1]), CsvWidth(rows[0])) << rows[1];
        EXPECT_EQ(rows[2].rfind("3,,Please Enter Your Name,", 0), 0U) << rows[2];
        EXPECT_EQ(CsvWidth(rows[2]), CsvWidth(rows[0])) << rows[2];
    }
}

// --output obeys what --save obeys: what is not a plain file one may write
// is refused and left as it was; a link to a file writes the file; a name
// of 255 bytes works; a replaced file keeps its mode, owner and group.
// Nothing else is left.
TEST_F(Batches, OutputTargetsOfEveryKind)
{
    std::ofstream(folder_ / "b.jsonl") << "{" << DelhiJson << "}\n";
    struct Target {
        const char* Kind;
        std::function<void(const fs::path&)> Make;
        std::string Refusal; // empty: written
        bool NeedsRoot = false; // to make another user's file or link
    };
    const auto ownerOf = [](const fs::path& p) {
        struct stat status {};
        ::stat(p.c_str(), &status);
        return std::pair(status.st_uid, status.st_gid);
    };
    constexpr uid_t nobody = 65534;
    const std::string longName(255, 'n');
    const std::vector<Target> targets {
        {"device", [](const fs::path& p) { ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)); }, "it is not a plain file"},
        {"fifo", [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); }, "it is not a plain file"},
        {"dangling link", [](const fs::path& p) { fs::create_symlink("nowhere", p); },
            "it is a symbolic link to \"nowhere\", which leads to no file"},
        {"protected file", [](const fs::path& p) {
             std::ofstream(p) << "kept";
             fs::permissions(p, fs::perms::owner_read | fs::perms::group_read);
         }, "Permission denied"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "it is not a plain file"},
        {"link to a file", [this](const fs::path& p) {
             std::ofstream(folder_ / "real") << "old";
             fs::create_symlink("real", p);
         }, ""},
        {"private file", [](const fs::path& p) {
             std::ofstream(p) << "old";
             fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
         }, ""},
        // Replaced by the superuser, another user's file stays theirs.
        {"another user's private file", [&](const fs::path& p) {
             std::ofstream(p) << "old";
             fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
             EXPECT_EQ(::chown(p.c_str(), nobody, nobody), 0);
         }, "", true},
        // The kernel's rule for a shared folder (fs.protected_symlinks), kept
        // where the kernel does not: another user's link in a sticky folder
        // everyone may write is not followed, even to a file we may write.
        {"link another user planted in a sticky folder", [this](const fs::path& p) {
             std::ofstream(folder_ / "real") << "old";
             fs::create_symlink("real", p);
             EXPECT_EQ(::lchown(p.c_str(), nobody, nobody), 0);
             fs::permissions(folder_, fs::perms::all | fs::perms::sticky_bit);
         }, "it is a symbolic link that another user made in the shared folder " + halvaro::files::QuotedPath(folder_)
                + ", so it is not followed", true},
        // The folder's owner's link is followed, as the kernel's rule has it.
        {"link of the sticky folder's owner", [&](const fs::path& p) {
             std::ofstream(folder_ / "real") << "old";
             fs::create_symlink("real", p);
             EXPECT_EQ(::lchown(p.c_str(), nobody, nobody), 0);
             EXPECT_EQ(::chown(folder_.c_str(), nobody, nobody), 0);
             fs::permissions(folder_, fs::perms::all | fs::perms::sticky_bit);
         }, "", true},
        // A folder no one may write protects its files, from the superuser too.
        {"file in a folder no one may write", [this](const fs::path& p) {
             std::ofstream(p) << "old";
             fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                     | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
         }, "Permission denied"},
    };
    std::vector<std::string> skipped;
    for (const Target& t : targets) {
        const fs::path target = folder_ / (std::string(t.Kind) == "private file" ? longName : "target");
        if (t.NeedsRoot && ::geteuid() != 0) {
            skipped.emplace_back(t.Kind);
            continue;
        }
        t.Make(target);
        const auto before = fs::symlink_status(target);
        const auto owner = ownerOf(target);
        const std::string content = fs::is_regular_file(target) ? FileBytes(target) : "";
        if (!fs::exists(before)) {
            continue; // a device node needs the privilege to make one
        }
        const Ran run = Start({"--batch", "b.jsonl", "--output", target.string()});
        if (t.Refusal.empty()) {
            EXPECT_EQ(run.Status, 0) << t.Kind << run.Err;
            EXPECT_TRUE(Matches(LinesOf(FileBytes(target))[0], Reads(1, "delhi-1975"))) << t.Kind;
            EXPECT_EQ(fs::symlink_status(target).type(), before.type()) << t.Kind;
            if (std::string(t.Kind).ends_with("private file")) {
                EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
            }
            EXPECT_EQ(ownerOf(target), owner) << t.Kind;
        } else {
            EXPECT_EQ(run.Status, 2) << t.Kind;
            EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')),
                "halvaro-cli: " + target.string() + ": the output file cannot be created: " + t.Refusal) << t.Kind;
            EXPECT_EQ(fs::symlink_status(target).type(), before.type()) << t.Kind;
            EXPECT_EQ(fs::is_regular_file(target) ? FileBytes(target) : "", content) << t.Kind;
        }
        EXPECT_EQ(::chown(folder_.c_str(), ::geteuid(), ::getegid()), 0);
        fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                | fs::perms::others_read | fs::perms::others_exec);
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "b.jsonl" || name == "real" || entry.path() == target) << t.Kind << ": " << name;
        }
        fs::remove_all(target);
        fs::remove(folder_ / "real");
    }
    if (!skipped.empty()) {
        GTEST_SKIP() << "not root, so these could not be made: " << ::testing::PrintToString(skipped);
    }
}

// The input named again as the output, by its name, through a link, by a
// second name, or as standard input, is refused before anything is read,
// and stays as it was.
TEST_F(Batches, OutputThatIsTheInputIsRefused)
{
    const std::string births = std::string("{") + DelhiJson + "}\n";
    std::ofstream(folder_ / "b.jsonl") << births;
    fs::create_symlink("b.jsonl", folder_ / "link.jsonl");
    fs::create_hard_link(folder_ / "b.jsonl", folder_ / "second.jsonl");
    for (const auto& [input, output] : {std::pair("b.jsonl", "b.jsonl"), std::pair("b.jsonl", "link.jsonl"),
             std::pair("link.jsonl", "second.jsonl"), std::pair("-", "b.jsonl")}) {
        const Ran run = Start({"--batch", input, "--input-format", "jsonl", "--output", output}, folder_ / "b.jsonl");
        EXPECT_EQ(run.Status, 2) << output;
        EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')),
            "halvaro-cli: " + std::string(output) + ": the output file cannot be created: it is the batch's input");
        EXPECT_EQ(FileBytes(folder_ / "b.jsonl"), births) << output;
    }
}

// /dev/stdout on a pipe leads to the pipe, not to nowhere: it is refused as
// a pipe is, and standard output is asked for with "-".
TEST_F(Batches, StandardOutputOnAPipeIsNoFile)
{
    std::ofstream(folder_ / "b.jsonl") << "{" << DelhiJson << "}\n";
    int out[2] = {-1, -1};
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int err = ::open((folder_ / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const Ran run = Wait(Spawn({"--batch", "b.jsonl", "--output", "/dev/stdout"}, in, out[1], err));
    for (const int fd : {in, out[1], err, out[0]}) {
        ::close(fd);
    }
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(FileBytes(folder_ / "err"), "halvaro-cli: /dev/stdout: the output file cannot be created: it is not a plain file\n");
}

// A byte-order mark that reaches the batch in pieces, as a pipe may give
// it, is removed all the same, and the first column keeps its name.
TEST_F(Batches, AByteOrderMarkSplitOverReadsIsRemoved)
{
    const std::string text = "\xEF\xBB\xBF" + Joined({std::string("id,") + Header, std::string("a1,") + DelhiFields});
    for (const std::size_t split : {1U, 2U, 3U}) {
        int in[2] = {-1, -1};
        ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
        const int out = ::open((folder_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = Spawn({"--batch", "-", "--input-format", "csv"}, in[0], out, null);
        for (const int fd : {in[0], out, null}) {
            ::close(fd);
        }
        EXPECT_EQ(::write(in[1], text.data(), split), static_cast<ssize_t>(split));
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // so that the first read ends there
        EXPECT_EQ(::write(in[1], text.data() + split, text.size() - split), static_cast<ssize_t>(text.size() - split));
        ::close(in[1]);
        EXPECT_EQ(Wait(pid).Status, 0) << split;
        EXPECT_TRUE(Matches(FileBytes(folder_ / "out").substr(0, FileBytes(folder_ / "out").find('\n')), Reads(2, "delhi-1975", "\"a1\"")))
            << split;
    }
}

// A JSON Lines birth; every fifth one has no name and is refused.
std::string GeneratedBirth(std::uint64_t i)
{
    return "{\"id\": " + std::to_string(i) + ", \"name\": \"" + (i % 5 == 0 ? "" : "P") + "\", \"date\": \"19"
        + std::to_string(10 + i % 90) + "-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + "\", \"time\": \""
        + std::to_string(10 + i % 14) + ":3" + std::to_string(i % 10) + "\", \"zone\": " + std::to_string(i % 71)
        + ", \"lat\": \"28:39N\", \"lon\": \"77:13E\", \"city\": \"C\", \"state\": \"S\", \"country\": \"K\"}\n";
}

// A batch stopped by a signal, even one that cannot be caught, leaves the
// earlier output as it was and no temporary file.
TEST_F(Batches, InterruptedBatchLeavesNothing)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        std::ofstream(folder_ / "out.jsonl") << "earlier\n";
        int in[2] = {-1, -1};
        ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = Spawn({"--batch", "-", "--input-format", "jsonl", "--output", "out.jsonl"}, in[0], null, null);
        ::close(in[0]);
        ::close(null);
        std::string births;
        for (std::uint64_t i = 1; i <= 2000; ++i) {
            births += GeneratedBirth(i);
        }
        EXPECT_EQ(::write(in[1], births.data(), births.size()), static_cast<ssize_t>(births.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid, signal);
        Wait(pid);
        ::close(in[1]);
        EXPECT_EQ(FileBytes(folder_ / "out.jsonl"), "earlier\n") << signal;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1) << signal;
    }
}

// Where the file system has no unnamed files, the output's temporary file has
// a name from the start; a catchable signal removes it before it ends the
// program, unless the program was started to ignore it.
TEST_F(Batches, ASignalRemovesANamedTemporaryFile)
{
    struct NoUnnamedFiles final : halvaro::files::FileCalls {
        int OpenUnnamed(int /*folderFd*/) override
        {
            errno = EOPNOTSUPP;
            return -1;
        }
    };
    const fs::path out = fs::absolute(folder_ / "out.jsonl");
    // A signal ignored from the start (nohup's SIGHUP) stays ignored: the
    // batch goes on, and its writer removes the file when it ends.
    for (const auto& [signal, ignored] : {std::pair(SIGINT, false), std::pair(SIGTERM, false), std::pair(SIGHUP, false),
             std::pair(SIGHUP, true), std::pair(SIGINT, true)}) {
        const auto run = [&] {
            if (ignored) {
                std::signal(signal, SIG_IGN);
            }
            bool stillIgnored = false;
            {
                NoUnnamedFiles calls;
                halvaro::files::FileWriter writer(calls);
                if (writer.Open(out) || !fs::exists(out.parent_path() / writer.TemporaryName())) {
                    std::_Exit(3); // no named temporary file to remove
                }
                {
                    const halvaro::cli::TemporaryRemovedOnSignal removed(writer);
                    std::raise(signal);
                }
                stillIgnored = std::signal(signal, SIG_DFL) == SIG_IGN;
            }
            std::_Exit(stillIgnored ? 0 : 4);
        };
        if (ignored) {
            EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "") << signal;
        } else {
            EXPECT_EXIT(run(), ::testing::KilledBySignal(signal), "") << signal;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 0) << signal;
    }
}

// With SIGPIPE ignored, output to a closed pipe fails the batch with the
// system's reason, and the summary counts the records read and not written.
TEST_F(Batches, ClosedOutputFailsAndTheSummaryCountsWhatWasRead)
{
    {
        std::ofstream births(folder_ / "births.jsonl", std::ios::binary);
        for (std::uint64_t i = 1; i <= 3000; ++i) {
            births << GeneratedBirth(i);
        }
    }
    std::signal(SIGPIPE, SIG_IGN); // inherited by the program
    int out[2] = {-1, -1};
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ::close(out[0]);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int err = ::open((folder_ / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const Ran run = Wait(Spawn({"--batch", "births.jsonl", "--jobs", "1"}, in, out[1], err));
    for (const int fd : {in, out[1], err}) {
        ::close(fd);
    }
    EXPECT_EQ(run.Status, 2);
    const std::string text = FileBytes(folder_ / "err");
    EXPECT_EQ(text.rfind("halvaro-cli: standard output: the output could not be written: Broken pipe\n"
                         "halvaro-cli: 512 records read, 0 readings, 0 errors, 512 not written in ", 0), 0U) << text;
}

// Two jobs give what one gives, in input order, in either sky.
TEST_F(Batches, TwoJobsKeepTheInputOrder)
{
    constexpr std::uint64_t count = 1500;
    {
        std::ofstream births(folder_ / "births.jsonl", std::ios::binary);
        for (std::uint64_t i = 1; i <= count; ++i) {
            births << GeneratedBirth(i);
        }
    }
    for (const char* sky : {"classic", "precise"}) {
        const Ran one = Start({"--batch", "births.jsonl", "--jobs", "1", "--sky", sky});
        const Ran two = Start({"--batch", "births.jsonl", "--jobs", "2", "--sky", sky});
        EXPECT_EQ(one.Status, 1);
        EXPECT_EQ(one.Out, two.Out);
        const std::vector<std::string> lines = LinesOf(two.Out);
        ASSERT_EQ(lines.size(), count);
        for (std::uint64_t i = 1; i <= count; ++i) {
            const std::string start = "{\"line\":" + std::to_string(i) + ",\"id\":" + std::to_string(i) + ",";
            ASSERT_EQ(lines[i - 1].rfind(start + (i % 5 == 0 ? "\"error\"" : "\"GrahaPositionTexts\""), 0), 0U) << lines[i - 1];
        }
    }
}

// Peak memory does not grow with the input: many births through a pipe take
// no more than a hundredth of them, and rows of 65,000 commas (fields the
// record limit must count) no more than a few rows; nor with --jobs past a
// few for each core.
TEST_F(Batches, MemoryStaysFlatThroughAPipe)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's own memory (quarantine, shadow) is not the program's";
#endif
    const auto peakFor = [this](const char* format, std::uint64_t count, const std::function<std::string(std::uint64_t)>& line,
                             unsigned jobs = 2) {
        std::signal(SIGPIPE, SIG_IGN); // a program that died early fails the checks, not the test run
        int in[2] = {-1, -1}, out[2] = {-1, -1};
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = Spawn({"--batch", "-", "--input-format", format, "--jobs", std::to_string(jobs)}, in[0], out[1], null);
        for (const int fd : {in[0], out[1], null}) {
            ::close(fd);
        }
        std::thread writer([&] {
            std::string text = std::string(format) == "csv" ? Joined({Header}) : "";
            for (std::uint64_t i = 1; i <= count; ++i) {
                text += line(i);
                if (text.size() > 60000 || i == count) {
                    if (::write(in[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
                        break;
                    }
                    text.clear();
                }
            }
            ::close(in[1]);
        });
        std::uint64_t lines = 0;
        std::vector<char> buffer(1 << 16);
        // The program's own high-water mark, read while it runs: the one
        // wait4 gives also holds this process's, which the spawn shared.
        long peak = 0;
        for (pollfd ready {out[0], POLLIN, 0};;) {
            std::ifstream status("/proc/" + std::to_string(pid) + "/status");
            for (std::string entry; std::getline(status, entry);) {
                if (entry.starts_with("VmHWM:")) {
                    peak = std::max(peak, std::stol(entry.substr(6)));
                }
            }
            if (::poll(&ready, 1, 10) == 0) {
                continue;
            }
            const ssize_t got = ::read(out[0], buffer.data(), buffer.size());
            if (got <= 0) {
                break;
            }
            lines += static_cast<std::uint64_t>(std::count(buffer.begin(), buffer.begin() + got, '\n'));
        }
        ::close(out[0]);
        writer.join();
        const Ran run = Wait(pid);
        EXPECT_EQ(run.Status, 1); // every fifth birth, and every row of commas, is refused
        EXPECT_EQ(lines, count);
        EXPECT_GT(peak, 0);
        return peak;
    };
    const auto commas = [](std::uint64_t) { return std::string(65'000, ',') + "\n"; };
    EXPECT_LT(peakFor("jsonl", 100'000, GeneratedBirth), peakFor("jsonl", 1000, GeneratedBirth) + 16 * 1024);
    EXPECT_LT(peakFor("csv", 2000, commas), peakFor("csv", 20, commas) + 16 * 1024);
    // Each job holds its blocks (some 4 MB of output); --jobs 256 on a few
    // cores costs what four jobs a core cost, not a gigabyte.
    const unsigned capped = std::min(256U, 4 * std::max(1U, std::thread::hardware_concurrency()));
    EXPECT_LT(peakFor("jsonl", 10'000, GeneratedBirth, 256), peakFor("jsonl", 10'000, GeneratedBirth, capped) + 16 * 1024);
}

} // namespace

namespace {

// Records given as place and zone names, no coordinates or zone numbers;
// the offsets are those of tests/data/atlas/zone-offsets.tsv.
TEST_F(Batches, RecordsTakePlaceAndZoneNames)
{
    std::ofstream(folder_ / "b.csv") << Joined({"name,date,time,place,tz,utc_offset,dst",
        "A,1943-06-15,10:30,Kolkata,Asia/Kolkata,,", "B,1980-10-26,01:30,\"New York, US\",,,false",
        "C,1990-06-15,12:00,Kathmandu,,+05:45,", "D,1990-06-15,12:00,Nowhereville,,,", "E,1990-06-15,12:00,Kathmandu,Asia/Kathmandu,+05:45,",
        "F,1990-06-15,12:00," + std::string(16'000, 'q') + ",,,"});
    const auto started = std::chrono::steady_clock::now();
    const Ran run = Start({"--batch", "b.csv"});
    EXPECT_EQ(run.Status, 1) << run.Err;
    const std::vector<std::string> lines = LinesOf(run.Out);
    ASSERT_EQ(lines.size(), 6U) << run.Out;
    // Refused before the closest names are searched for, which took 13 s for it.
    EXPECT_EQ(lines[5], R"({"line":7,"error":"place: the text is longer than 200 bytes, which no place name is"})");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_NE(lines[0].find(R"("Birth":{"Date":"1943-06-15","Time":"10:30","UtcOffset":"+06:30","TimeZone":"Asia/Kolkata")"), std::string::npos);
    EXPECT_NE(lines[1].find(R"("UtcOffset":"-05:00","TimeZone":"America/New_York")"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(R"("UtcOffset":"+05:45","TimeZone":null,"Latitude":27.7)"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].rfind(R"({"line":5,"error":"No place is named \"Nowhereville\". Closest names: )", 0), 0U) << lines[3];
    EXPECT_EQ(lines[4], R"({"line":6,"error":"give one of \"zone\", \"tz\" and \"utc_offset\""})");
}

} // namespace

// A CSV row's fields, quotes taken off.
std::vector<std::string> CsvFieldsOf(const std::string& row)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < row.size() && row[i] != '\r'; ++i) {
        if (row[i] == '"') {
            if (quoted && i + 1 < row.size() && row[i + 1] == '"') {
                fields.back() += row[++i];
            } else {
                quoted = !quoted;
            }
        } else if (row[i] == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += row[i];
        }
    }
    return fields;
}

// Every column of the vargas, the Vimshopaka and the houses holds what the
// JSON of the same reading holds (its values: VargasAndHousesInJsonChartsAndABatch);
// inside the polar circle the row keeps its width, the cusps and houses
// empty and the note saying why.
TEST_F(Batches, VargaAndHouseColumnsHoldTheJsonsValues)
{
    const std::string polar = std::regex_replace(std::string(DelhiFields), std::regex("28:39N"), "69:39N");
    std::ofstream(folder_ / "b.csv") << Joined({Header, DelhiFields, polar});
    const std::vector<std::string> groups {"--fields", "Vargas,Vimshopaka,Houses", "--houses", "placidus"};
    const Ran csv = Start(With({"--batch", "b.csv", "--output-format", "csv"}, groups));
    ASSERT_EQ(csv.Status, 0) << csv.Err;
    const std::vector<std::string> rows = LinesOf(csv.Out);
    ASSERT_EQ(rows.size(), 3U);
    const std::vector<std::string> names = CsvFieldsOf(rows[0]);
    // line, id, error; 16 vargas of nine grahas and the Lagna; seven
    // strengths; the system, 12 cusps, nine grahas' houses and the note.
    ASSERT_EQ(names.size(), 3U + 160 + 7 + 23);
    EXPECT_EQ(std::tuple(names[3], names[162], names[163], names[170], names[182], names[192]),
        std::tuple("D1.Sun", "D60.Lagna", "Vimshopaka.Sun", "Houses.System", "Houses.Cusp12", "Houses.Note"));

    rapidjson::Document json;
    json.Parse(Start(With(DelhiArgs, With({"--json"}, groups))).Out.c_str());
    ASSERT_TRUE(json.IsObject());
    const auto decimals = [](double value, int places) {
        std::array<char, 32> text {};
        std::snprintf(text.data(), text.size(), "%.*f", places, value);
        return std::string(text.data());
    };
    const std::vector<std::string> delhi = CsvFieldsOf(rows[1]);
    ASSERT_EQ(delhi.size(), names.size()) << rows[1];
    const rapidjson::Value& houses = json["Houses"];
    for (std::size_t column = 3; column < names.size(); ++column) {
        const std::string& name = names[column];
        const std::size_t dot = name.find('.');
        const std::string group = name.substr(0, dot), member = name.substr(dot + 1);
        std::string expected = "(not in the JSON)";
        if (group == "Vimshopaka" && json["Vimshopaka"].HasMember(member.c_str())) {
            expected = decimals(json["Vimshopaka"][member.c_str()].GetDouble(), 2);
        } else if (group == "Houses" && member.rfind("Cusp", 0) == 0) {
            expected = decimals(houses["Cusps"][std::stoi(member.substr(4)) - 1].GetDouble(), 6);
        } else if (group == "Houses" && (member == "System" || member == "Note")) {
            expected = houses[member.c_str()].GetString();
        } else if (group == "Houses" && houses["Grahas"].HasMember(member.c_str())) {
            expected = std::to_string(houses["Grahas"][member.c_str()].GetInt());
        } else if (json["Vargas"].HasMember(group.c_str()) && json["Vargas"][group.c_str()].HasMember(member.c_str())) {
            expected = std::to_string(json["Vargas"][group.c_str()][member.c_str()].GetInt());
        }
        EXPECT_EQ(delhi[column], expected) << name;
    }

    const std::vector<std::string> far = CsvFieldsOf(rows[2]);
    ASSERT_EQ(far.size(), names.size()) << rows[2];
    EXPECT_EQ(std::tuple(far[170], far[171], far[191]), std::tuple("Placidus", "", ""));
    EXPECT_EQ(far[192].rfind("Placidus houses do not exist at latitude 69\xC2\xB0" "39' N", 0), 0U) << far[192];
}
