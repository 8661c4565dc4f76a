#include "cli/CommandLine.h"

#include "cli/Batch.h"
#include "cli/BirthFields.h"
#include "chart/ChartData.h"
#include "chart/ChartFile.h"
#include "core/Text.h"
#include "files/FileReplace.h"
#include "readingsky/ReadingSky.h"
#include "core/TimeZones.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <vector>

namespace halvaro::cli {

namespace {

// Every option. The birth data come first, so that IsBirthData is a range.
enum class Flag {
    Name, Date, Time, Zone, Lat, Lon, Dst, City, State, Country,
    Json, Sky, Save, Chart, ChartStyle,
    Batch, InputFormat, Output, OutputFormat, Jobs,
    Zones, Help,
    Count
};
constexpr auto FlagCount = static_cast<std::size_t>(Flag::Count);

bool IsBirthData(Flag flag) { return flag <= Flag::Country; }
bool IsBatchSetting(Flag flag) { return flag >= Flag::InputFormat && flag <= Flag::Jobs; }

// CLI11 reads "--zone=" as "--zone" waiting for the next argument, and any
// "--dst=VALUE" where VALUE means true as a plain "--dst"; the command line
// has always taken the first as an empty value and refused the second. So a
// trailing "=" gets a mark that no argument from the system can hold (it
// contains a NUL), and a switch given without a value reports a mark of its
// own; Restored() takes the first mark off whatever comes back.
constexpr std::string_view EmptyValueMark {"\0", 1};
constexpr std::string_view SwitchGivenMark {"\0switch", 7};

std::string Marked(std::string_view arg)
{
    std::string marked(arg);
    if (marked.size() > 2 && marked.starts_with("--") && marked.back() == '=') {
        marked += EmptyValueMark;
    }
    return marked;
}

std::string Restored(std::string text)
{
    if (text == EmptyValueMark || (text.size() >= 2 && text.ends_with(std::string("=") + std::string(EmptyValueMark)))) {
        text.pop_back();
    }
    return text;
}

// The one short spelling, kept out of CLI11 so that it never groups short
// options: "-hx" stays the unknown option it has always been.
constexpr std::string_view HelpShortSpelling = "-h";

// One use of an option in the order given, and how many of the arguments
// CLI11 left over (files, unknown options, "--") came before it. Value is
// empty when the option was the last argument and lacked its value.
struct OptionUse {
    Flag Id;
    std::optional<std::string> Value;
    std::size_t LeftOverBefore = 0;
};

constexpr std::string_view ReadingGroup = "The reading comes from a saved reading file or from the birth data options";
constexpr std::string_view OutputGroup = "Output";
constexpr std::string_view BatchGroup = "Batch readings, one for each birth in a CSV or JSON Lines file";
constexpr std::string_view OtherGroup = "Other commands";

constexpr std::string_view UsageLines = R"(Usage: halvaro-cli FILE.aha [--json] [--save FILE.aha]
       halvaro-cli --name TEXT --date YYYY-MM-DD --time HH:MM --zone N
                   --lat DD:MM(N|S) --lon DDD:MM(E|W) [--dst]
                   --city TEXT --state TEXT --country TEXT [--json] [--save FILE.aha]
       (either form also takes [--sky classic|precise]
        and [--chart FILE.svg [--chart-style south|north]])
       halvaro-cli --batch IN [--input-format csv|jsonl] [--output FILE]
                   [--output-format jsonl|csv] [--jobs N]
       halvaro-cli --zones
       halvaro-cli --help
)";

constexpr std::string_view Description = R"(Prints a Halvaro reading as the result screen shows it: for each graha (Sun,
Moon, Mercury, Venus, Mars, Jupiter, Saturn, North Node) its name and the
signs it aspects, then its sidereal position and the grahas it aspects.
)";

constexpr std::string_view Footer = R"(A value may also be written --option=VALUE; "--" ends the options. The birth
data are checked as the window checks them, in the same order; a refused
entry prints the window's message on standard error. A reading file that
cannot be used prints "Please Check The File." and the reason.

Exit status: 0 done; 1 entry, file or save refused, or the output could not
be written (a save done before that is kept, and said so); 2 command line
not understood.

A batch turns a record it cannot read, or whose birth data are refused, into
the line {"line": N, "id": ..., "error": "..."} and goes on. It ends with a
summary on standard error, and exits with 0 when every record gave a
reading, 1 when some were refused, 2 when the input or output is unusable.

Example (the zone of position 34 is "Indian Time, IST, +5.3"):
  halvaro-cli --name "Asha Rao" --date 1975-06-15 --time 10:30 --zone 34 \
      --lat 28:39N --lon 77:13E --city Delhi --state Delhi --country India
)";

// The help as it has always looked: the usage lines, what the program does,
// then each group of options with its values, the descriptions in a column.
class HelpFormatter : public CLI::FormatterBase {
public:
    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override
    {
        std::string text(UsageLines);
        text += "\n";
        text += app->get_description();
        for (const std::string& group : app->get_groups()) {
            text += "\n" + group + ":\n";
            for (const CLI::Option* option :
                app->get_options([&](const CLI::Option* o) { return o->get_group() == group; })) {
                text += OptionLines(*option);
            }
        }
        text += "\n";
        text += app->get_footer();
        return text;
    }

private:
    static constexpr std::size_t DescriptionColumn = 23;

    static std::string OptionLines(const CLI::Option& option)
    {
        std::string names = option.get_name();
        if (!option.get_type_name().empty()) {
            names += " " + option.get_type_name();
        }
        if (option.get_name() == "--help") {
            names += ", " + std::string(HelpShortSpelling);
        }
        std::string lines = "  " + names;
        if (lines.size() + 1 > DescriptionColumn) {
            lines += "\n";
            lines.append(DescriptionColumn, ' ');
        } else {
            lines.resize(DescriptionColumn, ' ');
        }
        for (const char c : option.get_description()) {
            lines += c;
            if (c == '\n') {
                lines.append(DescriptionColumn, ' ');
            }
        }
        return lines + "\n";
    }
};

// The option table is CLI11's: each option records its uses in order, and
// CLI11 keeps what it does not know (files, unknown options, "--") in order
// too, so that the first problem in the command line is the one reported.
class OptionParser : public CLI::App {
public:
    OptionParser()
        : CLI::App(std::string(Description), std::string(ProgramName))
    {
        set_help_flag();
        allow_extras();
        formatter(std::make_shared<HelpFormatter>());
        footer(std::string(Footer));

        add_option("FILE.aha", [](const CLI::results_t&) { return true; }, "a reading saved by Halvaro or by --save")
            ->expected(0) // documented here; CLI11 leaves files over, in order with unknown options
            ->group(std::string(ReadingGroup));
        AddValue(Flag::Name, "--name", "TEXT", ReadingGroup, "the person's name");
        AddValue(Flag::Date, "--date", "YYYY-MM-DD", ReadingGroup, "date of birth, 1901-01-01 to 2050-12-31");
        AddValue(Flag::Time, "--time", "HH:MM", ReadingGroup, "local clock time of birth, 00:00 to 23:59");
        AddValue(Flag::Zone, "--zone", "N", ReadingGroup, "time zone by its list position, 0 to 70 (see --zones)");
        AddValue(Flag::Lat, "--lat", "DD:MM(N|S)", ReadingGroup, "latitude in degrees and minutes, e.g. 28:39N");
        AddValue(Flag::Lon, "--lon", "DDD:MM(E|W)", ReadingGroup, "longitude in degrees and minutes, e.g. 77:13E");
        AddSwitch(Flag::Dst, "--dst", ReadingGroup, "daylight saving time was in force");
        AddValue(Flag::City, "--city", "TEXT", ReadingGroup, "place of birth: city,");
        AddValue(Flag::State, "--state", "TEXT", ReadingGroup, "state");
        AddValue(Flag::Country, "--country", "TEXT", ReadingGroup, "and country");

        AddSwitch(Flag::Json, "--json", OutputGroup,
            "print one JSON object instead: GrahaPositionTexts,\n"
            "MoonPositionText, Ayanamsa, the result rows, the\n"
            "short positions of the Lagna (null near the poles) and\n"
            "of Ketu, and Sky");
        AddValue(Flag::Sky, "--sky", "classic|precise", OutputGroup,
            "the sky the positions come from: the classic model\n"
            "(the default) or the precise positions of the Swiss\n"
            "Ephemeris with the Lahiri ayanamsa, which the text\n"
            "output names in a last line; a batch takes it too");
        AddValue(Flag::Save, "--save", "FILE.aha", OutputGroup,
            "also save the reading's birth data to FILE.aha (the\n"
            "name ends in .aha); an existing file is replaced only\n"
            "once the new one is complete and on disk");
        AddValue(Flag::Chart, "--chart", "FILE.svg", OutputGroup,
            "also draw the Rasi chart, with the Lagna and Ketu, as\n"
            "an SVG picture");
        AddValue(Flag::ChartStyle, "--chart-style", "STYLE", OutputGroup,
            "south (the default: fixed signs in a square) or north\n"
            "(the diamond, houses from the Lagna)");

        AddValue(Flag::Batch, "--batch", "IN", BatchGroup,
            "read the births from IN, a .csv or .jsonl file, or\n"
            "from standard input for - (then give --input-format).\n"
            "Each record holds name, date, time, zone, lat, lon,\n"
            "city, state and country with the values the options\n"
            "take, dst (true or false; false when left out) and an\n"
            "id to copy to the output if wanted; a CSV file names\n"
            "its columns in its first line, in any order");
        AddValue(Flag::InputFormat, "--input-format", "F", BatchGroup,
            "csv or jsonl: the format of IN when its name does not\n"
            "tell it");
        AddValue(Flag::Output, "--output", "FILE", BatchGroup,
            "write to FILE instead of standard output; an existing\n"
            "file is replaced only once the batch is done");
        AddValue(Flag::OutputFormat, "--output-format", "F", BatchGroup,
            "jsonl (the default): for each record the object of\n"
            "--json with its \"line\" in IN and its \"id\" added; or\n"
            "csv: a header line, then one row for each record");
        AddValue(Flag::Jobs, "--jobs", "N", BatchGroup,
            "compute on N threads, 1 to 256 (default: one for each\n"
            "core); the output keeps the order of the input");

        AddSwitch(Flag::Zones, "--zones", OtherGroup, "list the 71 time zones with their positions");
        AddSwitch(Flag::Help, "--help", OtherGroup, "show this help");
    }

    [[nodiscard]] const std::vector<OptionUse>& Uses() const { return uses_; }
    [[nodiscard]] const auto& LeftOver() const { return missing_; }

    [[nodiscard]] std::string Spelling(Flag id) const { return byFlag_[static_cast<std::size_t>(id)]->get_name(); }
    [[nodiscard]] bool IsSwitch(Flag id) const { return switches_[static_cast<std::size_t>(id)]; }

    [[nodiscard]] std::optional<Flag> FlagOf(const std::string& spelling) const
    {
        const CLI::Option* option = get_option_no_throw(spelling);
        for (std::size_t i = 0; option != nullptr && i < FlagCount; ++i) {
            if (byFlag_[i] == option) {
                return static_cast<Flag>(i);
            }
        }
        return std::nullopt;
    }

private:
    void Record(Flag id, std::string value) { uses_.push_back({id, std::move(value), missing_.size()}); }

    void AddValue(Flag id, const char* spelling, const char* valueName, std::string_view group, const char* description)
    {
        CLI::Option* option = add_option(
            spelling,
            [this, id](const CLI::results_t& results) {
                Record(id, results.empty() ? std::string() : results.front());
                return true;
            },
            description);
        option->type_name(valueName)->trigger_on_parse()->group(std::string(group));
        byFlag_[static_cast<std::size_t>(id)] = option;
    }

    void AddSwitch(Flag id, const char* spelling, std::string_view group, const char* description)
    {
        // The braces give the value of the switch given alone; any other is a value given to it.
        CLI::Option* option = add_flag(std::string(spelling) + "{" + std::string(SwitchGivenMark) + "}");
        option->description(description)
            ->each([this, id](const std::string& value) { Record(id, value); })
            ->trigger_on_parse()
            ->group(std::string(group));
        byFlag_[static_cast<std::size_t>(id)] = option;
        switches_[static_cast<std::size_t>(id)] = true;
    }

    std::array<CLI::Option*, FlagCount> byFlag_ {};
    std::array<bool, FlagCount> switches_ {};
    std::vector<OptionUse> uses_;
};

// Builds the command from the uses and the left-over arguments in the order
// they were given; the first problem ends it.
class CommandBuilder {
public:
    explicit CommandBuilder(const OptionParser& parser)
        : parser_(parser)
    {
        command_.Kind = CommandKind::Reading;
    }

    // An argument CLI11 did not take: "--", a file, or an unknown option.
    ValueError LeftOver(CLI::detail::Classifier kind, std::string arg)
    {
        arg = Restored(std::move(arg));
        if (kind == CLI::detail::Classifier::POSITIONAL_MARK) {
            optionsEnded_ = true;
            return std::nullopt;
        }
        const bool looksLikeOption = kind == CLI::detail::Classifier::LONG || kind == CLI::detail::Classifier::SHORT
            || (!optionsEnded_ && arg.size() > 1 && arg.front() == '-');
        if (looksLikeOption) {
            const std::size_t equals = arg.find('=');
            const std::string spelling = arg.substr(0, equals);
            if (spelling != HelpShortSpelling) {
                return "unknown option " + Shown(spelling);
            }
            return Use({Flag::Help, equals == std::string::npos ? std::string(SwitchGivenMark) : arg.substr(equals + 1)});
        }
        if (command_.ReadingPath) {
            return "more than one reading file given: " + Shown(*command_.ReadingPath) + " and " + Shown(arg);
        }
        command_.ReadingPath = std::move(arg);
        return std::nullopt;
    }

    ValueError Use(const OptionUse& use)
    {
        const auto index = static_cast<std::size_t>(use.Id);
        const std::string spelling = parser_.Spelling(use.Id);
        if (seen_[index]) {
            return spelling + " is given more than once";
        }
        seen_[index] = true;
        if (IsBirthData(use.Id) && !firstBirthFlag_) {
            firstBirthFlag_ = spelling;
        }
        if (IsBatchSetting(use.Id) && !firstBatchSetting_) {
            firstBatchSetting_ = spelling;
        }
        if (!use.Value) {
            return spelling + " needs a value";
        }
        if (parser_.IsSwitch(use.Id)) {
            return *use.Value == SwitchGivenMark ? Switch(use.Id) : spelling + " takes no value";
        }
        return Value(use.Id, spelling, Restored(*use.Value));
    }

    ParseResult Finish()
    {
        if (Given(Flag::Help)) {
            command_.Kind = CommandKind::Help;
            return Done();
        }
        if (Given(Flag::Zones)) {
            const auto others = std::count(seen_.begin(), seen_.end(), true);
            if (others > 1 || command_.ReadingPath) {
                return Fail("--zones takes no other options or files");
            }
            command_.Kind = CommandKind::Zones;
            return Done();
        }
        if (Given(Flag::Batch)) {
            return FinishBatch();
        }
        if (firstBatchSetting_) {
            return Fail(*firstBatchSetting_ + " applies to --batch only");
        }
        if (Given(Flag::ChartStyle) && !Given(Flag::Chart)) {
            return Fail("--chart-style needs --chart FILE.svg");
        }
        if (command_.ReadingPath) {
            if (firstBirthFlag_) {
                return Fail("a reading file and birth data options cannot be combined (" + *firstBirthFlag_ + ")");
            }
            return Done();
        }
        if (!firstBirthFlag_) {
            return Fail("no reading given: name a reading file or give the birth data options");
        }
        // The lists always hold a line, so they have no "empty" check to fall
        // back on: a reading without them would silently be of 1 January 1901.
        if (!Given(Flag::Date)) {
            return Fail("--date YYYY-MM-DD is missing");
        }
        if (!Given(Flag::Time)) {
            return Fail("--time HH:MM is missing");
        }
        if (!Given(Flag::Zone)) {
            return Fail("--zone N is missing (see --zones)");
        }
        return Done();
    }

private:
    [[nodiscard]] bool Given(Flag id) const { return seen_[static_cast<std::size_t>(id)]; }

    static ParseResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }
    ParseResult Done() { return {std::move(command_), {}}; }

    ValueError Switch(Flag id)
    {
        if (id == Flag::Dst) {
            command_.Entries.DaylightSaving = true;
        } else if (id == Flag::Json) {
            command_.Json = true;
        }
        return std::nullopt;
    }

    ValueError Value(Flag id, const std::string& spelling, std::string value)
    {
        BirthData& entries = command_.Entries;
        BatchOptions& batch = command_.Batch;
        switch (id) {
        case Flag::Name: entries.Name = std::move(value); break;
        case Flag::City: entries.City = std::move(value); break;
        case Flag::State: entries.State = std::move(value); break;
        case Flag::Country: entries.Country = std::move(value); break;
        case Flag::Date: return ParseDate(spelling, value, entries);
        case Flag::Time: return ParseTime(spelling, value, entries);
        case Flag::Zone: return ParseZone(spelling, value, entries);
        case Flag::Lat: return ParseLatitude(spelling, value, entries);
        case Flag::Lon: return ParseLongitude(spelling, value, entries);
        case Flag::Save:
            command_.SavePath = value;
            // Files written here are named *.aha, as the window's Save dialog
            // names them; reading a file asks less (any name ending in "aha").
            if (!value.ends_with(".aha")) {
                return spelling + ": " + Shown(value) + " does not end in .aha";
            }
            break;
        case Flag::Sky:
            for (const SkyModel model : {SkyModel::Classic, SkyModel::Precise}) {
                if (value == SkyModelName(model)) {
                    command_.Sky = model;
                    command_.Batch.Sky = model;
                    return std::nullopt;
                }
            }
            return spelling + ": " + Shown(value) + " is not a sky model: classic or precise";
        case Flag::Chart:
            command_.ChartPath = value;
            if (value.size() < 5 || !value.ends_with(".svg")) {
                return spelling + ": " + Shown(value) + " does not end in .svg";
            }
            break;
        case Flag::ChartStyle:
            if (const auto style = chart::ChartStyleNamed(value)) {
                command_.ChartStyle = *style;
            } else {
                return spelling + ": " + Shown(value) + " is not south or north";
            }
            break;
        case Flag::Batch: batch.Input = std::move(value); break;
        case Flag::Output:
            if (value.empty()) {
                return spelling + ": '' is not a file name";
            }
            batch.OutputPath = std::move(value);
            break;
        case Flag::InputFormat:
        case Flag::OutputFormat: {
            const auto format = FormatNamed(value);
            if (!format) {
                return spelling + ": " + Shown(value) + " is neither csv nor jsonl";
            }
            if (id == Flag::InputFormat) {
                inputFormat_ = *format;
            } else {
                batch.OutputFormat = *format;
            }
            break;
        }
        case Flag::Jobs: {
            const auto jobs = DigitsNumber(value, 3);
            if (!jobs || *jobs < 1 || *jobs > static_cast<int>(MaxBatchJobs)) {
                return spelling + ": " + Shown(value) + " is not a number of threads from 1 to 256";
            }
            batch.Jobs = static_cast<unsigned>(*jobs);
            break;
        }
        default: break;
        }
        return std::nullopt;
    }

    static std::optional<RecordFormat> FormatNamed(std::string_view name)
    {
        if (name == "csv") {
            return RecordFormat::Csv;
        }
        if (name == "jsonl") {
            return RecordFormat::JsonLines;
        }
        return std::nullopt;
    }

    ParseResult FinishBatch()
    {
        if (command_.ReadingPath) {
            return Fail("--batch and a reading file cannot be combined");
        }
        if (firstBirthFlag_) {
            return Fail("--batch and the birth data options cannot be combined (" + *firstBirthFlag_ + ")");
        }
        if (command_.Json || command_.SavePath) {
            return Fail(std::string("--batch and ") + (command_.Json ? "--json" : "--save")
                + " cannot be combined (see --output-format)");
        }
        if (command_.ChartPath) {
            return Fail("--batch and --chart cannot be combined");
        }
        BatchOptions& batch = command_.Batch;
        if (inputFormat_) {
            batch.InputFormat = *inputFormat_;
        } else if (const auto format = FormatOfName(batch.Input)) {
            batch.InputFormat = *format;
        } else if (batch.Input == "-") {
            return Fail("--batch -: standard input needs --input-format csv or jsonl");
        } else {
            return Fail("--batch: " + Shown(batch.Input)
                + " ends in neither .csv nor .jsonl; name its format with --input-format");
        }
        command_.Kind = CommandKind::Batch;
        return Done();
    }

    static std::optional<RecordFormat> FormatOfName(std::string_view path)
    {
        const auto endsWith = [&](std::string_view ending) {
            return path.size() >= ending.size()
                && std::equal(ending.begin(), ending.end(), path.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); });
        };
        if (endsWith(".csv")) {
            return RecordFormat::Csv;
        }
        if (endsWith(".jsonl")) {
            return RecordFormat::JsonLines;
        }
        return std::nullopt;
    }

    const OptionParser& parser_;
    Command command_;
    std::array<bool, FlagCount> seen_ {};
    std::optional<std::string> firstBirthFlag_, firstBatchSetting_;
    std::optional<RecordFormat> inputFormat_;
    bool optionsEnded_ = false;
};

// The files a command wrote before something failed, as the message names
// them: "the reading was saved to "a.aha" and the chart to "c.svg"".
std::string SavedFiles(const std::optional<std::string>& reading, const std::optional<std::string>& chart)
{
    std::string saved;
    if (reading) {
        saved = "the reading was saved to " + files::QuotedPath(*reading);
    }
    if (chart) {
        saved += saved.empty() ? "the chart was saved to " : " and the chart to ";
        saved += files::QuotedPath(*chart);
    }
    return saved;
}

// Printing ends the command: what was printed must reach standard output (a
// full disk, a closed file), and files already saved are said to be saved.
int OutputStatus(std::ostream& out, std::ostream& err, const std::string& savedFiles)
{
    out.flush();
    if (out) {
        return ExitSuccess;
    }
    err << ProgramName << ": " << savedFiles << (savedFiles.empty() ? "" : ", but ")
        << "the output could not be written\n";
    return ExitRefused;
}

} // namespace

ParseResult ParseCommandLine(std::span<const std::string_view> args)
{
    OptionParser parser;
    std::vector<std::string> lastFirst; // CLI11 takes the arguments from the back
    lastFirst.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        lastFirst.push_back(Marked(*it));
    }

    std::optional<OptionUse> lacksValue;
    try {
        parser.parse(lastFirst);
    } catch (const CLI::ArgumentMismatch& e) {
        // Options take what follows them whatever it looks like, so only the
        // last argument can lack its value.
        const auto flag = args.empty() ? std::nullopt : parser.FlagOf(std::string(args.back()));
        if (!flag) {
            return {std::nullopt, e.what()};
        }
        lacksValue = OptionUse {*flag, std::nullopt, parser.LeftOver().size()};
    } catch (const CLI::Error& e) {
        return {std::nullopt, e.what()};
    }

    CommandBuilder builder(parser);
    const auto& leftOver = parser.LeftOver();
    std::size_t nextLeftOver = 0;
    const auto takeLeftOver = [&](std::size_t upTo) -> ValueError {
        for (; nextLeftOver < upTo; ++nextLeftOver) {
            if (auto error = builder.LeftOver(leftOver[nextLeftOver].first, leftOver[nextLeftOver].second)) {
                return error;
            }
        }
        return std::nullopt;
    };
    std::vector<OptionUse> uses = parser.Uses();
    if (lacksValue) {
        uses.push_back(*lacksValue);
    }
    for (const OptionUse& use : uses) {
        if (auto error = takeLeftOver(use.LeftOverBefore)) {
            return {std::nullopt, std::move(*error)};
        }
        if (auto error = builder.Use(use)) {
            return {std::nullopt, std::move(*error)};
        }
    }
    if (auto error = takeLeftOver(leftOver.size())) {
        return {std::nullopt, std::move(*error)};
    }
    return builder.Finish();
}

std::string UsageText()
{
    return OptionParser().help();
}

int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    return RunCommandLine(args, std::cin, out, err, false);
}

int RunCommandLine(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err,
    bool errIsTerminal)
{
    ParseResult parsed = ParseCommandLine(args);
    if (!parsed.Parsed) {
        err << ProgramName << ": " << parsed.Error << "\n"
            << "Try '" << ProgramName << " --help' for more information.\n";
        return ExitUsage;
    }
    const Command& command = *parsed.Parsed;

    if (command.Kind == CommandKind::Help) {
        out << UsageText();
        return OutputStatus(out, err, {});
    }
    if (command.Kind == CommandKind::Zones) {
        for (int zone = 0; zone < TimeZoneCount; ++zone) {
            out << (zone < 10 ? " " : "") << zone << "  " << TimeZoneTable[static_cast<std::size_t>(zone)].Name << "\n";
        }
        return OutputStatus(out, err, {});
    }
    if (command.Kind == CommandKind::Batch) {
        return RunBatch(command.Batch, in, out, err, errIsTerminal);
    }

    BirthData entries = command.Entries;
    if (command.ReadingPath) {
        const std::string& path = *command.ReadingPath;
        if (!readings::HasReadingExtension(path)) {
            err << readings::CheckTheFileMessage << "\n"
                << ProgramName << ": " << PrintableText(path) << ": the name does not end in \"aha\"\n";
            return ExitRefused;
        }
        const readings::OpenResult opened = readings::OpenReadingFile(path);
        if (!opened.Reading) {
            err << readings::CheckTheFileMessage << "\n"
                << ProgramName << ": " << PrintableText(path) << ": " << opened.Reason << "\n";
            return ExitRefused;
        }
        entries = *opened.Reading;
    }

    const BirthCheck checked = ValidateInput(entries);
    const ReadingResult result = checked.Failure ? ReadingResult {checked.Failure, {}}
                                                 : readingsky::CalculateReading(checked.Value, command.Sky);
    if (result.Failure) {
        err << result.Failure->Message << "\n";
        return ExitRefused;
    }
    // A chart that cannot be drawn is refused before anything is written.
    const chart::ChartResult drawn = command.ChartPath ? chart::MakeChart(checked.Value, result.Value) : chart::ChartResult {};
    if (!drawn.Refusal.empty()) {
        err << drawn.Refusal << "\n";
        return ExitRefused;
    }
    if (command.SavePath) {
        const readings::SaveResult saved = readings::SaveReadingFile(*command.SavePath, checked.Value);
        if (!saved.Saved) {
            err << ProgramName << ": " << saved.Error << "\n";
            return ExitRefused;
        }
    }
    if (command.ChartPath) {
        if (const auto failure = chart::SaveChartFile(*command.ChartPath, chart::ChartSvg(drawn.Data, command.ChartStyle))) {
            err << ProgramName << ": " << *failure << "\n";
            if (command.SavePath) {
                err << ProgramName << ": " << SavedFiles(command.SavePath, std::nullopt) << " all the same\n";
            }
            return ExitRefused;
        }
    }

    if (command.Json) {
        out << ReadingJson(result.Value);
    } else {
        out << ReadingText(result.Value.Results) << SkyLine(result.Value);
    }
    return OutputStatus(out, err, SavedFiles(command.SavePath, command.ChartPath));
}

} // namespace halvaro::cli
