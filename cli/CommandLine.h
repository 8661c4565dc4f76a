#pragma once

#include "calculation/Reading.h"
#include "chart/ChartSvg.h"
#include "core/BirthData.h"
#include "readings/ReadingFile.h"

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace halvaro::cli {

inline constexpr std::string_view ProgramName = "halvaro-cli";

// Exit statuses: a refused input or file, and a command line that could not
// be understood, are told apart for scripts.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;

enum class CommandKind { Help, Zones, Reading };

// One understood command line. For a reading, either ReadingPath names a
// saved file or Entries holds what the birth flags gave.
struct Command {
    CommandKind Kind = CommandKind::Help;
    std::optional<std::string> ReadingPath;
    BirthData Entries;
    bool Json = false;
    std::optional<std::string> SavePath;
    SkyModel Sky = SkyModel::Classic;
    std::optional<std::string> ChartPath; // --chart FILE.svg
    chart::ChartStyle ChartStyle = chart::ChartStyle::South;
};

struct ParseResult {
    std::optional<Command> Parsed;
    std::string Error; // names the option or value that was not understood
};

// The arguments after the program name.
ParseResult ParseCommandLine(std::span<const std::string_view> args);

// Runs a command line as the program does; returns the exit status.
int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

std::string UsageText();

// The result screen as text: per graha the name and sign lines, then the
// position and planets lines, the right column aligned.
std::string ReadingText(const modVedicGrahaDrishti::ResultTexts& results);

// The same reading as one JSON object, with the engine's texts and ayanamsa,
// then the Lagna's and Ketu's short position texts (the Lagna null when the
// reading has none), and last the name of its sky model.
std::string ReadingJson(const Reading& reading);

// The line the text output adds for a reading of the precise sky; empty for
// the classic model, whose output stays as it always was.
std::string SkyLine(const Reading& reading);

// A JSON string literal, quotes included; UTF-8 is kept as it is.
std::string JsonString(std::string_view text);

} // namespace halvaro::cli
