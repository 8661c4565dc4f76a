#include "cli/CommandLine.h"

#include "cli/Batch.h"
#include "cli/BirthFields.h"
#include "cli/MatchOutput.h"
#include "cli/ReadingOutput.h"
#include "chart/ChartData.h"
#include "chart/ChartFile.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"
#include "core/Text.h"
#include "core/TimeZones.h"
#include "files/FileReplace.h"
#include "readings/ReadingFile.h"
#include "vedic/Varga.h"
#include "fullreading/FullReading.h"
#include "matching/Matching.h"
#include "birth/BirthRoad.h"
#include "panchanga/PanchangaText.h"
#include "picture/PngPicture.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <vector>

namespace halvaro::cli {

namespace {

constexpr std::string_view Description = R"(Prints a Halvaro reading as the result screen shows it: for each graha (Sun,
Moon, Mercury, Venus, Mars, Jupiter, Saturn, North Node) its name and the
signs it aspects, then its sidereal position and the grahas it aspects.

Usage: halvaro-cli FILE.aha [--json] [--save FILE.aha]
       halvaro-cli --name TEXT --date YYYY-MM-DD --time HH:MM --zone N
                   --lat DD:MM(N|S) --lon DDD:MM(E|W) [--dst]
                   --city TEXT --state TEXT --country TEXT [--json] [--save FILE.aha]
       (--place TEXT may stand for --lat, --lon, --city, --state and
        --country, and --tz AREA/LOCATION [--dst|--no-dst] or --utc-offset
        +HH:MM for --zone; --place alone gives its zone too)
       (either form also takes [--sky classic|precise]
        [--details] and [--chart FILE.svg|FILE.png [--chart-style south|north]
        [--chart-varga d1|d2|...|d60|bhava]] and [--houses whole|sripati|placidus])
       halvaro-cli --match BOY GIRL [--json [--fields LIST]] [--sky ...]
       (BOY and GIRL each a reading file, or a birth as one JSON object with
        a batch record's fields: '{"name": "Ravi", "date": "1990-01-31", ...}')
       halvaro-cli --batch IN [--input-format csv|jsonl] [--output FILE]
                   [--output-format jsonl|csv] [--jobs N] [--fields LIST] [--pairs]
       halvaro-cli --panchanga --date YYYY-MM-DD --place TEXT [--json]
                   [--tz AREA/LOCATION|--utc-offset +HH:MM]
                   [--sunrise hindu|disc-centre|upper-limb] [--ayanamsa NAME]
       halvaro-cli --find-place TEXT [--json]
       halvaro-cli --zones
       halvaro-cli --help)";

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
The same birth from the atlas, India's offset on that day from the tz database:
  halvaro-cli --name "Asha Rao" --date 1975-06-15 --time 10:30 --place "New Delhi"
An unknown place or zone, or a local time the zone skipped or had twice,
is refused (status 1) with the closest names or both offsets.)";

// A PNG chart at twice the drawing's size, as the window saves it.
constexpr int ChartPngScale = 2;

constexpr std::string_view ReadingGroup = "The reading comes from a saved reading file or from the birth data options";
constexpr std::string_view OutputGroup = "Output";
constexpr std::string_view BatchGroup = "Batch readings, one for each birth in a CSV or JSON Lines file";
constexpr std::string_view MatchGroup = "Kundli matching of two readings";

// The help gives each option its value's syntax only; what cannot be
// combined is said when it is tried.
class HelpLayout : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* option) const override
    {
        return option->get_type_size() == 0 ? std::string() : " " + option->get_type_name();
    }
    // The description's own usage lines are the one "Usage:" block.
    std::string make_usage(const CLI::App* /*app*/, std::string /*name*/) const override { return {}; }
};

CLI::Validator OneOf(std::vector<std::string> names)
{
    return CLI::IsMember(std::move(names)).description("");
}

// The options as CLI11 declares them. The birth's values are kept as given
// and checked afterwards, in the order given, by the checks a batch record's
// fields share.
struct Options {
    CLI::App App {std::string(Description), std::string(ProgramName)};
    std::string ReadingPath, FindPlace, Sky = "classic", Ayanamsa = "lahiri", AyanamsaValue, Node = "mean",
        DashaYear = "365.25", Sunrise = "hindu", DashaLevels, AshtakavargaTable = "parashari", Save, Chart, ChartStyle = "south",
        ChartVarga = "d1", Houses = "whole", Batch,
        InputFormat, Output, OutputFormat = "jsonl", Groups;
    unsigned Jobs = 0;
    std::vector<std::string> Match;
    bool Pairs = false;
    std::array<std::string, FieldCount> Birth;
    std::array<CLI::Option*, FieldCount> BirthOptions {};
    bool Dst = false, NoDst = false, Json = false, Zones = false, Details = false, Panchanga = false;
    std::vector<CLI::Option*> ConventionOptions;
    CLI::Option* AyanamsaValueOption = nullptr;
    CLI::Option *File = nullptr, *SaveOption = nullptr, *ChartOption = nullptr, *BatchOption = nullptr,
                *InputFormatOption = nullptr, *OutputOption = nullptr, *NoDstOption = nullptr, *FindPlaceOption = nullptr,
                *FieldsOption = nullptr, *MatchOption = nullptr, *PairsOption = nullptr, *PanchangaOption = nullptr,
                *DashaLevelsOption = nullptr;

    Options()
    {
        App.formatter(std::make_shared<HelpLayout>());
        App.footer(std::string(Footer));
        App.set_help_flag("-h,--help", "print this help");
        App.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
        const auto value = [&](const char* name, std::string& target, std::string_view syntax, std::string_view group,
                               std::string_view help) {
            return App.add_option(name, target, std::string(help))->type_name(std::string(syntax))->group(std::string(group));
        };
        const auto flag = [&](const char* name, bool& target, std::string_view group, std::string_view help) {
            return App.add_flag(name, target, std::string(help))->group(std::string(group))->disable_flag_override();
        };
        const auto endsIn = [](std::string_view ending) {
            return [ending](const std::string& name) {
                return name.size() > ending.size() && name.ends_with(ending) ? std::string()
                                                                              : Shown(name) + " does not end in " + std::string(ending);
            };
        };
        File = value("FILE.aha", ReadingPath, "", ReadingGroup, "a reading saved by Halvaro or by --save");
        for (std::size_t i = 0; i + 1 < FieldCount; ++i) { // all but a record's id
            const std::string name = OptionName(static_cast<Field>(i));
            BirthOptions[i] = static_cast<Field>(i) == Field::Dst ? flag(name.c_str(), Dst, ReadingGroup, Fields[i].Help)
                                                                  : value(name.c_str(), Birth[i], Fields[i].Syntax, ReadingGroup, Fields[i].Help);
        }
        NoDstOption = flag("--no-dst", NoDst, ReadingGroup, "with --tz: take the standard offset of a time the clocks showed twice");
        CLI::Option* json = flag("--json", Json, OutputGroup,
            "print one JSON object instead: GrahaPositionTexts, MoonPositionText, Ayanamsa, the result rows, "
            "the short positions of the Lagna (null near the poles) and of Ketu, Sky, SkyDiffers (the grahas the "
            "precise sky places in another sign), Grahas (the positions table), Dasha (the Vimshottari dasha), Birth, "
            "Conventions, Panchanga (the panchanga at birth, in the precise sky), YoginiDasha, Ashtakavarga (the "
            "bhinnas, sarva, shodhanas and pindas; null near the poles), Vargas (each graha's sign, 1 for Mesha, in the "
            "sixteen vargas D1 to D60), Vimshopaka (the strength of the seven grahas from them, 0 to 20, and its scheme) "
            "and Houses (see --houses)");
        FieldsOption = value("--fields", Groups, "LIST", OutputGroup,
            "with --json or --batch: write only these groups of keys, named as the keys, comma-separated ("
                + OutputGroupNames(AllOutputGroups, ", ")
                + "), in that order whatever the list's; a CSV has the columns of these groups. Only what they "
                  "show is computed");
        CLI::Option* details = flag("--details", Details, OutputGroup,
            "add the positions table (nakshatra, pada, lord, Navamsa, dignity, R for retrograde) and the maha dasha "
            "table, today's dasha marked, the Yogini dasha, the ashtakavarga, the panchanga at birth (in the "
            "precise sky), each graha's sign in the sixteen vargas with its Vimshopaka, and the houses of --houses "
            "to the text output");
        DashaLevelsOption = value("--dasha-levels", DashaLevels, "1|2|3", OutputGroup,
            "with --details: the Vimshottari to this depth, 1 the maha dasha table (the default), 2 with each maha "
            "dasha's antar dashas, 3 with their pratyantar dashas too; with --json, 3 adds the pratyantars to each "
            "antar dasha's \"Sub\"")
            ->check(OneOf({"1", "2", "3"}));
        std::vector<std::string> tables;
        std::string tableHelp = "the benefic places the ashtakavarga is counted under:";
        for (std::size_t i = 0; i < ashtakavarga::BeneficTableCount; ++i) {
            const ashtakavarga::BeneficTableNames& names = ashtakavarga::NamesOf(static_cast<ashtakavarga::BeneficTable>(i));
            tables.emplace_back(names.Option);
            tableHelp += (i == 0 ? " " : ", ") + std::string(names.Option) + " (" + std::string(names.Source) + ")"
                + (i == 0 ? ", the default" : "");
        }
        CLI::Option* table = value("--ashtakavarga-table", AshtakavargaTable, "NAME", OutputGroup, tableHelp)->check(OneOf(tables));
        value("--sky", Sky, "classic|precise", OutputGroup,
            "the sky the positions come from: the classic model (the default) or the precise positions of the Swiss "
            "Ephemeris with the Lahiri ayanamsa, which the text output names in a last line; a batch takes it too")
            ->check(OneOf({"classic", "precise"}));
        std::vector<std::string> ayanamsas;
        for (const AyanamsaNames& names : AyanamsaTable) {
            if (names.Option != NamesOf(AyanamsaSystem::User).Option) {
                ayanamsas.emplace_back(names.Option);
            }
        }
        CLI::Option* ayanamsa = value("--ayanamsa", Ayanamsa, "NAME", OutputGroup,
            "with --sky precise: the ayanamsa, lahiri (the default), raman, kp (Krishnamurti), yukteshwar, jn-bhasin, "
            "true-chitra (True Chitra Paksha), true-pushya, true-revati, surya-siddhanta or fagan-bradley")
            ->check(OneOf(ayanamsas));
        AyanamsaValueOption = value("--ayanamsa-value", AyanamsaValue, "DEG@YYYY-MM-DD", OutputGroup,
            "with --sky precise, instead of --ayanamsa: your own ayanamsa, DEG degrees at 0h UT of the date, moved "
            "by precession, e.g. 23.85@2000-01-01")
            ->excludes(ayanamsa);
        CLI::Option* node = value("--node", Node, "mean|true", OutputGroup,
            "with --sky precise: Rahu as the Moon's mean node (the default) or its true node; Ketu opposite")
            ->check(OneOf({"mean", "true"}));
        CLI::Option* dashaYear = value("--dasha-year", DashaYear, "DAYS", OutputGroup,
            "with --sky precise: the days of a dasha year, 365.25 (the default), 365.2564 (sidereal) or 360 (savana)")
            ->check(OneOf(std::vector<std::string>(DashaYearOptions.begin(), DashaYearOptions.end())));
        ConventionOptions = {ayanamsa, AyanamsaValueOption, node, dashaYear};
        std::vector<std::string> sunrises;
        for (const SunriseConventionNames& names : SunriseConventionTable) {
            sunrises.emplace_back(names.Option);
        }
        value("--sunrise", Sunrise, "hindu|disc-centre|upper-limb", OutputGroup,
            "when the panchanga's day begins: hindu (the default: the Sun's centre on the horizon, without "
            "refraction), disc-centre (its centre, with refraction) or upper-limb (its upper edge with refraction, "
            "the almanacs' sunrise)")
            ->check(OneOf(sunrises));
        // Files written here are named *.aha, as the window's Save dialog
        // names them; reading a file asks less (any name ending in "aha").
        SaveOption = value("--save", Save, "FILE.aha", OutputGroup,
            "also save the reading's birth data to FILE.aha; an existing file is replaced only once the new one "
            "is complete and on disk")->check(endsIn(".aha"));
        ChartOption = value("--chart", Chart, "FILE.svg|FILE.png", OutputGroup,
            "also draw the chart (see --chart-varga), with the Lagna and Ketu, as an SVG picture, or as PNG at twice "
            "its size as the window's Save Picture writes it")
            ->check([](const std::string& name) {
                return name.size() > 4 && picture::PictureKindOf(name) != picture::PictureKind::Other
                    ? std::string()
                    : Shown(name) + " ends in neither .svg nor .png";
            });
        value("--chart-style", ChartStyle, "STYLE", OutputGroup,
            "south (the default: fixed signs in a square) or north (the diamond, houses from the Lagna)")
            ->check(OneOf({"south", "north"}))->needs(ChartOption);
        // The vargas the charts are drawn for, as the rules' table holds them.
        std::vector<std::string> vargas;
        std::string vargaHelp = "the chart to draw:";
        for (std::size_t i = 0; i < vedic::VargaRules.size(); ++i) {
            vargas.push_back("d" + DecimalText(vedic::VargaRules[i].N));
            vargaHelp += (i == 0 ? " " : i + 1 == vedic::VargaRules.size() ? ", or " : ", ") + vargas.back() + ", the "
                + std::string(vedic::VargaRules[i].Name) + (i == 0 ? " (the default)" : "");
        }
        vargas.emplace_back("bhava");
        vargaHelp += "; or bhava, the bhava chalit chart: each graha in its house (see --houses)";
        std::string vargaSyntax;
        for (const std::string& name : vargas) {
            vargaSyntax += (vargaSyntax.empty() ? "" : "|") + name;
        }
        value("--chart-varga", ChartVarga, vargaSyntax, OutputGroup, vargaHelp)->check(OneOf(vargas))->needs(ChartOption);
        std::vector<std::string> houseSystems;
        for (const houses::HouseSystemNames& names : houses::HouseSystemTable) {
            houseSystems.emplace_back(names.Option);
        }
        value("--houses", Houses, "whole|sripati|placidus", OutputGroup,
            "the houses of the JSON's Houses, of --details and of --chart-varga bhava: whole signs from the Lagna (the default), "
            "Sripati's bhava chalit (cusps midway between the thirds of the quadrants) or Placidus (as KP uses "
            "them), from the Swiss Ephemeris's angles and cusps at the moment; the classic sky takes the precise "
            "sky's and says so; Placidus has none inside the polar circles, which the output notes; a batch "
            "takes it too")
            ->check(OneOf(houseSystems));
        BatchOption = value("--batch", Batch, "IN", BatchGroup,
            "read the births from IN, a .csv or .jsonl file, or from standard input for - (then give "
            "--input-format). Each record holds name, date, time, zone, lat, lon, city, state and country with the "
            "values the options take (or place for lat to country, tz or utc_offset for zone), dst (true or false; "
            "false when left out) and an id to copy to the output if wanted; a CSV file names its columns in its "
            "first line, in any order");
        InputFormatOption = value("--input-format", InputFormat, "F", BatchGroup, "csv or jsonl: the format of IN when its name does not tell it");
        OutputOption = value("--output", Output, "FILE", BatchGroup,
            "write to FILE instead of standard output (- for standard output); an existing file is replaced only "
            "once the batch is done; FILE may not be IN")
            ->check([](const std::string& name) { return name.empty() ? "'' is not a file name" : std::string(); });
        CLI::Option* outputFormat = value("--output-format", OutputFormat, "F", BatchGroup,
            "jsonl (the default): for each record the object of --json with its \"line\" in IN and its \"id\" "
            "added; or csv: a header line, then one row for each record");
        CLI::Option* jobs = App.add_option("--jobs", Jobs,
            "compute on N threads, 1 to 256, but at most four for each core, since each holds its own records in "
            "memory (default: one for each core); the output keeps the order of the input")
            ->type_name("N")->group(std::string(BatchGroup))->check(CLI::Range(1U, MaxBatchJobs).description(""));
        for (CLI::Option* setting : {InputFormatOption, outputFormat}) {
            setting->check(OneOf({"csv", "jsonl"}));
        }
        for (CLI::Option* setting : {InputFormatOption, OutputOption, outputFormat, jobs}) {
            setting->needs(BatchOption);
        }
        MatchOption = App.add_option("--match", Match,
            "match the boy's reading with the girl's, in that order: the Ashtakoota's eight kutas with their points "
            "and reasons, the total of 36 and its verdict, the Nadi and Bhakoot doshas, and each chart's Manglik "
            "dosha; each a reading file or a birth as one JSON object with a batch record's fields; with --json one "
            "object {\"Boy\", \"Girl\", \"Match\"}")
            ->type_name("BOY GIRL")->expected(2)->group(std::string(MatchGroup));
        PairsOption = flag("--pairs", Pairs, MatchGroup,
            "with --batch: each record holds two births side by side, the boy's fields named boy_name, boy_date and "
            "so on, the girl's girl_name, girl_date ..., and an id; each line is the pair's match as --match --json "
            "gives it, or in CSV the kutas' points, total, verdict, doshas and Manglik findings")
            ->needs(BatchOption);
        CLI::Option* zones = flag("--zones", Zones, "Other commands", "list the time zones with their positions");
        PanchangaOption = flag("--panchanga", Panchanga, "Other commands",
            "print the panchanga of the day --date at --place (its zone, or --tz or --utc-offset) in the precise sky, "
            "from sunrise to the next sunrise: vara, each tithi, nakshatra, yoga and karana with its times, sunrise, "
            "sunset, moonrise, moonset, rahu kala, yamaganda, gulika kala and abhijit muhurta; with --json, one JSON "
            "object: each element a list of {\"Number\", \"Name\", \"Start\", \"End\"}, the times ISO 8601 with "
            "their offset");
        FindPlaceOption = value("--find-place", FindPlace, "TEXT", "Other commands",
            "list the places of the atlas whose names start with TEXT (\"sao p\", \"London, ca\"), most populous first: "
            "name, state, country, latitude and longitude as --lat and --lon take them, IANA zone and population, "
            "tab-separated; with --json, one JSON array");

        // What cannot be combined.
        const auto birth = [&](Field field) { return BirthOptions[static_cast<std::size_t>(field)]; };
        for (CLI::Option* option : BirthOptions) {
            if (option != nullptr) {
                File->excludes(option);
                BatchOption->excludes(option);
            }
        }
        for (CLI::Option* option : BirthOptions) {
            if (option != nullptr) {
                MatchOption->excludes(option);
            }
        }
        MatchOption->excludes(NoDstOption)->excludes(File)->excludes(BatchOption)->excludes(SaveOption)->excludes(ChartOption)
            ->excludes(details);
        PanchangaOption->excludes(File)->excludes(BatchOption)->excludes(SaveOption)->excludes(ChartOption)
            ->excludes(details)->excludes(MatchOption);
        BatchOption->excludes(NoDstOption)->excludes(File)->excludes(json)->excludes(SaveOption)->excludes(ChartOption)->excludes(details)
            ->excludes(DashaLevelsOption)->excludes(table);
        File->excludes(NoDstOption);
        birth(Field::Dst)->excludes(NoDstOption);
        birth(Field::Zone)->excludes(birth(Field::Tz))->excludes(birth(Field::UtcOffset));
        birth(Field::Tz)->excludes(birth(Field::UtcOffset));
        birth(Field::UtcOffset)->excludes(birth(Field::Dst))->excludes(NoDstOption);
        for (const Field field : {Field::Lat, Field::Lon, Field::City, Field::State, Field::Country}) {
            birth(Field::Place)->excludes(birth(field));
        }
        for (CLI::Option* option : App.get_options()) {
            if (option != zones && option != App.get_help_ptr()) {
                zones->excludes(option);
            }
            if (option != zones && option != FindPlaceOption && option != json && option != App.get_help_ptr()) {
                FindPlaceOption->excludes(option);
            }
        }
    }

    [[nodiscard]] bool Given(const CLI::Option* option) const { return option->count() > 0; }
    [[nodiscard]] bool Given(Field field) const { return Given(BirthOptions[static_cast<std::size_t>(field)]); }
    // The birth field an option sets, if any (--dst included).
    [[nodiscard]] std::optional<Field> BirthField(const CLI::Option* option) const
    {
        const auto birth = std::find(BirthOptions.begin(), BirthOptions.end(), option);
        return birth == BirthOptions.end() ? std::nullopt : std::optional(static_cast<Field>(birth - BirthOptions.begin()));
    }
};

// DEG@YYYY-MM-DD: degrees from 0 to below 360, at a Gregorian date.
std::optional<UserAyanamsa> UserAyanamsaOf(std::string_view text)
{
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos || at == 0) {
        return std::nullopt;
    }
    UserAyanamsa user;
    const std::string_view degrees = text.substr(0, at);
    const auto parsed = std::from_chars(degrees.data(), degrees.data() + degrees.size(), user.Degrees, std::chars_format::fixed);
    const std::string_view date = text.substr(at + 1);
    const bool dashes = date.size() == 10 && date[4] == '-' && date[7] == '-';
    user.Year = DigitsNumber(date.substr(0, 4), 4).value_or(0);
    user.Month = dashes ? DigitsNumber(date.substr(5, 2), 2).value_or(0) : 0;
    user.Day = dashes ? DigitsNumber(date.substr(8, 2), 2).value_or(0) : 0;
    const std::chrono::year_month_day epoch {std::chrono::year(user.Year), std::chrono::month(static_cast<unsigned>(user.Month)),
        std::chrono::day(static_cast<unsigned>(user.Day))};
    if (parsed.ec != std::errc() || parsed.ptr != degrees.data() + degrees.size() || !(user.Degrees >= 0 && user.Degrees < 360)
        || user.Year == 0 || !epoch.ok()) {
        return std::nullopt;
    }
    return user;
}

// The conventions the options choose; the classic model keeps its own.
std::optional<std::string> ChooseConventions(const Options& o, Conventions& chosen)
{
    for (const CLI::Option* option : o.ConventionOptions) {
        if (o.Given(option) && chosen.Sky == SkyModel::Classic && !o.Panchanga) {
            return option->get_name() + " needs --sky precise: the classic model keeps its own ayanamsa, node and "
                   "dasha year";
        }
    }
    for (std::size_t i = 0; i < AyanamsaTable.size(); ++i) {
        if (AyanamsaTable[i].Option == o.Ayanamsa) {
            chosen.Ayanamsa = static_cast<AyanamsaSystem>(i);
        }
    }
    if (o.Given(o.AyanamsaValueOption)) {
        const std::optional<UserAyanamsa> user = UserAyanamsaOf(o.AyanamsaValue);
        if (!user) {
            return "--ayanamsa-value: " + Shown(o.AyanamsaValue)
                + " is not of the form DEG@YYYY-MM-DD, degrees from 0 to below 360 at a date, e.g. 23.85@2000-01-01";
        }
        chosen.Ayanamsa = AyanamsaSystem::User;
        chosen.User = *user;
    }
    chosen.Node = o.Node == "true" ? NodeKind::True : NodeKind::Mean;
    for (std::size_t i = 0; i < SunriseConventionTable.size(); ++i) {
        if (SunriseConventionTable[i].Option == o.Sunrise) {
            chosen.Sunrise = static_cast<SunriseConvention>(i);
        }
    }
    for (std::size_t i = 0; i < DashaYearOptions.size(); ++i) {
        if (DashaYearOptions[i] == o.DashaYear) {
            chosen.DashaYearDays = DashaYearChoices[i];
        }
    }
    return std::nullopt;
}

std::optional<RecordFormat> FormatNamed(std::string_view name)
{
    return name == "csv" ? std::optional(RecordFormat::Csv) : name == "jsonl" ? std::optional(RecordFormat::JsonLines) : std::nullopt;
}

// The format a file's name tells, in either case.
std::optional<RecordFormat> FormatOfName(std::string_view path)
{
    for (const auto& [extension, format] : {std::pair(".csv", RecordFormat::Csv), std::pair(".jsonl", RecordFormat::JsonLines)}) {
        if (path.size() >= std::string_view(extension).size()
            && EqualsIgnoringCase(path.substr(path.size() - std::string_view(extension).size()), extension)) {
            return format;
        }
    }
    return std::nullopt;
}

// Which command the options give, with what CLI11 does not check itself.
ParseResult Combined(const Options& o, Command command)
{
    const auto fail = [](std::string error) { return ParseResult {std::nullopt, std::move(error)}; };
    command.Kind = o.Given(o.FindPlaceOption) ? CommandKind::FindPlace
        : o.Zones                            ? CommandKind::Zones
        : o.Given(o.BatchOption)             ? CommandKind::Batch
        : o.Given(o.MatchOption)             ? CommandKind::Match
        : o.Panchanga                        ? CommandKind::Panchanga
                                             : CommandKind::Reading;
    if (command.Kind == CommandKind::Batch) {
        BatchOptions& batch = command.Batch;
        batch.Input = o.Batch;
        if (const auto format = o.Given(o.InputFormatOption) ? FormatNamed(o.InputFormat) : FormatOfName(batch.Input)) {
            batch.InputFormat = *format;
        } else if (batch.Input == "-") {
            return fail("--batch -: standard input needs --input-format csv or jsonl");
        } else {
            return fail("--batch: " + Shown(batch.Input) + " ends in neither .csv nor .jsonl; name its format with --input-format");
        }
    }
    if (o.Given(o.DashaLevelsOption) && (command.Kind != CommandKind::Reading || !(command.Json || command.Details))) {
        return fail("--dasha-levels needs --details or --json");
    }
    if (o.Given(o.FieldsOption)) {
        if (command.Kind == CommandKind::Panchanga) {
            return fail("--panchanga takes no --fields: its JSON is the whole day");
        }
        const bool json = command.Kind == CommandKind::Reading || command.Kind == CommandKind::Match;
        if (command.Kind != CommandKind::Batch && (!json || !command.Json)) {
            return fail("--fields needs --json or --batch");
        }
        for (std::size_t i = 0; i < OutputGroupCount; ++i) {
            if (command.Kind == CommandKind::Batch && command.Batch.OutputFormat == RecordFormat::Csv
                && command.Batch.Groups[i] && OutputGroupTable[i].CsvWidth == 0) {
                return fail("--fields: " + std::string(OutputGroupTable[i].Name) + " has no CSV columns");
            }
        }
    }
    if (command.Kind == CommandKind::Match) {
        if (o.Match.size() != 2) {
            return fail("--match needs two readings, the boy's and the girl's");
        }
        command.MatchSides = {o.Match[0], o.Match[1]};
    }
    if (command.Kind == CommandKind::Panchanga) {
        if (!o.Given(Field::Date) || !o.Given(Field::Place)) {
            return fail("--panchanga needs --date YYYY-MM-DD and --place TEXT");
        }
        for (const Field field : {Field::Name, Field::Time, Field::Zone, Field::Dst}) {
            if (o.Given(field)) {
                return fail("--panchanga takes a date and a place, not " + OptionName(field));
            }
        }
        // The zone's offset at noon names the day; each time shown takes the
        // offset in force then.
        command.Request.Entries.Name = "Panchanga";
        command.Request.Entries.Hour = 12;
        return {std::move(command), {}};
    }
    if (command.Kind != CommandKind::Reading) {
        return {std::move(command), {}};
    }
    if (o.Given(o.File)) {
        command.ReadingPath = o.ReadingPath;
        return {std::move(command), {}};
    }
    if (std::none_of(o.BirthOptions.begin(), o.BirthOptions.end(), [](const CLI::Option* b) { return b && b->count() > 0; })
        && !o.NoDst) {
        return fail("no reading given: name a reading file or give the birth data options");
    }
    // Every option the birth needs and does not have, named at once (the
    // lists always hold a line, so a reading without them would silently be
    // of 1 January 1901; the boxes' own checks would name one at a time).
    std::array<bool, FieldCount> given {};
    for (std::size_t i = 0; i < FieldCount; ++i) {
        given[i] = o.BirthOptions[i] != nullptr && o.Given(o.BirthOptions[i]);
    }
    std::vector<std::string> missing;
    bool zoneMissing = false;
    for (std::optional<Field> field = MissingField(given); field; field = MissingField(given)) {
        given[static_cast<std::size_t>(*field)] = true;
        missing.push_back(OptionName(*field) + " " + std::string(Fields[static_cast<std::size_t>(*field)].Syntax));
        zoneMissing = zoneMissing || *field == Field::Zone;
    }
    if (!missing.empty()) {
        std::string names;
        for (std::size_t i = 0; i < missing.size(); ++i) {
            names += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
        }
        return fail(names + (missing.size() == 1 ? " is missing" : " are missing") + (zoneMissing ? " (see --zones)" : ""));
    }
    return {std::move(command), {}};
}

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
    err << ProgramName << ": " << savedFiles << (savedFiles.empty() ? "" : ", but ") << "the output could not be written\n";
    return ExitRefused;
}

// "22:34N", "088:22E": a coordinate as --lat and --lon take it, to the minute.
std::string CoordinateText(double degrees, std::size_t width, char positive, char negative)
{
    const long long minutes = std::llround(std::fabs(degrees) * 60);
    const std::string whole = DecimalText(minutes / 60);
    return std::string(width - std::min(width, whole.size()), '0') + whole + (minutes % 60 < 10 ? ":0" : ":")
        + DecimalText(minutes % 60) + (degrees < 0 ? negative : positive);
}

int RunFindPlace(const Command& command, std::ostream& out, std::ostream& err)
{
    const atlas::AtlasLoad load = atlas::LoadAtlas();
    const std::vector<atlas::Place> found = load.Loaded ? load.Loaded->Find(command.FindText) : std::vector<atlas::Place> {};
    if (found.empty()) {
        err << ProgramName << ": " << (load.Loaded ? load.Loaded->Resolve(command.FindText).Error : load.Error) << "\n";
        return ExitRefused;
    }
    if (command.Json) {
        out << PlacesJson(found);
    }
    for (const atlas::Place& place : command.Json ? std::vector<atlas::Place> {} : found) {
        out << place.Name << '\t' << place.State << '\t' << place.Country << '\t'
            << CoordinateText(place.LatitudeDeg, 2, 'N', 'S') << '\t' << CoordinateText(place.LongitudeDeg, 3, 'E', 'W')
            << '\t' << place.TimeZone << '\t' << place.Population << '\n';
    }
    return OutputStatus(out, err, {});
}

// A reading file opened, or nothing with the message said.
std::optional<readings::OpenResult> OpenedReading(const std::string& path, std::ostream& err)
{
    readings::OpenResult opened = readings::HasReadingExtension(path)
        ? readings::OpenReadingFile(path)
        : readings::OpenResult {std::nullopt, "the name does not end in \"aha\"", std::nullopt, std::nullopt};
    if (!opened.Reading) {
        err << readings::CheckTheFileMessage << "\n" << ProgramName << ": " << PrintableText(path) << ": " << opened.Reason << "\n";
        return std::nullopt;
    }
    return opened;
}

int RunReading(const Command& command, std::ostream& out, std::ostream& err)
{
    BirthRequest request = command.Request;
    BirthData& entries = request.Entries;
    Conventions chosen = command.Chosen;
    if (command.ReadingPath) {
        const std::optional<readings::OpenResult> opened = OpenedReading(*command.ReadingPath, err);
        if (!opened) {
            return ExitRefused;
        }
        entries = *opened->Reading;
        // The file's offset and conventions, unless the options say otherwise.
        if (!request.ZoneGiven && request.TimeZone.empty() && !request.UtcOffsetMinutes && !request.LocalMeanTime
            && request.Place.empty()) {
            request.Offset = opened->Offset;
        }
        if (opened->Chosen && chosen == Conventions {}) {
            chosen = *opened->Chosen;
        }
    }
    const AtlasOnce places;
    atlas::ZoneCache zones;
    const ResolvedBirth checked = ResolveBirth(request, places, zones, chosen);
    if (checked.Error) {
        err << *checked.Error << "\n";
        return ExitRefused;
    }
    // What the output shows is computed, nothing more: what the JSON's
    // groups need, the details for --details and the chart's retrograde
    // marks, the differences from the precise sky for the chart.
    const fullreading::ReadingParts json = command.Json ? PartsFor(command.Groups) : fullreading::PositionsOnly;
    const fullreading::ReadingParts parts {json.Details || command.Details || command.ChartPath,
        json.Dasha || command.Details, json.SkyDifferences || command.ChartPath, json.Panchanga || command.Details,
        json.Ashtakavarga || command.Details, command.AshtakavargaTable, json.Vargas || command.Details,
        json.Houses || command.ChartBhava || command.Details,
        command.Houses};
    const fullreading::FullReadingResult result = fullreading::CalculateFullReading(checked.Value, chosen, parts,
        birth::BirthClock(checked.Value, zones));
    if (result.Failure) {
        err << result.Failure->Message << "\n";
        return ExitRefused;
    }
    // A chart that cannot be drawn is refused before anything is written.
    chart::ChartResult drawn = !command.ChartPath ? chart::ChartResult {}
        : command.ChartBhava ? fullreading::BhavaChartOf(checked.Value, result.Value, *result.Value.Houses)
                             : fullreading::ChartOf(checked.Value, result.Value, command.ChartVarga);
    if (!drawn.Refusal.empty()) {
        err << drawn.Refusal << "\n";
        return ExitRefused;
    }
    if (command.SavePath) {
        const readings::SaveResult saved = readings::SaveReadingFile(*command.SavePath, checked.Value, chosen);
        if (!saved.Saved) {
            err << ProgramName << ": " << saved.Error << "\n";
            return ExitRefused;
        }
    }
    if (command.ChartPath) {
        const std::string svg = chart::ChartSvg(drawn.Data, command.ChartStyle);
        const bool png = picture::PictureKindOf(*command.ChartPath) == picture::PictureKind::Png;
        const picture::PngResult rendered = png ? picture::PngOfSvg(svg, ChartPngScale) : picture::PngResult {};
        const auto failure = png && rendered.Bytes.empty() ? std::optional<std::string>(rendered.Error)
                                                           : chart::SaveChartFile(*command.ChartPath, png ? rendered.Bytes : svg);
        if (failure) {
            err << ProgramName << ": " << *failure << "\n";
            if (command.SavePath) {
                err << ProgramName << ": " << SavedFiles(command.SavePath, std::nullopt) << " all the same\n";
            }
            return ExitRefused;
        }
    }
    if (command.Json) {
        out << ReadingJson({result.Value, checked.Value, checked.Value.TimeZone, command.DashaLevels}, command.Groups);
    } else {
        out << ReadingText(result.Value)
            << (command.Details ? DetailsSection(result.Value, vedic::JulianDayOf(std::chrono::system_clock::now()), command.DashaLevels)
                                : "");
    }
    return OutputStatus(out, err, SavedFiles(command.SavePath, command.ChartPath));
}

// The boy's and the girl's readings, each from a reading file or a birth
// given as a JSON object, then their match as text or JSON.
int RunMatch(const Command& command, std::ostream& out, std::ostream& err)
{
    const AtlasOnce places;
    atlas::ZoneCache zones;
    const fullreading::ReadingParts parts = command.Json ? PartsFor(command.Groups) : fullreading::PositionsOnly;
    std::array<ResolvedBirth, 2> births;
    std::array<fullreading::FullReadingResult, 2> readings;
    for (std::size_t side = 0; side < 2; ++side) {
        const std::string& given = command.MatchSides[side];
        const std::string who = side == 0 ? "the boy's birth" : "the girl's birth";
        BirthRequest request;
        if (given.find_first_not_of(" \t") != std::string::npos && given[given.find_first_not_of(" \t")] == '{') {
            if (const ValueError refused = BirthOfRecord(given, request)) {
                err << ProgramName << ": --match: " << who << ": " << PrintableText(*refused) << "\n";
                return ExitRefused;
            }
        } else {
            const std::optional<readings::OpenResult> opened = OpenedReading(given, err);
            if (!opened) {
                return ExitRefused;
            }
            request.Entries = *opened->Reading;
            request.Offset = opened->Offset;
        }
        births[side] = ResolveBirth(request, places, zones, command.Chosen);
        if (births[side].Error) {
            err << ProgramName << ": " << who << ": " << *births[side].Error << "\n";
            return ExitRefused;
        }
        readings[side] = fullreading::CalculateFullReading(births[side].Value, command.Chosen, parts);
        if (readings[side].Failure) {
            err << ProgramName << ": " << who << ": " << readings[side].Failure->Message << "\n";
            return ExitRefused;
        }
    }
    const std::optional<matching::Match> match = matching::MatchReadings(readings[0].Value, readings[1].Value);
    if (!match) {
        err << ProgramName << ": " << NoPositionsFailure.Message << "\n";
        return ExitRefused;
    }
    if (command.Json) {
        out << MatchJson({readings[0].Value, births[0].Value, births[0].Value.TimeZone},
            {readings[1].Value, births[1].Value, births[1].Value.TimeZone}, command.Groups, *match);
    } else {
        out << matching::MatchText(*match, births[0].Value.Name, births[1].Value.Name);
        if (command.Chosen.Sky == SkyModel::Precise) {
            out << fullreading::SkyCaption(command.Chosen) << "\n";
        }
    }
    return OutputStatus(out, err, {});
}

int RunPanchanga(const Command& command, std::ostream& out, std::ostream& err)
{
    const AtlasOnce places;
    atlas::ZoneCache zones;
    const ResolvedBirth checked = ResolveBirth(command.Request, places, zones, command.Chosen);
    if (checked.Error) {
        err << *checked.Error << "\n";
        return ExitRefused;
    }
    const Birth& day = checked.Value;
    Conventions precise = command.Chosen;
    precise.Sky = SkyModel::Precise;
    const std::optional<panchanga::DayPanchanga> found = panchanga::PanchangaOfDay(day.Local.Year, day.Local.Month,
        day.Local.Day, {day.LatitudeDeg, day.LongitudeDeg}, precise, birth::BirthClock(day, zones));
    if (!found) {
        err << ProgramName << ": the ephemeris gives no panchanga for this day\n";
        return ExitRefused;
    }
    std::string place = day.City;
    for (const std::string* part : {&day.State, &day.Country}) {
        place += part->empty() ? "" : ", " + *part;
    }
    out << (command.Json ? DayPanchangaJson(*found, place, AyanamsaText(precise))
                         : panchanga::DayPanchangaText(*found, place, AyanamsaText(precise)));
    return OutputStatus(out, err, {});
}

} // namespace

ParseResult ParseCommandLine(std::span<const std::string_view> args)
{
    Options o;
    // CLI11 takes the arguments from the back. "--name=" is an empty value,
    // which CLI11 would read as a value still to come.
    std::vector<std::string> lastFirst;
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        if (it.base() <= optionsEnd && it->size() > 2 && it->starts_with("--") && it->ends_with('=')) {
            lastFirst.emplace_back();
            lastFirst.emplace_back(it->substr(0, it->size() - 1));
        } else {
            lastFirst.emplace_back(*it);
        }
    }
    try {
        o.App.parse(lastFirst);
    } catch (const CLI::CallForHelp&) {
        return {Command {}, {}};
    } catch (const CLI::Error& e) {
        return {std::nullopt, e.what()};
    }
    Command command;
    command.Json = o.Json;
    command.Details = o.Details;
    command.DashaLevels = o.DashaLevels.empty() ? 1 : o.DashaLevels[0] - '0';
    command.AshtakavargaTable = ashtakavarga::BeneficTableNamed(o.AshtakavargaTable).value_or(ashtakavarga::BeneficTable::Parashari);
    command.Request.Entries.DaylightSaving = o.Dst;
    command.Request.Dst = o.Dst ? std::optional<bool>(true) : o.NoDst ? std::optional<bool>(false) : std::nullopt;
    for (const CLI::Option* option : o.App.parse_order()) {
        const auto birth = o.BirthField(option);
        ValueError error;
        if (option->count() > (option == o.MatchOption ? 2U : 1U)) {
            error = option->get_name() + " is given more than once"; // CLI11 counts a repeated switch
        } else if (birth && *birth != Field::Dst) {
            const std::string& value = o.Birth[static_cast<std::size_t>(*birth)];
            // As a batch record's fields are checked: the JSON output holds them.
            const bool text = *birth == Field::Name || *birth == Field::City || *birth == Field::State
                || *birth == Field::Country;
            if (!IsUtf8(value)) {
                error = option->get_name() + ": " + Shown(value) + " is not valid UTF-8";
            } else if (const auto refused = text ? FirstNameCharacterRefused(value) : std::nullopt) {
                // As the window's boxes refuse it: a reading saved from here
                // must open there. (A batch record never becomes a reading
                // file, and its CSV or JSON output quotes any text.)
                std::string character;
                AppendUtf8(character, *refused);
                error = option->get_name() + ": " + Shown(value) + " holds " + Shown(character)
                    + "; as in the window, a name or place takes only the letters A to Z, the blank and ' - ., "
                      "which a reading file can hold";
            } else if (value.empty() && (*birth == Field::Place || *birth == Field::Tz || *birth == Field::UtcOffset)) {
                // Empty, it would stand for nothing and leave the fields it replaces unset.
                error = option->get_name() + ": the value is empty";
            } else {
                error = SetField(*birth, option->get_name(), value, command.Request, false);
            }
        }
        if (error) {
            return {std::nullopt, std::move(*error)};
        }
    }
    command.Chosen.Sky = o.Sky == "precise" ? SkyModel::Precise : SkyModel::Classic;
    if (auto error = ChooseConventions(o, command.Chosen)) {
        return {std::nullopt, std::move(*error)};
    }
    command.Batch.Chosen = command.Chosen;
    command.SavePath = o.Given(o.SaveOption) ? std::optional(o.Save) : std::nullopt;
    command.ChartPath = o.Given(o.ChartOption) ? std::optional(o.Chart) : std::nullopt;
    command.ChartStyle = chart::ChartStyleNamed(o.ChartStyle).value_or(chart::ChartStyle::South);
    command.ChartBhava = o.ChartVarga == "bhava";
    command.ChartVarga = command.ChartBhava ? vedic::RasiVarga
                                            : DigitsNumber(std::string_view(o.ChartVarga).substr(1), 2).value_or(vedic::RasiVarga);
    command.Houses = houses::HouseSystemNamed(o.Houses).value_or(houses::HouseSystem::WholeSign);
    command.Batch.Houses = command.Houses;
    command.Batch.OutputPath = o.Given(o.OutputOption) && o.Output != "-" ? std::optional(o.Output) : std::nullopt;
    command.Batch.OutputFormat = FormatNamed(o.OutputFormat).value_or(RecordFormat::JsonLines);
    command.Batch.Jobs = o.Jobs;
    command.Batch.Pairs = o.Pairs;
    if (o.Given(o.FieldsOption)) {
        if (auto error = OutputGroupsNamed(o.Groups, command.Groups)) {
            return {std::nullopt, "--fields: " + std::move(*error)};
        }
        command.Batch.Groups = command.Groups;
    }
    command.FindText = o.FindPlace;
    return Combined(o, std::move(command));
}

int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.Parsed) {
        err << ProgramName << ": " << PrintableText(parsed.Error) << "\n"
            << "Try '" << ProgramName << " --help' for more information.\n";
        return ExitUsage;
    }
    const Command& command = *parsed.Parsed;
    switch (command.Kind) {
    case CommandKind::Help: out << Options().App.help(); break;
    case CommandKind::Zones:
        for (std::size_t zone = 0; zone < TimeZoneTable.size(); ++zone) {
            out << (zone < 10 ? " " : "") << zone << "  " << TimeZoneTable[zone].Name << "\n";
        }
        break;
    case CommandKind::FindPlace: return RunFindPlace(command, out, err);
    case CommandKind::Batch: return RunBatch(command.Batch, out, err, errIsTerminal);
    case CommandKind::Reading: return RunReading(command, out, err);
    case CommandKind::Match: return RunMatch(command, out, err);
    case CommandKind::Panchanga: return RunPanchanga(command, out, err);
    }
    return OutputStatus(out, err, {});
}

} // namespace halvaro::cli
