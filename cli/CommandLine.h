// cli/ holds `halvaro-cli`: options, single readings with their details, places and zones from the atlas,
// batch readings, and the match of two readings, alone or in a batch of pairs.
#pragma once

#include "chart/ChartSvg.h"
#include "core/Birth.h"
#include "cli/BirthFields.h"
#include "cli/ReadingOutput.h"
#include "core/BirthData.h"
#include "core/Conventions.h"
#include "vedic/Varga.h"

#include <array>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace halvaro::cli {

inline constexpr std::string_view ProgramName = "halvaro-cli";

// Exit statuses: a refused input or file, and a command line that could not
// be understood, are told apart for scripts. A batch uses the same numbers:
// 1 when some records were refused, 2 when its input or output is unusable.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;

enum class CommandKind { Help, Zones, FindPlace, Reading, Match, Batch, Panchanga };

enum class RecordFormat { JsonLines, Csv };

inline constexpr unsigned MaxBatchJobs = 256;

// A batch: where the births come from and where the readings go.
struct BatchOptions {
    std::string Input; // a file, or "-" for standard input
    RecordFormat InputFormat = RecordFormat::JsonLines;
    std::optional<std::string> OutputPath; // standard output without it
    RecordFormat OutputFormat = RecordFormat::JsonLines;
    unsigned Jobs = 0; // threads computing readings; 0: one per core
    Conventions Chosen;
    OutputGroups Groups = BatchOutputGroups; // --fields
    bool Pairs = false; // --pairs: each record a boy's and a girl's birth, matched
    houses::HouseSystem Houses = houses::HouseSystem::WholeSign; // --houses
};

// One understood command line. For a reading, either ReadingPath names a
// saved file or Request holds what the birth options gave.
struct Command {
    CommandKind Kind = CommandKind::Help;
    std::optional<std::string> ReadingPath;
    BirthRequest Request;
    std::string FindText; // --find-place
    bool Json = false;
    OutputGroups Groups = AllOutputGroups; // of the JSON object: --fields
    std::optional<std::string> SavePath;
    Conventions Chosen;
    bool Details = false;                  // --details
    int DashaLevels = 1;                   // --dasha-levels 1|2|3
    ashtakavarga::BeneficTable AshtakavargaTable = ashtakavarga::BeneficTable::Parashari; // --ashtakavarga-table
    std::optional<std::string> ChartPath; // --chart FILE.svg
    chart::ChartStyle ChartStyle = chart::ChartStyle::South;
    int ChartVarga = vedic::RasiVarga;    // --chart-varga d1|d2|...|d60: the D-number
    bool ChartBhava = false;               // --chart-varga bhava: the bhava chalit chart in Houses
    houses::HouseSystem Houses = houses::HouseSystem::WholeSign; // --houses
    BatchOptions Batch;
    // --match: the boy's and the girl's reading, each a reading file or a
    // birth as one JSON object with a batch record's fields.
    std::array<std::string, 2> MatchSides;
};

struct ParseResult {
    std::optional<Command> Parsed;
    std::string Error; // names the option or value that was not understood
};

// The arguments after the program name.
ParseResult ParseCommandLine(std::span<const std::string_view> args);

// Runs a command line as the program does; returns the exit status. A batch
// from "-" reads standard input; it shows its progress on `err` only when
// told that `err` is a terminal.
int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
    bool errIsTerminal = false);

} // namespace halvaro::cli
