#include "WindowDriver.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <cmath>

using namespace halvaro::app;
using namespace halvaro::app::testing;

namespace {

// Twips to pixels at 96 dots per inch, to the nearest pixel.
int Px(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QWidget* Control(const frmMain& window, const QString& name)
{
    return window.findChild<QWidget*>(name);
}

// A menu's entries as "objectName text", separators as "-".
QStringList Entries(const QList<QAction*>& actions)
{
    QStringList entries;
    for (const QAction* action : actions) {
        if (action->isSeparator()) {
            entries << QStringLiteral("-");
        } else {
            const QObject* named = action->menu() != nullptr ? static_cast<QObject*>(action->menu()) : action;
            entries << named->objectName() + QLatin1Char(' ') + action->text();
        }
    }
    return entries;
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void fixedClientArea();
    void captions_data();
    void captions();
    void textBoxLimitsAndPickOnlyLists();
    void menus_data();
    void menus();
};

void WindowLayoutTest::fixedClientArea()
{
    WindowUnderTest w;
    QVERIFY(ShowAndActivate(w));
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Halvaro v" HALVARO_VERSION));
    QCOMPARE(w.window.centralWidget()->size(), QSize(Px(9060), Px(5670)));
    // Fixed: the window cannot be resized.
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
    QCOMPARE(w.window.size(), w.window.minimumSize());
}

void WindowLayoutTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QList<std::pair<const char*, const char*>> rows {
        {"Frame1", "Personal Details"},
        {"Frame2", "Halvaro Results"},
        {"lblLabel_11",
            "Halvaro calculates the planetary aspects according to Vedic Astrology. Graha Drishti implies planets that "
            "are aspected by the specific planet and the planets that aspect this planet. The aspects of the Grahas or "
            "planets are good or bad depending on their inherent nature. These aspects show the existence of a desire."},
        {"cmdOpen", "&Open Previously Saved Reading"},
        {"lblLabel_0", "Name"},
        {"lblLabel_1", "Date of Birth"},
        {"lblLabel_2", "Time of Birth"},
        {"lblLabel_3", "Latitude"},
        {"lblLabel_4", "Longitude"},
        {"lblLabel_5", "DEG/MIN"},
        {"lblLabel_6", "DEG/MIN"},
        {"lblLabel_7", "City"},
        {"lblLabel_8", "State"},
        {"lblLabel_9", "Country"},
        {"lblLabel_10", "Time Zone"},
        {"Label16", "HH/MM"},
        {"optLat_0", "North"},
        {"optLat_1", "South"},
        {"optLong_0", "East"},
        {"optLong_1", "West"},
        {"chkDST", "Daylight Saving Time"},
        {"Command1", "Click here to find Latitude && Longitude"},
        {"cmdCalculate", "&Get My Halvaro Reading"},
        {"cmdChart", "Rasi &Chart"},
        {"cmdSave", "&Save"},
        {"cmdBack", "&Back"},
        {"lblPlanets_0", "Mercury"},
        {"lblAspects_Sign_0", "Result"},
        {"lblPlanets_Position_0", "Planets Position"},
        {"lblAspects_Planets_0", "Grahas"},
    };
    for (const auto& [name, caption] : rows) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
    }
}

void WindowLayoutTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const QObject* control = Control(window, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QString shown = control->property("text").isValid() ? control->property("text").toString()
                                                        : control->property("title").toString();
    // A button does not wrap its caption; the narrow one breaks it into lines.
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QCOMPARE(shown, caption);
}

void WindowLayoutTest::textBoxLimitsAndPickOnlyLists()
{
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const Ui::frmMain& f = window.Form();
    for (const QLineEdit* box : {f.txtLatDeg, f.txtLatMin, f.txtLonDeg, f.txtLonMin}) {
        QCOMPARE(box->maxLength(), 3);
    }
    for (const QLineEdit* box : {f.txtName, f.txtCity, f.txtState, f.txtCountry}) {
        QCOMPARE(box->maxLength(), QLineEdit().maxLength());
    }
    for (const QComboBox* list : {f.cboDate, f.cboMonth, f.cboYear, f.cboHour, f.cboMinute, f.cboTimeZone}) {
        QVERIFY2(!list->isEditable(), qPrintable(list->objectName()));
    }
}

void WindowLayoutTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("menu bar") << QStringLiteral("menubar")
                              << QStringList {"mnuFile &File", "mnuHelp &Help", "mnuDonate Donate",
                                     "mnuMakeMoney &Make Money Online"};
    QTest::newRow("File") << QStringLiteral("mnuFile")
                          << QStringList {"mnuCalculate Get My &Rasi Chart", "mnuChart Show Rasi &Chart", "mnuPreciseSky &Precise Sky Positions", "mnuConventions Co&nventions...", "-",
                                 "mnuExit &Exit"};
    QTest::newRow("Help") << QStringLiteral("mnuHelp")
                          << QStringList {"mnuOnline &Online Help", "mnuVisit &Visit Us Online", "-",
                                 "mnuUpdate Check for Software &Update", "-", "mnuAbout &About Software"};
}

void WindowLayoutTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const QWidget* holder = window.findChild<QWidget*>(menu);
    QVERIFY2(holder != nullptr, qPrintable(menu));
    QCOMPARE(Entries(holder->actions()), entries);
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
