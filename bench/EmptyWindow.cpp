// The floor for the window's start time: an empty Qt main window of the same
// fixed client size as Halvaro's, with nothing to load.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty main window"));
    window.setFixedSize(604, 378);
    window.show();
    return QApplication::exec();
}
