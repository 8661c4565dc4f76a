#include "app/CommandLine.h"

#include "app/frmMain.h"

namespace halvaro::app {

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-'))) {
            if (argument != QStringLiteral("-h") && argument != QStringLiteral("--help")) {
                return {CommandLine::Action::RefuseArguments, std::nullopt};
            }
            line.Do = CommandLine::Action::PrintHelp;
        } else if (line.ReadingPath) {
            return {CommandLine::Action::RefuseArguments, std::nullopt};
        } else {
            line.ReadingPath = argument;
        }
    }
    if (line.Do == CommandLine::Action::PrintHelp) {
        line.ReadingPath.reset();
    }
    return line;
}

void StartWindow(frmMain& window, const CommandLine& commandLine)
{
    window.show();
    // Before the event loop runs: the first frame is already the result
    // screen, and a refused file's message opens over the shown window.
    if (commandLine.ReadingPath) {
        window.OpenSavedReading(*commandLine.ReadingPath);
    }
}

} // namespace halvaro::app
