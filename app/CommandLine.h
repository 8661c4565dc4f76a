#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace halvaro::app {

class frmMain;

inline constexpr char UsageLine[] = "usage: halvaro [READING.aha]";
// The line --help prints after the usage line.
inline constexpr char HelpLine[] =
    "Opens the Halvaro window; with a reading file, opens that reading on its result screen.";
// The exit status for arguments the program does not take.
inline constexpr int UsageExitStatus = 2;

// What the program's arguments ask for.
struct CommandLine {
    enum class Action { ShowWindow, PrintHelp, RefuseArguments };
    Action Do = Action::ShowWindow;
    std::optional<QString> ReadingPath; // with ShowWindow: the reading to open
};

// arguments: the program's name, then the arguments Qt left (it takes its own,
// such as -platform, first). One file at most; "--" ends the options, so a
// file whose name starts with "-" can still be named.
CommandLine ParseCommandLine(const QStringList& arguments);

// Shows the window and opens the reading the command line names, if any.
void StartWindow(frmMain& window, const CommandLine& commandLine);

} // namespace halvaro::app
