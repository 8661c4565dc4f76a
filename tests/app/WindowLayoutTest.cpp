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
    void geometry_data();
    void geometry();
    void resultLabelPositions_data();
    void resultLabelPositions();
    void fixedClientArea();
    void fonts_data();
    void fonts();
    void captions_data();
    void captions();
    void textBoxLimitsAndPickOnlyLists();
    void menus_data();
    void menus();
};

// Positions and sizes in twips from the window's layout tables; the option
// buttons are relative to their frames.
void WindowLayoutTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("twips");
    const QList<std::pair<const char*, QList<int>>> rows {
        {"Label8", {2030, 0, 5000, 400}},
        {"Frame1", {23, 400, 9015, 4600}},
        {"Frame2", {23, 400, 9015, 4600}},
        {"fraFullBrand", {30, 5050, 9015, 600}},
        {"lblLabel_11", {683, 360, 7695, 1035}},
        {"cmdOpen", {120, 1560, 4000, 735}},
        {"lblLabel_3", {4680, 1710, 675, 195}},
        {"txtLatDeg", {5820, 1665, 555, 300}},
        {"Frame3", {6480, 1560, 850, 500}},
        {"optLat_0", {30, 30, 800, 200}},
        {"optLat_1", {30, 250, 800, 200}},
        {"txtLatMin", {7440, 1665, 525, 300}},
        {"lblLabel_5", {8085, 1710, 780, 195}},
        {"lblLabel_4", {4680, 2370, 825, 195}},
        {"txtLonDeg", {5820, 2310, 555, 300}},
        {"Frame4", {6480, 2205, 850, 500}},
        {"optLong_0", {30, 30, 800, 200}},
        {"optLong_1", {30, 250, 800, 200}},
        {"txtLonMin", {7440, 2310, 525, 300}},
        {"lblLabel_6", {8085, 2370, 780, 195}},
        {"lblLabel_0", {120, 2550, 495, 195}},
        {"txtName", {1260, 2490, 2800, 300}},
        {"lblLabel_7", {4680, 2850, 345, 195}},
        {"txtCity", {5820, 2820, 1845, 285}},
        {"Command1", {7770, 2835, 1095, 945}},
        {"lblLabel_1", {120, 2985, 1095, 195}},
        {"cboMonth", {1260, 2925, 1455, 315}},
        {"cboDate", {2760, 2925, 615, 315}},
        {"cboYear", {3420, 2925, 885, 315}},
        {"lblLabel_8", {4680, 3180, 450, 195}},
        {"txtState", {5820, 3165, 1845, 285}},
        {"lblLabel_2", {120, 3435, 1110, 195}},
        {"cboHour", {1260, 3375, 615, 315}},
        {"cboMinute", {1905, 3375, 570, 315}},
        {"Label16", {2685, 3450, 585, 195}},
        {"lblLabel_9", {4680, 3540, 690, 195}},
        {"txtCountry", {5820, 3510, 1845, 285}},
        {"lblLabel_10", {120, 3840, 915, 195}},
        {"chkDST", {2040, 3840, 2415, 200}},
        {"cboTimeZone", {120, 4170, 4335, 315}},
        {"cmdCalculate", {4680, 3960, 4185, 525}},
        {"lblSky", {120, 4200, 5190, 195}},
        {"cmdChart", {5430, 4100, 1335, 400}},
        {"cmdSave", {6840, 4100, 1000, 400}},
        {"cmdBack", {7920, 4100, 1000, 400}},
    };
    for (const auto& [name, twips] : rows) {
        QTest::newRow(name) << QString::fromLatin1(name) << twips;
    }
}

void WindowLayoutTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QList<int>, twips);
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const QWidget* control = Control(window, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->geometry(), QRect(Px(twips[0]), Px(twips[1]), Px(twips[2]), Px(twips[3])));
}

// Rows 480 twips apart, two lines 180 apart: names at 120, aspects at 2040.
void WindowLayoutTest::resultLabelPositions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("twips");
    for (int i = 0; i < 8; ++i) {
        const QList<std::pair<QString, QPoint>> row {
            {QStringLiteral("lblPlanets_%1").arg(i), {120, 300 + 480 * i}},
            {QStringLiteral("lblAspects_Sign_%1").arg(i), {2040, 300 + 480 * i}},
            {QStringLiteral("lblPlanets_Position_%1").arg(i), {120, 480 + 480 * i}},
            {QStringLiteral("lblAspects_Planets_%1").arg(i), {2040, 480 + 480 * i}},
        };
        for (const auto& [name, point] : row) {
            QTest::newRow(qPrintable(name)) << name << point;
        }
    }
}

void WindowLayoutTest::resultLabelPositions()
{
    QFETCH(QString, name);
    QFETCH(QPoint, twips);
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const QWidget* label = Control(window, name);
    QVERIFY2(label != nullptr, qPrintable(name));
    QCOMPARE(label->pos(), QPoint(Px(twips.x()), Px(twips.y())));
}

void WindowLayoutTest::fixedClientArea()
{
    WindowUnderTest w;
    QVERIFY(ShowAndActivate(w));
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Halvaro v1.15"));
    QCOMPARE(w.window.centralWidget()->size(), QSize(Px(9060), Px(5670)));
    // Fixed: the window cannot be resized.
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
    QCOMPARE(w.window.size(), w.window.minimumSize());
}

// Verdana 8.25 pt; bold frame captions, buttons, chkDST, lblLabel(11) and
// lblPlanets; cmdCalculate 9 pt and cmdOpen 9.75 pt.
void WindowLayoutTest::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<double>("points");
    const QList<std::tuple<const char*, bool, double>> rows {
        {"frmMain", false, 8.25},
        {"Frame1", true, 8.25},
        {"Frame2", true, 8.25},
        {"cmdCalculate", true, 9.0},
        {"cmdOpen", true, 9.75},
        {"cmdBack", true, 8.25},
        {"cmdSave", true, 8.25},
        {"chkDST", true, 8.25},
        {"lblLabel_11", true, 8.25},
        {"lblPlanets_0", true, 8.25},
        {"lblPlanets_7", true, 8.25},
        {"lblPlanets_Position_3", false, 8.25},
        {"lblAspects_Sign_0", false, 8.25},
        {"lblAspects_Planets_7", false, 8.25},
        {"lblLabel_0", false, 8.25},
        {"txtName", false, 8.25},
        {"txtLatDeg", false, 8.25},
        {"cboTimeZone", false, 8.25},
        {"optLat_0", false, 8.25},
        {"optLong_1", false, 8.25},
        {"Command1", false, 8.25},
        {"Label16", false, 8.25},
    };
    for (const auto& [name, bold, points] : rows) {
        QTest::newRow(name) << QString::fromLatin1(name) << bold << points;
    }
}

void WindowLayoutTest::fonts()
{
    QFETCH(QString, name);
    QFETCH(bool, bold);
    QFETCH(double, points);
    FakeUserPrompts prompts;
    const frmMain window(prompts);
    const QWidget* control = name == QStringLiteral("frmMain") ? &window : Control(window, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(control->font().bold(), bold);
    QCOMPARE(control->font().pointSizeF(), points);
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
                                     "mnuMakeMoney Make Money &Online"};
    QTest::newRow("File") << QStringLiteral("mnuFile")
                          << QStringList {"mnuCalculate Get My &Rasi Chart", "mnuChart Show Rasi &Chart", "mnuPreciseSky &Precise Sky Positions", "-",
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
