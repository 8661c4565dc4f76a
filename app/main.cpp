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
    fonts.Join();
    QtUserPrompts prompts;
    frmMain window(prompts);
    window.show();
    return QApplication::exec();
}
