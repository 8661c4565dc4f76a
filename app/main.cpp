#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/FontConfigWarmup.h"
#include "app/QtUserPrompts.h"
#include "app/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    using namespace halvaro::app;
    if (!DisplayNamed(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("QT_QPA_PLATFORM"))) {
        std::fprintf(stderr, "%s\n", NoDisplayMessage);
        return EXIT_FAILURE;
    }
    FontConfigWarmup fonts;
    QApplication application(argc, argv);
    const CommandLine commandLine = ParseCommandLine(QApplication::arguments());
    if (commandLine.Do == CommandLine::Action::RefuseArguments) {
        std::fprintf(stderr, "%s\n", UsageLine);
        return UsageExitStatus;
    }
    if (commandLine.Do == CommandLine::Action::PrintHelp) {
        std::printf("%s\n%s\n", UsageLine, HelpLine);
        return EXIT_SUCCESS;
    }
    fonts.Join();
    QtUserPrompts prompts;
    frmMain window(prompts);
    StartWindow(window, commandLine);
    return QApplication::exec();
}
