// A fairer floor for the window's start time: Halvaro's own form, built
// from the same frmMain.ui, shown with no program logic (no lists filled,
// no fonts adjusted, no checks, no calculation core). What it costs to
// start is Qt's part of the window; Halvaro's own work is the rest.
#include "ui_frmMain.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    Ui::frmMain form;
    form.setupUi(&window);
    window.show();
    return QApplication::exec();
}
