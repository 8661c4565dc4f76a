#include "cli/CommandLine.h"

#include "chart/ChartData.h"
#include "chart/ChartFile.h"
#include "core/InputChecks.h"
#include "core/FileReplace.h"
#include "core/Ranges.h"
#include "core/Text.h"
#include "core/TimeZones.h"
#include "sky/PreciseSky.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace halvaro::cli {

namespace {

enum class Flag {
    Name, Date, Time, Zone, Lat, Lon, Dst, City, State, Country, Json, Save, Zones, Help, Sky, Chart, ChartStyle,
};

struct FlagInfo {
    std::string_view Spelling;
    Flag Id;
    bool TakesValue;
    bool IsBirthData;
};

constexpr std::array<FlagInfo, 17> Flags {{
    {"--name", Flag::Name, true, true},
    {"--date", Flag::Date, true, true},
    {"--time", Flag::Time, true, true},
    {"--zone", Flag::Zone, true, true},
    {"--lat", Flag::Lat, true, true},
    {"--lon", Flag::Lon, true, true},
    {"--dst", Flag::Dst, false, true},
    {"--city", Flag::City, true, true},
    {"--state", Flag::State, true, true},
    {"--country", Flag::Country, true, true},
    {"--json", Flag::Json, false, false},
    {"--save", Flag::Save, true, false},
    {"--zones", Flag::Zones, false, false},
    {"--help", Flag::Help, false, false},
    {"--sky", Flag::Sky, true, false},
    {"--chart", Flag::Chart, true, false},
    {"--chart-style", Flag::ChartStyle, true, false},
}};

const FlagInfo* FindFlag(std::string_view spelling)
{
    if (spelling == "-h") {
        spelling = "--help";
    }
    const auto it = std::find_if(Flags.begin(), Flags.end(), [&](const FlagInfo& f) { return f.Spelling == spelling; });
    return it == Flags.end() ? nullptr : &*it;
}

// Arguments are shown with their control characters escaped, so a message
// cannot steer the terminal it is printed on.
std::string Shown(std::string_view value)
{
    // Built piece by piece: g++ 12 at -O2 and above warns falsely (-Wrestrict)
    // on "'" + std::string(...) once this is inlined into a caller.
    const std::string printable = PrintableText(value);
    std::string shown;
    shown.reserve(printable.size() + 2);
    shown += '\'';
    shown += printable;
    shown += '\'';
    return shown;
}

// Files written by --save are named *.aha, as the window's Save dialog
// names them; reading a file asks less (any name ending in "aha").
bool HasSaveExtension(std::string_view path)
{
    return path.ends_with(".aha");
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

std::string Decimal(int value)
{
    return DecimalText(value);
}

// A value outside its list: "--date: the year 1900 is outside 1901 to 2050".
std::string OutsideList(std::string_view option, std::string_view part, int value, ListRange list)
{
    return std::string(option) + ": the " + std::string(part) + " " + Decimal(value) + " is outside "
        + Decimal(list.First) + " to " + Decimal(list.Last);
}

// Each value parser fills its part of the entries or returns the error.
using ValueError = std::optional<std::string>;

ValueError ParseDate(std::string_view value, BirthData& entries)
{
    const auto parts = Split(value, '-');
    const std::string form = "--date: " + Shown(value) + " is not a date of the form YYYY-MM-DD";
    if (parts.size() != 3 || parts[0].size() != 4) {
        return form;
    }
    const auto year = DigitsNumber(parts[0], 4);
    const auto month = DigitsNumber(parts[1], 2);
    const auto day = DigitsNumber(parts[2], 2);
    if (!year || !month || !day) {
        return form;
    }
    if (!YearRange.Contains(*year)) {
        return OutsideList("--date", "year", *year, YearRange);
    }
    if (!MonthRange.Contains(*month)) {
        return OutsideList("--date", "month", *month, MonthRange);
    }
    if (!DayRange.Contains(*day)) {
        return OutsideList("--date", "day", *day, DayRange);
    }
    entries.Year = *year;
    entries.Month = *month;
    entries.Day = *day;
    return std::nullopt;
}

ValueError ParseTime(std::string_view value, BirthData& entries)
{
    const auto parts = Split(value, ':');
    const auto hour = parts.size() == 2 ? DigitsNumber(parts[0], 2) : std::nullopt;
    const auto minute = parts.size() == 2 ? DigitsNumber(parts[1], 2) : std::nullopt;
    if (!hour || !minute) {
        return "--time: " + Shown(value) + " is not a time of the form HH:MM";
    }
    if (!HourRange.Contains(*hour)) {
        return OutsideList("--time", "hour", *hour, HourRange);
    }
    if (!MinuteRange.Contains(*minute)) {
        return OutsideList("--time", "minute", *minute, MinuteRange);
    }
    entries.Hour = *hour;
    entries.Minute = *minute;
    return std::nullopt;
}

ValueError ParseZone(std::string_view value, BirthData& entries)
{
    const auto zone = DigitsNumber(value, 3);
    if (!zone || !ZoneRange.Contains(*zone)) {
        return "--zone: " + Shown(value) + " is not a zone position from " + Decimal(ZoneRange.First) + " to "
            + Decimal(ZoneRange.Last) + " (see --zones)";
    }
    entries.ZonePosition = *zone;
    return std::nullopt;
}

// DD:MM followed by one of two direction letters, upper or lower case; the
// degree and minute texts go to their boxes as typed, at most three digits
// each as the boxes hold.
struct Angle {
    std::string Degrees, Minutes;
    bool First; // N or E
};

std::optional<Angle> ParseAngle(std::string_view value, char first, char second)
{
    if (value.empty()) {
        return std::nullopt;
    }
    const char direction = value.back();
    const auto upper = static_cast<char>(direction >= 'a' && direction <= 'z' ? direction - 'a' + 'A' : direction);
    if (upper != first && upper != second) {
        return std::nullopt;
    }
    const auto parts = Split(value.substr(0, value.size() - 1), ':');
    if (parts.size() != 2 || !DigitsNumber(parts[0], 3) || !DigitsNumber(parts[1], 3)) {
        return std::nullopt;
    }
    return Angle {std::string(parts[0]), std::string(parts[1]), upper == first};
}

ValueError ParseLatitude(std::string_view value, BirthData& entries)
{
    const auto angle = ParseAngle(value, 'N', 'S');
    if (!angle) {
        return "--lat: " + Shown(value) + " is not a latitude of the form DD:MM followed by N or S";
    }
    entries.LatDeg = angle->Degrees;
    entries.LatMin = angle->Minutes;
    entries.North = angle->First;
    entries.South = !angle->First;
    return std::nullopt;
}

ValueError ParseLongitude(std::string_view value, BirthData& entries)
{
    const auto angle = ParseAngle(value, 'E', 'W');
    if (!angle) {
        return "--lon: " + Shown(value) + " is not a longitude of the form DDD:MM followed by E or W";
    }
    entries.LonDeg = angle->Degrees;
    entries.LonMin = angle->Minutes;
    entries.East = angle->First;
    entries.West = !angle->First;
    return std::nullopt;
}

ValueError ParseSky(std::string_view value, SkyModel& sky)
{
    for (const SkyModel model : {SkyModel::Classic, SkyModel::Precise}) {
        if (value == SkyModelName(model)) {
            sky = model;
            return std::nullopt;
        }
    }
    return "--sky: " + Shown(value) + " is not a sky model: classic or precise";
}

ParseResult Fail(std::string error)
{
    return {std::nullopt, std::move(error)};
}

// The files a command wrote before something failed, as the message names
// them: "the reading was saved to "a.aha" and the chart to "c.svg"".
std::string SavedFiles(const std::optional<std::string>& reading, const std::optional<std::string>& chart)
{
    std::string saved;
    if (reading) {
        saved = "the reading was saved to " + QuotedPath(*reading);
    }
    if (chart) {
        saved += saved.empty() ? "the chart was saved to " : " and the chart to ";
        saved += QuotedPath(*chart);
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

std::string Padded(std::string_view text, std::size_t width)
{
    std::string line(text);
    line.resize(std::max(width, text.size()), ' ');
    return line;
}

} // namespace

ParseResult ParseCommandLine(std::span<const std::string_view> args)
{
    Command command;
    command.Kind = CommandKind::Reading;
    std::array<bool, Flags.size()> seen {};
    std::optional<std::string_view> firstBirthFlag;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!looksLikeOption) {
            if (command.ReadingPath) {
                return Fail("more than one reading file given: " + Shown(*command.ReadingPath) + " and " + Shown(arg));
            }
            command.ReadingPath = std::string(arg);
            continue;
        }

        const std::size_t equals = arg.find('=');
        const std::string_view spelling = arg.substr(0, equals);
        const FlagInfo* flag = FindFlag(spelling);
        if (flag == nullptr) {
            return Fail("unknown option " + Shown(spelling));
        }
        const auto index = static_cast<std::size_t>(flag - Flags.data());
        if (seen[index]) {
            return Fail(std::string(flag->Spelling) + " is given more than once");
        }
        seen[index] = true;
        if (flag->IsBirthData && !firstBirthFlag) {
            firstBirthFlag = flag->Spelling;
        }

        std::string_view value;
        if (flag->TakesValue) {
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return Fail(std::string(flag->Spelling) + " needs a value");
            }
        } else if (equals != std::string_view::npos) {
            return Fail(std::string(flag->Spelling) + " takes no value");
        }

        ValueError error;
        BirthData& entries = command.Entries;
        switch (flag->Id) {
        case Flag::Name: entries.Name = std::string(value); break;
        case Flag::City: entries.City = std::string(value); break;
        case Flag::State: entries.State = std::string(value); break;
        case Flag::Country: entries.Country = std::string(value); break;
        case Flag::Date: error = ParseDate(value, entries); break;
        case Flag::Time: error = ParseTime(value, entries); break;
        case Flag::Zone: error = ParseZone(value, entries); break;
        case Flag::Lat: error = ParseLatitude(value, entries); break;
        case Flag::Lon: error = ParseLongitude(value, entries); break;
        case Flag::Dst: entries.DaylightSaving = true; break;
        case Flag::Json: command.Json = true; break;
        case Flag::Save:
            if (!HasSaveExtension(value)) {
                error = "--save: " + Shown(value) + " does not end in .aha";
            }
            command.SavePath = std::string(value);
            break;
        case Flag::Chart:
            if (value.size() < 5 || value.substr(value.size() - 4) != ".svg") {
                error = "--chart: " + Shown(value) + " does not end in .svg";
            }
            command.ChartPath = std::string(value);
            break;
        case Flag::ChartStyle:
            if (const auto style = chart::ChartStyleNamed(value)) {
                command.ChartStyle = *style;
            } else {
                error = "--chart-style: " + Shown(value) + " is not south or north";
            }
            break;
        case Flag::Zones: command.Kind = CommandKind::Zones; break;
        case Flag::Sky: error = ParseSky(value, command.Sky); break;
        case Flag::Help: break;
        }
        if (error) {
            return Fail(std::move(*error));
        }
    }

    const auto given = [&](Flag id) { return seen[static_cast<std::size_t>(id)]; };
    if (given(Flag::Help)) {
        command.Kind = CommandKind::Help;
        return {std::move(command), {}};
    }
    if (given(Flag::Zones)) {
        const auto others = std::count(seen.begin(), seen.end(), true);
        if (others > 1 || command.ReadingPath) {
            return Fail("--zones takes no other options or files");
        }
        return {std::move(command), {}};
    }
    if (given(Flag::ChartStyle) && !given(Flag::Chart)) {
        return Fail("--chart-style needs --chart FILE.svg");
    }
    if (command.ReadingPath) {
        if (firstBirthFlag) {
            return Fail("a reading file and birth data options cannot be combined (" + std::string(*firstBirthFlag) + ")");
        }
        return {std::move(command), {}};
    }
    if (!firstBirthFlag) {
        return Fail("no reading given: name a reading file or give the birth data options");
    }
    // The lists always hold a line, so they have no "empty" check to fall
    // back on: a reading without them would silently be of 1 January 1901.
    if (!given(Flag::Date)) {
        return Fail("--date YYYY-MM-DD is missing");
    }
    if (!given(Flag::Time)) {
        return Fail("--time HH:MM is missing");
    }
    if (!given(Flag::Zone)) {
        return Fail("--zone N is missing (see --zones)");
    }
    return {std::move(command), {}};
}

std::string ReadingText(const modVedicGrahaDrishti::ResultTexts& results)
{
    std::size_t width = 0;
    for (int row = 0; row < modVedicGrahaDrishti::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        width = std::max({width, results.lblPlanets[r].size(), results.lblPlanets_Position[r].size()});
    }
    width += 2;
    std::string text;
    for (int row = 0; row < modVedicGrahaDrishti::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        text += Padded(results.lblPlanets[r], width);
        text += results.lblAspects_Sign[r];
        text += '\n';
        text += Padded(results.lblPlanets_Position[r], width);
        text += results.lblAspects_Planets[r];
        text += '\n';
    }
    return text;
}

std::string JsonString(std::string_view text)
{
    constexpr std::string_view hexDigits = "0123456789abcdef";
    std::string json = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        default:
            if (code < 0x20U) {
                json += "\\u00";
                json += hexDigits[code >> 4U];
                json += hexDigits[code & 0x0FU];
            } else {
                json += c;
            }
        }
    }
    json += '"';
    return json;
}

std::string ReadingJson(const Reading& reading)
{
    const auto& results = reading.Results;
    const std::span<const ShortText> grahaPositionTexts = reading.GrahaPositionTexts;
    const std::string_view moonPositionText = reading.MoonPositionText;
    const double ayanamsa = reading.Ayanamsa;
    std::string json = "{\"GrahaPositionTexts\": [";
    for (std::size_t i = 0; i < grahaPositionTexts.size(); ++i) {
        json += i == 0 ? "" : ", ";
        json += JsonString(grahaPositionTexts[i]);
    }
    json += "], \"MoonPositionText\": ";
    json += JsonString(moonPositionText);
    json += ", \"Ayanamsa\": ";
    if (std::isfinite(ayanamsa)) {
        // Seventeen significant digits give the double back exactly, in any locale.
        std::array<char, 32> digits {};
        const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), ayanamsa,
            std::chars_format::general, 17);
        (void)ec;
        json.append(digits.data(), end);
    } else {
        json += "null";
    }
    json += ", \"rows\": [";
    for (int row = 0; row < modVedicGrahaDrishti::RowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        json += row == 0 ? "[" : ", [";
        json += JsonString(results.lblPlanets[r]);
        json += ", ";
        json += JsonString(results.lblPlanets_Position[r]);
        json += ", ";
        json += JsonString(results.lblAspects_Sign[r]);
        json += ", ";
        json += JsonString(results.lblAspects_Planets[r]);
        json += "]";
    }
    json += "], \"Lagna\": ";
    const auto lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? chart::SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    json += lagna ? JsonString(chart::ShortPlaceText(*lagna)) : "null";
    json += ", \"Ketu\": ";
    auto ketu = chart::SignPlaceOf(reading.Longitudes[chart::RahuIndex]);
    if (ketu) {
        ketu->Sign = (ketu->Sign + 6) % chart::SignCount;
    }
    json += ketu ? JsonString(chart::ShortPlaceText(*ketu)) : "null";
    json += ", \"Sky\": ";
    json += JsonString(SkyModelName(reading.Sky));
    json += "}\n";
    return json;
}

std::string SkyLine(const Reading& reading)
{
    return reading.Sky == SkyModel::Classic ? std::string() : std::string(SkyCaption(reading.Sky)) + "\n";
}

std::string UsageText()
{
    return R"(Usage: halvaro-cli FILE.aha [--json] [--save FILE.aha]
       halvaro-cli --name TEXT --date YYYY-MM-DD --time HH:MM --zone N
                   --lat DD:MM(N|S) --lon DDD:MM(E|W) [--dst]
                   --city TEXT --state TEXT --country TEXT [--json] [--save FILE.aha]
       (either form also takes [--chart FILE.svg [--chart-style south|north]])
       halvaro-cli --zones
       halvaro-cli --help

Prints a Halvaro reading as the result screen shows it: for each graha (Sun,
Moon, Mercury, Venus, Mars, Jupiter, Saturn, North Node) its name and the
signs it aspects, then its sidereal position and the grahas it aspects.

The reading comes from a saved reading file or from the birth data options:
  FILE.aha             a reading saved by Halvaro or by --save
  --name TEXT          the person's name
  --date YYYY-MM-DD    date of birth, 1901-01-01 to 2050-12-31
  --time HH:MM         local clock time of birth, 00:00 to 23:59
  --zone N             time zone by its list position, 0 to 70 (see --zones)
  --lat DD:MM(N|S)     latitude in degrees and minutes, e.g. 28:39N
  --lon DDD:MM(E|W)    longitude in degrees and minutes, e.g. 77:13E
  --dst                daylight saving time was in force
  --city TEXT          place of birth: city,
  --state TEXT         state
  --country TEXT       and country

Output:
  --json               print one JSON object instead: GrahaPositionTexts,
                       MoonPositionText, Ayanamsa, the result rows, the
                       short positions of the Lagna (null near the poles) and
                       of Ketu, and Sky
  --sky classic|precise
                       the sky the positions come from: the classic model
                       (the default) or the precise positions of the Swiss
                       Ephemeris with the Lahiri ayanamsa, which the text
                       output names in a last line
  --save FILE.aha      also save the reading's birth data to FILE.aha (the
                       name ends in .aha); an existing file is replaced only
                       once the new one is complete and on disk
  --chart FILE.svg     also draw the Rasi chart, with the Lagna and Ketu, as
                       an SVG picture
  --chart-style STYLE  south (the default: fixed signs in a square) or north
                       (the diamond, houses from the Lagna)

Other commands:
  --zones              list the 71 time zones with their positions
  --help, -h           show this help

A value may also be written --option=VALUE; "--" ends the options. The birth
data are checked as the window checks them, in the same order; a refused
entry prints the window's message on standard error. A reading file that
cannot be used prints "Please Check The File." and the reason.

Exit status: 0 done; 1 entry, file or save refused, or the output could not
be written (a save done before that is kept, and said so); 2 command line
not understood.

Example (the zone of position 34 is "Indian Time, IST, +5.3"):
  halvaro-cli --name "Asha Rao" --date 1975-06-15 --time 10:30 --zone 34 \
      --lat 28:39N --lon 77:13E --city Delhi --state Delhi --country India
)";
}

int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
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

    const ReadingResult result = CalculateReading(entries, command.Sky);
    if (result.Failure) {
        err << result.Failure->Message << "\n";
        return ExitRefused;
    }
    // A chart that cannot be drawn is refused before anything is written.
    const chart::ChartResult drawn = command.ChartPath ? chart::MakeChart(entries, result.Value) : chart::ChartResult {};
    if (!drawn.Refusal.empty()) {
        err << drawn.Refusal << "\n";
        return ExitRefused;
    }
    if (command.SavePath) {
        const readings::SaveResult saved = readings::SaveReadingFile(*command.SavePath, BirthRecordOf(entries), entries.ZonePosition);
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
