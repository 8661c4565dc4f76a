#include "WindowDriver.h"

#include "app/CommandLine.h"
#include "app/QtUserPrompts.h"
#include "core/Birth.h"
#include "tests/common/ReferenceBirths.h"
#include "readings/ReadingFile.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

using namespace halvaro;
using namespace halvaro::app;
using namespace halvaro::app::testing;

namespace {

QString Error(const QString& text)
{
    return FakeUserPrompts::Message(MessageIcon::Error, text);
}

// The refusal of a file, with the reason the command line gives.
QString CheckTheFile(const QString& reason)
{
    return Error(QStringLiteral("Please Check The File.\n\n") + reason + u'.');
}
const QString NotAhaName = CheckTheFile(QStringLiteral("the name does not end in \"aha\""));

FileDialogRequest SaveRequest(const QString& proposed)
{
    return {QStringLiteral("Halvaro"), QStringLiteral("Halvaro (*.aha)"), QStringLiteral("aha"), proposed, true, false};
}

FileDialogRequest OpenRequest()
{
    return {QStringLiteral("Select the source file"), QStringLiteral("Halvaro (*.aha)"), QStringLiteral("aha"), {},
        false, true};
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the input screen shows, entry by entry.
QStringList Entries(const Ui::frmMain& f)
{
    return {f.txtName->text(), f.txtLatDeg->text(), f.txtLatMin->text(), f.txtLonDeg->text(), f.txtLonMin->text(),
        f.txtCity->text(), f.txtState->text(), f.txtCountry->text(), f.optLat_0->isChecked() ? "North" : "",
        f.optLat_1->isChecked() ? "South" : "", f.optLong_0->isChecked() ? "East" : "",
        f.optLong_1->isChecked() ? "West" : "", f.chkDST->isChecked() ? "DST" : "", f.cboDate->currentText(),
        f.cboMonth->currentText(), f.cboYear->currentText(), f.cboHour->currentText(), f.cboMinute->currentText(),
        f.cboTimeZone->currentText()};
}

} // namespace

class ReadingWorkflowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exampleReading_data();
    void exampleReading();
    void recordFromControls_data();
    void recordFromControls();
    void backAndRecalculate();
    void skyModelSwitch();
    void failedCheckKeepsEarlierResults();
    void saveThenOpen();
    void secondSaveProposesFirstPath();
    void foundOffsetOfNoListEntry();
    void localMeanTimeSavedWhole();
    void zoneTrapsAskOnce();
    void openChecksTheName_data();
    void openChecksTheName();
    void openRefusesDamagedFile_data();
    void openRefusesDamagedFile();
    void saveFailures_data();
    void saveFailures();
    void commandLine_data();
    void commandLine();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void webLinks();
    void linkThatCannotOpen();
    void fileDialogsLeaveNoSettings();
    void aboutBox();
    void exitEndsAtOnce_data();
    void exitEndsAtOnce();

private:
    bool Calculate();

    std::unique_ptr<WindowUnderTest> w;
    std::unique_ptr<QTemporaryDir> folder;
};

void ReadingWorkflowTest::init()
{
    w = std::make_unique<WindowUnderTest>();
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QVERIFY(ShowAndActivate(*w));
}

void ReadingWorkflowTest::cleanup()
{
    const QStringList left = w->prompts.Leftovers();
    w.reset();
    folder.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
}

bool ReadingWorkflowTest::Calculate()
{
    if (!TypeExampleReading(w->Form())) {
        return false;
    }
    QTest::mouseClick(w->Form().cmdCalculate, Qt::LeftButton);
    return w->window.ResultScreenInFront() && w->prompts.TakeCalls().isEmpty();
}

// The worked reading: New Delhi 28°39' N 77°13' E, 15 June 1975 10:30 IST.
// Its 32 texts are kept with the reference births.
void ReadingWorkflowTest::exampleReading_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    const auto qs = [](std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); };
    QList<QStringList> rows;
    for (const auto& r : halvaro::testing::Delhi1975Results) {
        rows.append({qs(r.Planets), qs(r.Position), qs(r.AspectsSign), qs(r.AspectsPlanets)});
    }
    for (int i = 0; i < rows.size(); ++i) {
        QTest::newRow(qPrintable(rows[i][0])) << i << rows[i];
    }
}

void ReadingWorkflowTest::exampleReading()
{
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    QVERIFY(Calculate());
    const QStringList all = ResultTexts(w->window.Controls());
    QCOMPARE(all.mid(row * 4, 4), texts);
    // Sized to its text: nothing cut off.
    const QLabel* aspects = w->window.Controls().lblAspects_Planets[static_cast<std::size_t>(row)];
    QVERIFY(aspects->width() >= aspects->sizeHint().width());
}

// The record the calculation writes from the controls, zone corrections from
// the time-zone table.
void ReadingWorkflowTest::recordFromControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("southWestDst");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedCity");
    // Month, offset from UT in minutes, zone list position, South, East, DST.
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("example") << "Asha Rao" << "New Delhi" << "June" << "Indian Time, IST, +5.3" << false << "Asha Rao"
                             << "New Delhi" << QList<int> {6, 330, 34, 0, 1, 0};
    QTest::newRow("blanks around name and city") << "  Asha  " << "  Pune  " << "June" << "Indian Time, IST, +5.3"
                                                 << false << "  Asha  " << "Pune" << QList<int> {6, 330, 34, 0, 1, 0};
    QTest::newRow("March, Hawaiian") << "Asha" << "Hilo" << "March" << "Hawaiian Standard Time,HST,-10.5" << false
                                     << "Asha" << "Hilo" << QList<int> {3, -630, 32, 0, 1, 0};
    QTest::newRow("Greenwich") << "Asha" << "London" << "June" << "Greenwich Mean Time,GMT,0.0" << false << "Asha"
                               << "London" << QList<int> {6, 0, 29, 0, 1, 0};
    QTest::newRow("last zone, South, West, DST") << "Asha" << "Dawson" << "June" << "Yukon War Time,YWT,-8.0" << true
                                                 << "Asha" << "Dawson" << QList<int> {6, -420, 70, 1, 0, 1};
}

void ReadingWorkflowTest::recordFromControls()
{
    QFETCH(QString, name);
    QFETCH(QString, city);
    QFETCH(QString, month);
    QFETCH(QString, zone);
    QFETCH(bool, southWestDst);
    QFETCH(QString, storedName);
    QFETCH(QString, storedCity);
    QFETCH(QList<int>, numbers);
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    f.txtName->clear();
    QTest::keyClicks(f.txtName, name);
    f.txtCity->clear();
    QTest::keyClicks(f.txtCity, city);
    QVERIFY(Pick(f.cboMonth, month) && Pick(f.cboTimeZone, zone));
    if (southWestDst) {
        QTest::mouseClick(f.optLat_1, Qt::LeftButton);
        QTest::mouseClick(f.optLong_1, Qt::LeftButton);
        QTest::mouseClick(f.chkDST, Qt::LeftButton);
    }
    // A war time already counts daylight saving: the box as well is asked about.
    QStringList asked;
    if (southWestDst) {
        w->prompts.AnswerQuestion(true);
        asked << FakeUserPrompts::Question(QStringLiteral("The zone \u201CYukon War Time,YWT,-8.0\u201D already counts "
            "daylight saving, and the Daylight Saving Time box adds another hour: the birth would be at UTC-07:00. "
            "Calculate at UTC-07:00 all the same?"));
    }
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), asked);
    const Birth& r = w->window.ShownBirth();
    QCOMPARE(QString::fromStdString(r.Name), storedName);
    QCOMPARE(QString::fromStdString(r.City), storedCity);
    QVERIFY(r.Zone.has_value());
    QCOMPARE((QList<int> {r.Local.Month, r.UtcOffsetMinutes, r.Zone->Position, r.LatitudeDeg < 0 ? 1 : 0,
                 r.LongitudeDeg > 0 ? 1 : 0, r.Zone->DaylightSaving ? 1 : 0}),
        numbers);
    QCOMPARE((QList<int> {r.Local.Day, r.Local.Year, r.Local.Hour, r.Local.Minute}), (QList<int> {15, 1975, 10, 30}));
    // 28°39' and 77°13' as typed.
    QCOMPARE(std::fabs(r.LatitudeDeg), 28 + 39 / 60.0);
    QCOMPARE(std::fabs(r.LongitudeDeg), 77 + 13 / 60.0);
}

void ReadingWorkflowTest::backAndRecalculate()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    const QStringList entries = Entries(f);
    // The menu entry runs the same driver as the button.
    f.mnuCalculate->trigger();
    QVERIFY(w->window.ResultScreenInFront());
    const QStringList results = ResultTexts(w->window.Controls());

    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    QVERIFY(!w->window.ResultScreenInFront());
    QCOMPARE(Entries(f), entries);
    QCOMPARE(ResultTexts(w->window.Controls()), results);

    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    QCOMPARE(ResultTexts(w->window.Controls()), results);

    // On the result screen the menu recalculates from the hidden entries.
    f.mnuCalculate->trigger();
    QVERIFY(w->window.ResultScreenInFront());
    QCOMPARE(ResultTexts(w->window.Controls()), results);
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

// The New Delhi 1975 example: the classic model puts the Sun at 00 Gem 19, the
// sky at 29 Tau 58. The entry switches the reading on screen at once, and
// behind the input screen only the next one; the label names the sky shown.
void ReadingWorkflowTest::skyModelSwitch()
{
    const Ui::frmMain& f = w->Form();
    const QLabel* sun = w->window.Controls().lblPlanets_Position[0];
    QVERIFY(f.mnuPreciseSky->isCheckable() && !f.mnuPreciseSky->isChecked());
    QVERIFY(Calculate());
    const QString classic = QStringLiteral("00 Gem 19Sky: classic model \u2014 in the precise sky the Sun stands in Vrishabha");
    QCOMPARE(sun->text() + f.lblSky->text(), classic);
    QVERIFY(f.lblSky->heightForWidth(f.lblSky->width()) <= f.lblSky->height()); // wrapped, not cut
    f.mnuPreciseSky->trigger();
    QVERIFY(w->window.ResultScreenInFront());
    QCOMPARE(sun->text() + f.lblSky->text(), QStringLiteral("29 Tau 58Sky: precise (Swiss Ephemeris, Lahiri, mean node, 365.25-day year)"));
    QVERIFY(f.lblSky->width() >= f.lblSky->sizeHint().width());
    // Raman's ayanamsa puts the Sun at 61.4279°, 01 Gem 25 (the Swiss
    // Ephemeris's swe_calc_ut, SE_SIDM_RAMAN, 1975-06-15 05:00 UT); the
    // choice lasts while the precise sky does, the classic one has none.
    QVERIFY(f.mnuConventions->isEnabled());
    w->prompts.AnswerConventions(QStringList {"Raman", "True node", "360 days (savana)"});
    f.mnuConventions->trigger();
    QCOMPARE(sun->text() + f.lblSky->text(), QStringLiteral("01 Gem 25Sky: precise (Swiss Ephemeris, Raman, true node, 360-day year)"));
    QCOMPARE(w->prompts.TakeCalls(), QStringList {"conventions dialog: Lahiri, mean node, 365.25-day year"});

    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    f.mnuPreciseSky->trigger();
    QVERIFY(!f.mnuConventions->isEnabled());
    QCOMPARE(sun->text(), QStringLiteral("01 Gem 25"));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(sun->text() + f.lblSky->text(), classic);
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

void ReadingWorkflowTest::failedCheckKeepsEarlierResults()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(Calculate());
    const QStringList results = ResultTexts(w->window.Controls());
    QTest::mouseClick(f.cmdBack, Qt::LeftButton);

    f.txtName->clear();
    QTest::keyClicks(f.txtName, QStringLiteral("Other"));
    QVERIFY(Pick(f.cboYear, QStringLiteral("1990")) && Pick(f.cboMonth, QStringLiteral("April"))
        && Pick(f.cboDate, QStringLiteral("31")));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);

    QCOMPARE(w->prompts.TakeCalls(),
        QStringList {FakeUserPrompts::Message(MessageIcon::Information, "Please Enter Correct Date Or Month !")});
    QVERIFY(!w->window.ResultScreenInFront());
    QCOMPARE(ResultTexts(w->window.Controls()), results);
    QCOMPARE(QString::fromStdString(w->window.ShownBirth().Name), QStringLiteral("Asha Rao"));
    QCOMPARE(w->window.ShownBirth().Local.Year, 1975);
}

void ReadingWorkflowTest::saveThenOpen()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    f.txtName->clear();
    QTest::keyClicks(f.txtName, QStringLiteral("  Asha Rao  "));
    QTest::mouseClick(f.optLong_1, Qt::LeftButton);
    QTest::mouseClick(f.chkDST, Qt::LeftButton);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    const QStringList results = ResultTexts(w->window.Controls());
    QStringList entries = Entries(f);

    const QString path = folder->filePath(QStringLiteral("asha.aha"));
    w->prompts.AnswerSaveDialog(path);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog("save", SaveRequest({}))});
    QVERIFY(QFile::exists(path));
    QCOMPARE(w->window.LastSavedPath(), path);

    // A fresh window: nothing of the first is left to help.
    w = std::make_unique<WindowUnderTest>();
    QVERIFY(ShowAndActivate(*w));
    w->prompts.AnswerOpenDialog(path);
    QTest::mouseClick(w->Form().cmdOpen, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog("open", OpenRequest())});
    QVERIFY(w->window.ResultScreenInFront());
    QCOMPARE(ResultTexts(w->window.Controls()), results);
    entries[0] = QStringLiteral("Asha Rao"); // saved without its outer blanks
    QCOMPARE(Entries(w->Form()), entries);
}

// Kathmandu in 1990 kept +05:45 (tests/data/atlas/zone-offsets.tsv), which
// no zone list entry gives: the reading takes it as it is, and Save keeps it,
// with its zone, for a window that never saw it. The example reading is New
// Delhi, Indian Time.
void ReadingWorkflowTest::foundOffsetOfNoListEntry()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(Calculate());
    const QString delhi = folder->filePath(QStringLiteral("delhi.aha"));
    w->prompts.AnswerSaveDialog(delhi);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    w->prompts.TakeCalls();
    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    QVERIFY(Pick(f.cboYear, QStringLiteral("1990")));
    w->prompts.AnswerFindPlace(QStringLiteral("Kathm"));
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {"find place \"Kathm\""});
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront() && !w->window.ShownBirth().Zone);
    QCOMPARE(w->window.ShownBirth().UtcOffsetMinutes, 5 * 60 + 45);
    const QString kathmandu = folder->filePath(QStringLiteral("kathmandu.aha"));
    w->prompts.AnswerSaveDialog(kathmandu);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog("save", SaveRequest(delhi))});
    // Asked for in Find Place: Kathmandu's local mean time, 85°19' E at four
    // minutes a degree, +5:41:16, whatever its zone says.
    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    w->prompts.AnswerFindPlace(QStringLiteral("Kathm"), true);
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {"find place \"Kathm\", local mean time"});
    QCOMPARE(f.lblFoundZone->text(), QStringLiteral("Local mean time (as asked): UTC+05:41:16."));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ShownBirth().LocalMeanTime);
    QCOMPARE(UtcOffsetSecondsOf(w->window.ShownBirth()), (5 * 60 + 41) * 60 + 16);

    // An opened reading's zone entry replaces the found offset.
    w->window.OpenSavedReading(delhi);
    QCOMPARE(w->window.ShownBirth().UtcOffsetMinutes, 5 * 60 + 30); // Indian Time
    QCOMPARE(f.lblFoundZone->text(), QStringLiteral("In force: UTC+05:30, the zone."));

    // Reopened in a fresh window: +05:45 in Asia/Kathmandu, no list entry shown.
    w = std::make_unique<WindowUnderTest>();
    QVERIFY(ShowAndActivate(*w));
    w->window.OpenSavedReading(kathmandu);
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
    const Birth& reopened = w->window.ShownBirth();
    QVERIFY(w->window.ResultScreenInFront() && !reopened.Zone);
    QCOMPARE(UtcOffsetSecondsOf(reopened), (5 * 60 + 45) * 60);
    QCOMPARE(reopened.TimeZone, std::string("Asia/Kathmandu"));
    QCOMPARE(w->Form().cboTimeZone->currentIndex(), -1);
    QCOMPARE(w->Form().lblFoundZone->text(), QStringLiteral("UTC+05:45 (Asia/Kathmandu), as the reading file keeps it."));
}

// Porbandar on 1869-10-02, before India kept a standard time: its own mean
// time, 69°37' E at four minutes a degree, +4:38:28, in the precise sky, which
// alone covers the year. Saved and reopened in a fresh window, all of it holds.
void ReadingWorkflowTest::localMeanTimeSavedWhole()
{
    QAction* precise = w->window.findChild<QAction*>(QStringLiteral("mnuPreciseSky"));
    QVERIFY(precise != nullptr);
    precise->setChecked(true);
    const Ui::frmMain& f = w->Form();
    QTest::keyClicks(f.txtName, QStringLiteral("Mohan"));
    QVERIFY(Pick(f.cboDate, "2") && Pick(f.cboMonth, "October") && Pick(f.cboYear, "1869") && Pick(f.cboHour, "7")
        && Pick(f.cboMinute, "11"));
    w->prompts.AnswerFindPlace(QStringLiteral("Porbandar"));
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {"find place \"Porbandar\""});
    QVERIFY(w->window.ResultScreenInFront() && w->window.ShownBirth().LocalMeanTime);
    const QString path = folder->filePath(QStringLiteral("porbandar.aha"));
    w->prompts.AnswerSaveDialog(path);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    w->prompts.TakeCalls();
    const QStringList results = ResultTexts(w->window.Controls());

    w = std::make_unique<WindowUnderTest>();
    QVERIFY(ShowAndActivate(*w));
    w->window.OpenSavedReading(path);
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
    const Birth& reopened = w->window.ShownBirth();
    QVERIFY(reopened.LocalMeanTime && !reopened.Zone);
    QCOMPARE(UtcOffsetSecondsOf(reopened), (4 * 60 + 38) * 60 + 28);
    QCOMPARE(reopened.TimeZone, std::string("Asia/Kolkata"));
    QCOMPARE(w->window.Sky(), SkyModel::Precise);
    QCOMPARE(ResultTexts(w->window.Controls()), results);
}

// The zone traps: New York on 1980-10-26 at 01:30 with "Eastern Daylight
// Time" (UTC-04:00) and the DST box is UTC-03:00; a New Delhi birth left at
// the list's first entry is UTC-09:00, 14 hours from 77°13' E's mean time
// (+5:08:52); New York had no 02:30 on 27 April 1980 (EST -05:00 to EDT
// -04:00, tests/data/atlas/zone-offsets.tsv). Each is asked once, or refused.
void ReadingWorkflowTest::zoneTrapsAskOnce()
{
    const Ui::frmMain& f = w->Form();
    const QString farQuestion = FakeUserPrompts::Question(QStringLiteral("The time zone was not chosen, and the zone "
        "\u201CAlaska/Hawaii Daylight Time,AHDT,-9.0\u201D gives UTC-09:00, more than three hours from the mean time of "
        "the longitude (UTC+05:08:52). Calculate at UTC-09:00 all the same?"));
    QTest::keyClicks(f.txtName, QStringLiteral("Asha"));
    for (const auto& [box, text] : {std::pair {f.txtLatDeg, "28"}, {f.txtLatMin, "39"}, {f.txtLonDeg, "77"},
             {f.txtLonMin, "13"}, {f.txtCity, "Delhi"}, {f.txtState, "Delhi"}, {f.txtCountry, "India"}}) {
        QTest::keyClicks(box, QString::fromLatin1(text));
    }
    QVERIFY(Pick(f.cboYear, "1975"));
    w->prompts.AnswerQuestion(false);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {farQuestion});
    QVERIFY(!w->window.ResultScreenInFront());
    QCOMPARE(f.lblFoundZone->text(), QStringLiteral("In force: UTC-09:00, the zone."));
    w->prompts.AnswerQuestion(true);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {farQuestion});
    QCOMPARE(w->window.ShownBirth().UtcOffsetMinutes, -9 * 60);
    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton); // answered: not again
    QCOMPARE(w->prompts.TakeCalls(), QStringList());

    QTest::mouseClick(f.cmdBack, Qt::LeftButton);
    w->prompts.AnswerFindPlace(QStringLiteral("New York, US"));
    QVERIFY(Pick(f.cboDate, "26") && Pick(f.cboMonth, "October") && Pick(f.cboYear, "1980") && Pick(f.cboHour, "1")
        && Pick(f.cboMinute, "30"));
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    w->prompts.TakeCalls();
    QVERIFY(Pick(f.cboTimeZone, "Eastern Daylight Time,EDT,-4.0"));
    QTest::mouseClick(f.chkDST, Qt::LeftButton);
    QCOMPARE(f.lblFoundZone->text(), QStringLiteral("In force: UTC-03:00, the zone and an hour of daylight saving."));
    w->prompts.AnswerQuestion(false);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Question(QStringLiteral("The zone \u201CEastern "
        "Daylight Time,EDT,-4.0\u201D already counts daylight saving, and the Daylight Saving Time box adds another "
        "hour: the birth would be at UTC-03:00. Calculate at UTC-03:00 all the same?"))});
    QVERIFY(!w->window.ResultScreenInFront());

    w->prompts.AnswerFindPlace(QStringLiteral("New York, US"));
    QVERIFY(Pick(f.cboDate, "27") && Pick(f.cboMonth, "April") && Pick(f.cboHour, "2"));
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    const QStringList calls = w->prompts.TakeCalls();
    QVERIFY2(calls.size() == 2 && calls[1].startsWith(Error(QStringLiteral("There was no 02:30 on 27 April 1980 in "
        "America/New_York"))) && calls[1].contains("UTC-05:00") && calls[1].contains("UTC-04:00")
            && calls[1].contains("Choose the zone list entry"), qPrintable(calls.join('\n')));
    QVERIFY(!w->window.ResultScreenInFront());
}

void ReadingWorkflowTest::secondSaveProposesFirstPath()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(Calculate());
    const QString path = folder->filePath(QStringLiteral("first.aha"));
    w->prompts.AnswerSaveDialog(path);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog("save", SaveRequest({}))});
    const QByteArray saved = FileBytes(path);
    QVERIFY(!saved.isEmpty());

    w->prompts.AnswerSaveDialog(std::nullopt);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog("save", SaveRequest(path))});
    QCOMPARE(FileBytes(path), saved);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList {"first.aha"});
}

// Only the last three characters of the chosen name are compared with "aha".
void ReadingWorkflowTest::openChecksTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("upper-case AHA") << "reading.AHA" << false;
    QTest::newRow("aha then another extension") << "reading.aha.txt" << false;
    QTest::newRow("Aha") << "reading.Aha" << false;
    QTest::newRow("aha without a dot") << "readingaha" << true;
    QTest::newRow(".aha") << "reading.aha" << true;
}

void ReadingWorkflowTest::openChecksTheName()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    QVERIFY(Calculate());
    const QString saved = folder->filePath(QStringLiteral("saved.aha"));
    w->prompts.AnswerSaveDialog(saved);
    QTest::mouseClick(w->Form().cmdSave, Qt::LeftButton);
    w->prompts.TakeCalls();
    const QString path = folder->filePath(name);
    QVERIFY(name == QStringLiteral("reading.aha") ? QFile::rename(saved, path) : QFile::copy(saved, path));

    w = std::make_unique<WindowUnderTest>();
    QVERIFY(ShowAndActivate(*w));
    const QStringList before = Entries(w->Form());
    w->prompts.AnswerOpenDialog(path);
    QTest::mouseClick(w->Form().cmdOpen, Qt::LeftButton);
    QStringList expected {FakeUserPrompts::Dialog("open", OpenRequest())};
    if (!opens) {
        expected << NotAhaName;
    }
    QCOMPARE(w->prompts.TakeCalls(), expected);
    QCOMPARE(w->window.ResultScreenInFront(), opens);
    QCOMPARE(Entries(w->Form()) == before, !opens);
}

// Files the reading module refuses, or that hold a degree text longer than
// its box takes, change no control.
void ReadingWorkflowTest::openRefusesDamagedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("plain text") << QByteArray("Asha\r\n6\r\n15\r\n")
                                << "line 1 is not in the reading file's form (was it edited as plain text?)";
    QTest::newRow("empty file") << QByteArray() << "the file is empty";
    Birth record;
    record.Name = "Asha";
    record.Local = {1975, 6, 15, 10, 0};
    record.Zone = ZoneChoice {34, false};
    record.LongitudeDeg = 1077;
    record.City = record.State = record.Country = "Delhi";
    const readings::BytesResult longDegrees = readings::ReadingFileBytes(record);
    QVERIFY(longDegrees.Bytes.has_value());
    QTest::newRow("four-digit longitude degrees")
        << QByteArray::fromStdString(*longDegrees.Bytes)
        << "a degree or minute line holds more than the three characters of its box";
}

void ReadingWorkflowTest::openRefusesDamagedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = folder->filePath(QStringLiteral("damaged.aha"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const Ui::frmMain& f = w->Form();
    QTest::keyClicks(f.txtName, QStringLiteral("Kept"));
    const QStringList before = Entries(f);
    w->prompts.AnswerOpenDialog(path);
    QTest::mouseClick(f.cmdOpen, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), (QStringList {FakeUserPrompts::Dialog("open", OpenRequest()), CheckTheFile(reason)}));
    QCOMPARE(Entries(f), before);
    QVERIFY(!w->window.ResultScreenInFront());
}

void ReadingWorkflowTest::saveFailures_data()
{
    QTest::addColumn<QString>("pastedName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("reasonPart");
    QTest::addColumn<QByteArray>("earlierFile"); // what the chosen path held before; null: no file
    const QString unstorable = QString::fromUtf8("\xC5\x81ukasz");
    QTest::newRow("missing folder") << "" << "no such folder/asha.aha" << "no such folder" << QByteArray();
    QTest::newRow("character a reading cannot store") << unstorable << "asha.aha" << "Name" << QByteArray();
    QTest::newRow("over an earlier file") << unstorable << "earlier.aha" << "Name" << QByteArray("earlier reading");
    // Blanks pass the calculation's checks, but are saved as an empty line that opening refuses.
    QTest::newRow("name of blanks") << "   " << "earlier.aha" << "The Name field is blank"
                                    << QByteArray("earlier reading");
}

void ReadingWorkflowTest::saveFailures()
{
    QFETCH(QString, pastedName);
    QFETCH(QString, fileName);
    QFETCH(QString, reasonPart);
    QFETCH(QByteArray, earlierFile);
    const QString path = folder->filePath(fileName);
    if (!earlierFile.isNull()) {
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(earlierFile) == earlierFile.size());
    }
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    if (!pastedName.isEmpty()) {
        f.txtName->setText(pastedName);
    }
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    w->prompts.AnswerSaveDialog(path);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    const QStringList calls = w->prompts.TakeCalls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0], FakeUserPrompts::Dialog("save", SaveRequest({})));
    QVERIFY2(calls[1].startsWith(Error({})), qPrintable(calls[1]));
    QVERIFY2(calls[1].contains(QStringLiteral("not saved")) || calls[1].contains(QStringLiteral("could not be saved")),
        qPrintable(calls[1]));
    QVERIFY2(calls[1].contains(reasonPart), qPrintable(calls[1]));
    if (earlierFile.isNull()) {
        QVERIFY(!QFile::exists(path));
    } else {
        QCOMPARE(FileBytes(path), earlierFile);
    }
    QCOMPARE(w->window.LastSavedPath(), QString());
}

// The arguments as the program reads them, then the window started as the
// program starts it; "@" is a folder holding the New Delhi reading (Moon
// 11 Leo 08 in the worked example) as "reading.aha", "-reading.aha" and
// "reading.txt".
void ReadingWorkflowTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<bool>("refused");          // the usage line instead of a window
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<bool>("opened");
    const QStringList none;
    QTest::newRow("no file") << none << false << none << false;
    QTest::newRow("a saved reading") << QStringList {"@/reading.aha"} << false << none << true;
    QTest::newRow("a dash name after --") << QStringList {"--", "@/-reading.aha"} << false << none << true;
    QTest::newRow("another extension") << QStringList {"@/reading.txt"} << false << QStringList {NotAhaName} << false;
    QTest::newRow("no such file") << QStringList {"@/missing.aha"} << false
                                  << QStringList {CheckTheFile("the file cannot be read: No such file or directory")} << false;
    QTest::newRow("two files") << QStringList {"@/reading.aha", "@/reading.txt"} << true << none << false;
    QTest::newRow("an unknown option") << QStringList {"--open", "@/reading.aha"} << true << none << false;
}

void ReadingWorkflowTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, refused);
    QFETCH(QStringList, prompts);
    QFETCH(bool, opened);
    const readings::BytesResult reading = readings::ReadingFileBytes(
        halvaro::testing::BirthOf(halvaro::testing::Delhi1975()));
    QVERIFY(reading.Bytes.has_value());
    for (const char* name : {"reading.aha", "-reading.aha", "reading.txt"}) {
        QFile file(folder->filePath(QString::fromLatin1(name)));
        const auto size = qint64(reading.Bytes->size());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(reading.Bytes->data(), size) == size);
    }
    const CommandLine line = ParseCommandLine(
        QStringList {QStringLiteral("halvaro")} + arguments.replaceInStrings(QStringLiteral("@"), folder->path()));
    QCOMPARE(line.Do == CommandLine::Action::RefuseArguments, refused);
    if (refused) {
        return;
    }
    w = std::make_unique<WindowUnderTest>();
    const QStringList fresh = Entries(w->Form());
    StartWindow(w->window, line);
    QVERIFY(w->window.isVisible());
    QCOMPARE(w->prompts.TakeCalls(), prompts);
    QCOMPARE(w->window.ResultScreenInFront(), opened);
    QCOMPARE(ResultTexts(w->window.Controls()).mid(4, 2) == (QStringList {"Moon / Chandra", "11 Leo 08"}), opened);
    QCOMPARE(Entries(w->Form()) == fresh, !opened);
}

// Enter and keypad Enter press the focused button, as Space does.
void ReadingWorkflowTest::enterPressesFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    for (const char* button : {"cmdCalculate", "cmdOpen", "Command1", "cmdChart", "cmdSave", "cmdBack"}) {
        QTest::newRow(qPrintable(QStringLiteral("Return on %1").arg(button))) << button << int(Qt::Key_Return);
        QTest::newRow(qPrintable(QStringLiteral("keypad Enter on %1").arg(button))) << button << int(Qt::Key_Enter);
    }
}

void ReadingWorkflowTest::enterPressesFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    auto* pressed = w->window.findChild<QPushButton*>(button);
    if (pressed->parentWidget() == w->Form().Frame2) {
        QVERIFY(Calculate());
    }
    pressed->setFocus();
    QSignalSpy presses(pressed, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(presses.count(), 1);
    w->prompts.TakeCalls(); // what each press asks for is checked where the buttons are clicked
}

void ReadingWorkflowTest::webLinks()
{
    const Ui::frmMain& f = w->Form();
    for (QAction* entry : {f.mnuOnline, f.mnuVisit, f.mnuUpdate, f.mnuDonate, f.mnuMakeMoney}) {
        entry->trigger();
    }
    for (QLabel* link : {f.Label8, f.lblFullBrand_0, f.lblFullBrand_1}) {
        Q_EMIT link->linkActivated(QStringLiteral("#"));
    }
    const QStringList calls = w->prompts.TakeCalls();
    QCOMPARE(calls.size(), 8);
    QCOMPARE(QSet<QString>(calls.begin(), calls.end()).size(), 8);
    for (const QString& call : calls) {
        QVERIFY2(call.startsWith(FakeUserPrompts::Browser(QStringLiteral("https://www.orrelane.com/"))),
            qPrintable(call));
    }
}

// With no browser the user is told, and is given the address to copy.
void ReadingWorkflowTest::linkThatCannotOpen()
{
    QVERIFY(TypeExampleReading(w->Form()));
    w->prompts.RefuseBrowser();
    const auto notOpened = [](const QString& address) {
        return QStringList {FakeUserPrompts::Browser(address),
            FakeUserPrompts::SelectableMessage(MessageIcon::Error,
                "The page could not be opened. To visit it, copy this address into a web browser:\n\n" + address)};
    };
    w->Form().mnuOnline->trigger();
    QCOMPARE(w->prompts.TakeCalls(), notOpened("https://www.orrelane.com/halvaro/help/"));
    QTest::mouseClick(w->Form().Command1, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), notOpened("https://www.google.com/search?q=site%3Awww.orrelane.com%20New%20Delhi%20"
                                               "Delhi%20India%20Latitude%20Longitude"));
}

// Qt's own file dialog stores its state in ~/.config/QtProject.conf when it
// is destroyed; the program's prompts keep it from writing anywhere.
void ReadingWorkflowTest::fileDialogsLeaveNoSettings()
{
    // First a plain dialog with user settings sent to the test's folder, to
    // show that the check below can see a write.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder->path());
    {
        QFileDialog plain;
        plain.setOption(QFileDialog::DontUseNativeDialog);
    }
    QVERIFY(QFile::remove(folder->filePath(QStringLiteral("QtProject.conf"))));

    QtUserPrompts prompts;
    QTimer::singleShot(50, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(prompts.ChooseOpenFile(nullptr, OpenRequest()), std::nullopt);
    QCOMPARE(QDir(folder->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void ReadingWorkflowTest::aboutBox()
{
    w->Form().mnuAbout->trigger();
    const QStringList calls = w->prompts.TakeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls[0].startsWith(QStringLiteral("about \"About Halvaro\": Halvaro v" HALVARO_VERSION)), qPrintable(calls[0]));
    QVERIFY2(calls[0].contains(QStringLiteral("Graha Drishti")), qPrintable(calls[0]));
    for (const char* credit : {"Swiss Ephemeris 2.", "GeoNames", "CC BY 4.0", "geonames library", "tz database"}) {
        QVERIFY2(calls[0].contains(QLatin1String(credit)), qPrintable(calls[0]));
    }
}

void ReadingWorkflowTest::exitEndsAtOnce_data()
{
    QTest::addColumn<bool>("menu");
    QTest::newRow("File, Exit") << true;
    QTest::newRow("close box") << false;
}

void ReadingWorkflowTest::exitEndsAtOnce()
{
    QFETCH(bool, menu);
    QVERIFY(Calculate());
    if (menu) {
        w->Form().mnuExit->trigger();
    } else {
        QVERIFY(w->window.close());
    }
    QVERIFY(!w->window.isVisible());
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

QTEST_MAIN(ReadingWorkflowTest)
#include "ReadingWorkflowTest.moc"
