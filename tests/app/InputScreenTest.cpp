#include "WindowDriver.h"

#include "app/DisplayCheck.h"
#include "app/KeyCodes.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QMap>

#include <memory>

using namespace halvaro;
using namespace halvaro::app;
using namespace halvaro::app::testing;

namespace {

QLineEdit* Box(const frmMain& window, const QString& name)
{
    return window.findChild<QLineEdit*>(name);
}

QString Error(const QString& text)
{
    return FakeUserPrompts::Message(MessageIcon::Error, text);
}

} // namespace

class InputScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateAfterStart_data();
    void stateAfterStart();
    void inputScreenAfterStart();
    void validateInput_data();
    void validateInput();
    void pastedNumbersRefused_data();
    void pastedNumbersRefused();
    void keyFilters_data();
    void keyFilters();
    void pasteCheckedAsTyping_data();
    void pasteCheckedAsTyping();
    void enterInABoxCalculates_data();
    void enterInABoxCalculates();
    void digitsTypedIntoAList_data();
    void digitsTypedIntoAList();
    void accessKeysUniquePerScreen();
    void altOOpensTheFileDialog();
    void placeLookUp_data();
    void placeLookUp();
    void findPlace_data();
    void findPlace();
    void tabStaysOnFrontScreen();
    void hiddenScreenTakesNoClicks();
    void keyCharacterCode_data();
    void keyCharacterCode();
    void displayCheck_data();
    void displayCheck();

private:
    std::unique_ptr<WindowUnderTest> w;
};

void InputScreenTest::init()
{
    w = std::make_unique<WindowUnderTest>();
    QVERIFY(ShowAndActivate(*w));
}

void InputScreenTest::cleanup()
{
    const QStringList left = w->prompts.Leftovers();
    w.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
}

// The lists as the window fills them when it loads, and the zone table's
// first and last entries.
void InputScreenTest::stateAfterStart_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("cboDate") << "cboDate" << 31 << "1" << "31";
    QTest::newRow("cboMonth") << "cboMonth" << 12 << "January" << "December";
    QTest::newRow("cboYear") << "cboYear" << 150 << "1901" << "2050";
    QTest::newRow("cboHour") << "cboHour" << 24 << "0" << "23";
    QTest::newRow("cboMinute") << "cboMinute" << 60 << "0" << "59";
    QTest::newRow("cboTimeZone") << "cboTimeZone" << 71 << "Alaska/Hawaii Daylight Time,AHDT,-9.0"
                                 << "Yukon War Time,YWT,-8.0";
}

void InputScreenTest::stateAfterStart()
{
    QFETCH(QString, list);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const auto* combo = w->window.findChild<QComboBox*>(list);
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->count(), count);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->currentText(), first);
    QCOMPARE(combo->itemText(count - 1), last);
}

void InputScreenTest::inputScreenAfterStart()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(!w->window.ResultScreenInFront());
    QVERIFY(f.Frame1->isVisible());
    QVERIFY(!f.Frame2->isVisible());
    for (const QLineEdit* box : {f.txtName, f.txtLatDeg, f.txtLatMin, f.txtLonDeg, f.txtLonMin, f.txtCity,
             f.txtState, f.txtCountry}) {
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    }
    QVERIFY(f.optLat_0->isChecked());
    QVERIFY(f.optLong_0->isChecked());
    QVERIFY(!f.chkDST->isChecked());
    QCOMPARE(FocusName(), QStringLiteral("txtName"));
}

// Each row starts from the worked reading (which passes), then changes one
// entry. Messages, icons and focus are those of the input checks' table.
void InputScreenTest::validateInput_data()
{
    QTest::addColumn<QString>("emptyBox");    // "*": every box
    QTest::addColumn<QString>("boxText");     // typed into emptyBox instead, when not empty
    QTest::addColumn<QString>("noOption");    // "optLat" / "optLong": neither option selected
    QTest::addColumn<QString>("date");        // day month year
    QTest::addColumn<QString>("message");     // "" when the reading is computed
    QTest::addColumn<bool>("information");
    QTest::addColumn<QString>("focus");

    const QString ok;
    const QString example = QStringLiteral("15 June 1975");
    QTest::newRow("all boxes empty") << "*" << ok << ok << example << "Please Enter Your Name" << false << "txtName";
    QTest::newRow("no name") << "txtName" << ok << ok << example << "Please Enter Your Name" << false << "txtName";
    QTest::newRow("no latitude degrees") << "txtLatDeg" << ok << ok << example << "Please Enter Degree of Latitude"
                                         << false << "txtLatDeg";
    QTest::newRow("no latitude minutes") << "txtLatMin" << ok << ok << example << "Please Enter Minutes of Latitude"
                                         << false << "txtLatMin";
    QTest::newRow("no longitude degrees") << "txtLonDeg" << ok << ok << example << "Please Enter Degree of Longitude"
                                          << false << "txtLonDeg";
    QTest::newRow("no longitude minutes") << "txtLonMin" << ok << ok << example << "Please Enter Minute of Longitude"
                                          << false << "txtLonMin";
    QTest::newRow("no city") << "txtCity" << ok << ok << example << "Please Enter Your City name" << false << "txtCity";
    QTest::newRow("no state") << "txtState" << ok << ok << example << "Please Enter Your State name" << false
                              << "txtState";
    QTest::newRow("no country") << "txtCountry" << ok << ok << example << "Please Enter Your Country name" << false
                                << "txtCountry";
    QTest::newRow("no latitude direction") << ok << ok << "optLat" << example
                                           << "Please Select Direction For The Latitude" << false << "cmdCalculate";
    QTest::newRow("no longitude direction") << ok << ok << "optLong" << example
                                            << "Please Select Direction For The Longitude" << false << "cmdCalculate";
    QTest::newRow("30 February 2004") << ok << ok << ok << "30 February 2004" << "Please Enter Correct Date Or Month!"
                                      << true << "cmdCalculate";
    QTest::newRow("29 February 1901") << ok << ok << ok << "29 February 1901" << "Please Enter Correct Date Or Month!"
                                      << true << "cmdCalculate";
    QTest::newRow("31 April 1990") << ok << ok << ok << "31 April 1990" << "Please Enter Correct Date Or Month !"
                                   << true << "cmdCalculate";
    QTest::newRow("31 November 2050") << ok << ok << ok << "31 November 2050" << "Please Enter Correct Date Or Month !"
                                      << true << "cmdCalculate";
    QTest::newRow("29 February 2000 passes") << ok << ok << ok << "29 February 2000" << ok << false << "cmdSave";
    QTest::newRow("31 May 1990 passes") << ok << ok << ok << "31 May 1990" << ok << false << "cmdSave";
    QTest::newRow("30 April 1990 passes") << ok << ok << ok << "30 April 1990" << ok << false << "cmdSave";
    QTest::newRow("latitude 95 degrees") << "txtLatDeg" << "95" << ok << example
                                         << "Please Enter A Latitude Of 90 Degrees Or Less" << false << "txtLatDeg";
    QTest::newRow("longitude 60 minutes") << "txtLonMin" << "60" << ok << example
                                          << "Please Enter Minute of Longitude From 0 To 59" << false << "txtLonMin";
    QTest::newRow("a name of one blank passes") << "txtName" << " " << ok << example << ok << false << "cmdSave";
    QTest::newRow("a city of blanks passes") << "txtCity" << "   " << ok << example << ok << false << "cmdSave";
}

void InputScreenTest::validateInput()
{
    QFETCH(QString, emptyBox);
    QFETCH(QString, boxText);
    QFETCH(QString, noOption);
    QFETCH(QString, date);
    QFETCH(QString, message);
    QFETCH(bool, information);
    QFETCH(QString, focus);
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    if (emptyBox == QStringLiteral("*")) {
        for (QLineEdit* box : w->window.findChildren<QLineEdit*>()) {
            box->clear();
        }
    } else if (!emptyBox.isEmpty()) {
        QLineEdit* box = Box(w->window, emptyBox);
        box->clear();
        QTest::keyClicks(box, boxText);
    }
    if (!noOption.isEmpty()) {
        const ControlArrays& c = w->window.Controls();
        for (QRadioButton* option : noOption == QStringLiteral("optLat") ? c.optLat : c.optLong) {
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
    }
    const QStringList dayMonthYear = date.split(QLatin1Char(' '));
    QVERIFY(Pick(f.cboDate, dayMonthYear[0]) && Pick(f.cboMonth, dayMonthYear[1]) && Pick(f.cboYear, dayMonthYear[2]));

    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);

    if (message.isEmpty()) {
        QCOMPARE(w->prompts.TakeCalls(), QStringList());
        QVERIFY(w->window.ResultScreenInFront());
    } else {
        const MessageIcon icon = information ? MessageIcon::Information : MessageIcon::Error;
        QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Message(icon, message)});
        QVERIFY(!w->window.ResultScreenInFront());
    }
    QCOMPARE(FocusName(), focus);
    // The direction checks select North or East for the user.
    if (noOption == QStringLiteral("optLat")) {
        QVERIFY(f.optLat_0->isChecked() && !f.optLat_1->isChecked());
    }
    if (noOption == QStringLiteral("optLong")) {
        QVERIFY(f.optLong_0->isChecked() && !f.optLong_1->isChecked());
    }
}

// Text pasted into a degree or minute box bypasses the key filter; the
// check refuses it in the box's own turn, after that box's emptiness check.
void InputScreenTest::pastedNumbersRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("decimal point in txtLatDeg") << "txtLatDeg" << "1.5";
    QTest::newRow("minus sign in txtLatMin") << "txtLatMin" << "-3";
    QTest::newRow("letters in txtLonDeg") << "txtLonDeg" << "abc";
    QTest::newRow("leading blank in txtLonMin") << "txtLonMin" << " 7";
    QTest::newRow("exponent in txtLonDeg") << "txtLonDeg" << "1e2";
}

void InputScreenTest::pastedNumbersRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    const QStringList before = ResultTexts(w->window.Controls());
    const Birth birthBefore = w->window.ShownBirth();
    QTest::mouseClick(f.cmdBack, Qt::LeftButton);

    Box(w->window, box)->setText(pasted);
    f.txtName->clear(); // an earlier check still comes first
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {Error(QStringLiteral("Please Enter Your Name"))});
    QTest::keyClicks(f.txtName, QStringLiteral("Asha"));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);

    QCOMPARE(w->prompts.TakeCalls(), QStringList {Error(QStringLiteral("Please enter only numbers"))});
    QCOMPARE(FocusName(), box);
    QCOMPARE(Box(w->window, box)->text(), pasted);
    QCOMPARE(ResultTexts(w->window.Controls()), before);
    const Birth& birthAfter = w->window.ShownBirth();
    QCOMPARE(birthAfter.Name, birthBefore.Name);
    QCOMPARE(birthAfter.LatitudeDeg, birthBefore.LatitudeDeg);
    QCOMPARE(birthAfter.LongitudeDeg, birthBefore.LongitudeDeg);
}

// The two key filters: letters, blank, the marks of names (' - .), 8 and 127
// into the place and name boxes; digits, 8 and 127 into the degree and minute
// boxes; the editing keys, Enter and Escape into both.
void InputScreenTest::keyFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("textAfter"); // each box holds "ab" or "12", cursor at the end (Delete: start)
    QTest::addColumn<QString>("message");

    const QString letters = QStringLiteral("Please enter only letters");
    const QString numbers = QStringLiteral("Please enter only numbers");
    const int none = Qt::NoModifier;
    QTest::newRow("full stop in txtLatDeg") << "txtLatDeg" << int(Qt::Key_Period) << "." << none << "12" << numbers;
    QTest::newRow("hyphen in txtCity") << "txtCity" << int(Qt::Key_Minus) << "-" << none << "ab-" << "";
    QTest::newRow("apostrophe in txtName") << "txtName" << int(Qt::Key_Apostrophe) << "'" << none << "ab'" << "";
    QTest::newRow("full stop in txtCity") << "txtCity" << int(Qt::Key_Period) << "." << none << "ab." << "";
    QTest::newRow("digit in txtState") << "txtState" << int(Qt::Key_7) << "7" << none << "ab" << letters;
    QTest::newRow("accented letter in txtCountry")
        << "txtCountry" << int(Qt::Key_Eacute) << QString(QChar(0xE9)) << none << "ab"
        << letters + QString::fromUtf8(": \u201C\u00E9\u201D cannot be kept in a reading file; please write it with the letters A to Z.");
    QTest::newRow("blank in txtLatMin") << "txtLatMin" << int(Qt::Key_Space) << " " << none << "12" << numbers;
    QTest::newRow("minus in txtLonDeg") << "txtLonDeg" << int(Qt::Key_Minus) << "-" << none << "12" << numbers;
    QTest::newRow("letter in txtLonMin") << "txtLonMin" << int(Qt::Key_E) << "e" << none << "12" << numbers;
    QTest::newRow("Escape in txtCity") << "txtCity" << int(Qt::Key_Escape) << "\x1b" << none << "ab" << "";
    QTest::newRow("Ctrl+C in txtState") << "txtState" << int(Qt::Key_C) << "\x03" << int(Qt::ControlModifier) << "ab"
                                        << "";
    QTest::newRow("Ctrl+A in txtName") << "txtName" << int(Qt::Key_A) << "\x01" << int(Qt::ControlModifier) << "ab"
                                       << "";
    QTest::newRow("Ctrl+Z in txtLatDeg") << "txtLatDeg" << int(Qt::Key_Z) << "\x1a" << int(Qt::ControlModifier) << "12"
                                         << "";
    QTest::newRow("letter in txtName") << "txtName" << int(Qt::Key_Q) << "Q" << int(Qt::ShiftModifier) << "abQ" << "";
    QTest::newRow("blank in txtCountry") << "txtCountry" << int(Qt::Key_Space) << " " << none << "ab " << "";
    QTest::newRow("digit in txtLatMin") << "txtLatMin" << int(Qt::Key_0) << "0" << none << "120" << "";
    QTest::newRow("arrow in txtLatDeg") << "txtLatDeg" << int(Qt::Key_Left) << "" << none << "12" << "";
    for (const char* box : {"txtName", "txtCity", "txtState", "txtCountry"}) {
        QTest::newRow(qPrintable(QStringLiteral("backspace in %1").arg(box)))
            << box << int(Qt::Key_Backspace) << "\b" << none << "a" << "";
        QTest::newRow(qPrintable(QStringLiteral("127 in %1").arg(box)))
            << box << int(Qt::Key_Delete) << "\x7f" << none << "b" << "";
    }
    for (const char* box : {"txtLatDeg", "txtLatMin", "txtLonDeg", "txtLonMin"}) {
        QTest::newRow(qPrintable(QStringLiteral("backspace in %1").arg(box)))
            << box << int(Qt::Key_Backspace) << "\b" << none << "1" << "";
        QTest::newRow(qPrintable(QStringLiteral("127 in %1").arg(box)))
            << box << int(Qt::Key_Delete) << "\x7f" << none << "2" << "";
    }
}

void InputScreenTest::keyFilters()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(QString, textAfter);
    QFETCH(QString, message);
    QLineEdit* edit = Box(w->window, box);
    const bool numberBox = edit->maxLength() == 3;
    edit->setText(numberBox ? QStringLiteral("12") : QStringLiteral("ab"));
    if (key == Qt::Key_Delete) {
        edit->setCursorPosition(0);
    }
    edit->setFocus();
    QTest::sendKeyEvent(QTest::Click, edit, static_cast<Qt::Key>(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(edit->text(), textAfter);
    QCOMPARE(w->prompts.TakeCalls(), message.isEmpty() ? QStringList() : QStringList {Error(message)});
    QCOMPARE(FocusName(), box);
}

// A paste, by Ctrl+V or Shift+Insert, is checked as typing its text would be.
void InputScreenTest::pasteCheckedAsTyping_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("message");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("O'Brien into txtName") << "txtName" << "O'Brien" << int(Qt::Key_V) << ctrl << "";
    QTest::newRow("St. Louis into txtCity") << "txtCity" << "St. Louis" << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << "";
    QTest::newRow("45 into txtLatDeg") << "txtLatDeg" << "45" << int(Qt::Key_V) << ctrl << "";
    QTest::newRow("4.5 into txtLatDeg") << "txtLatDeg" << "4.5" << int(Qt::Key_V) << ctrl << "Please enter only numbers";
    QTest::newRow("digits into txtState") << "txtState" << "Zone 7" << int(Qt::Key_V) << ctrl << "Please enter only letters";
}

void InputScreenTest::pasteCheckedAsTyping()
{
    QFETCH(QString, box);
    QFETCH(QString, clipboard);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, message);
    QGuiApplication::clipboard()->setText(clipboard);
    QLineEdit* edit = Box(w->window, box);
    edit->setFocus();
    QTest::keyClick(edit, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(edit->text(), message.isEmpty() ? clipboard : QString());
    QCOMPARE(w->prompts.TakeCalls(), message.isEmpty() ? QStringList() : QStringList {Error(message)});
}

// Enter in a box asks for the reading, as the form's main button does.
// Enter asks for the reading from a text box and from a closed list alike.
void InputScreenTest::enterInABoxCalculates_data()
{
    QTest::addColumn<QString>("control");
    for (const char* control : {"txtCountry", "cboHour", "cboYear", "cboTimeZone"}) {
        QTest::newRow(control) << control;
    }
}

void InputScreenTest::enterInABoxCalculates()
{
    QFETCH(QString, control);
    const Ui::frmMain& f = w->Form();
    QVERIFY(TypeExampleReading(f));
    QWidget* focused = w->window.findChild<QWidget*>(control);
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    QVERIFY(w->window.ResultScreenInFront());
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

// Digits typed into a closed list within a second select the number they
// make, as the user means it ("2" at hour 12 is 2, where the list's own
// search took 20; "3" at day 15 is 3, not 30), "23" and "02"; a digit
// that makes no number of the list, or one after a pause ("|", 1.1 s),
// begins a new one.
void InputScreenTest::digitsTypedIntoAList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("hour 12, 2") << "cboHour" << "12" << "2" << "2";
    QTest::newRow("hour, 23") << "cboHour" << "5" << "23" << "23";
    QTest::newRow("hour, 02") << "cboHour" << "12" << "02" << "2";
    QTest::newRow("hour, 25: no hour, 5 begins anew") << "cboHour" << "0" << "25" << "5";
    QTest::newRow("day 15, 3") << "cboDate" << "15" << "3" << "3";
    QTest::newRow("day, 31") << "cboDate" << "1" << "31" << "31";
    QTest::newRow("day, 2 | 3") << "cboDate" << "1" << "2|3" << "3";
    QTest::newRow("month, 12") << "cboMonth" << "January" << "12" << "December";
    QTest::newRow("month, 06") << "cboMonth" << "January" << "06" << "June";
    QTest::newRow("year, 1975") << "cboYear" << "2001" << "1975" << "1975";
    QTest::newRow("year, 19 begun") << "cboYear" << "2001" << "19" << "1901";
    QTest::newRow("minute, 59") << "cboMinute" << "0" << "59" << "59";
    QTest::newRow("minute, 0") << "cboMinute" << "30" << "0" << "0";
}

void InputScreenTest::digitsTypedIntoAList()
{
    QFETCH(QString, list);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    auto* box = w->window.findChild<QComboBox*>(list);
    QVERIFY(Pick(box, before));
    box->setFocus();
    for (const QChar c : typed) {
        if (c == QLatin1Char('|')) {
            QTest::qWait(int(ListTyping::PauseMs) + 100);
        } else {
            QTest::keyClick(box, c.toLatin1());
        }
    }
    QTEST(box->currentText(), "after");
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

// Each access key reaches one entry of a screen: its own buttons, option
// buttons and check box, and the menu bar's entries, which every screen shares.
void InputScreenTest::accessKeysUniquePerScreen()
{
    const Ui::frmMain& f = w->Form();
    QStringList shared;
    for (const QAction* action : f.menubar->actions()) {
        shared << action->text();
    }
    for (const QWidget* screen : {static_cast<QWidget*>(f.Frame1), static_cast<QWidget*>(f.Frame2)}) {
        QStringList texts = shared;
        for (const QAbstractButton* button : screen->findChildren<QAbstractButton*>()) {
            texts << button->text();
        }
        QMap<QKeySequence, QString> owners;
        for (const QString& text : texts) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (key.isEmpty()) {
                continue;
            }
            QVERIFY2(!owners.contains(key), qPrintable(owners.value(key) + " and " + text + " share " + key.toString()));
            owners.insert(key, text);
        }
    }
}

void InputScreenTest::altOOpensTheFileDialog()
{
    w->prompts.AnswerOpenDialog(std::nullopt);
    w->Form().txtName->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    // A mnemonic clicks its button a moment later; one press, one dialog.
    QStringList calls;
    QTRY_VERIFY(!(calls += w->prompts.TakeCalls()).isEmpty());
    QTest::qWait(50);
    calls += w->prompts.TakeCalls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls.first().startsWith(QStringLiteral("open dialog")), qPrintable(calls.first()));
}

// The place look-up: checks in order, then a web search restricted to the
// Orrelane site; the query is percent-encoded (RFC 3986: blank %20, ':' %3A,
// '&' %26, 'ã' as its UTF-8 bytes %C3%A3).
void InputScreenTest::placeLookUp_data()
{
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("focus");
    const QString search = QStringLiteral("browser https://www.google.com/search?q=site%3Awww.orrelane.com%20");
    QTest::newRow("no city") << "" << "Maharashtra" << "India" << Error(QStringLiteral("Please Enter City"))
                             << "txtCity";
    QTest::newRow("no state") << "Pune" << "" << "India" << Error(QStringLiteral("Please Enter State")) << "txtState";
    QTest::newRow("no country") << "Pune" << "Maharashtra" << "" << Error(QStringLiteral("Please Enter Country"))
                                << "txtCountry";
    QTest::newRow("Pune") << "Pune" << "Maharashtra" << "India"
                          << search + "Pune%20Maharashtra%20India%20Latitude%20Longitude" << "Command1";
    QTest::newRow("blanks kept as typed") << " Pune" << "Maharashtra " << "India"
                                          << search + "%20Pune%20Maharashtra%20%20India%20Latitude%20Longitude"
                                          << "Command1";
    QTest::newRow("pasted characters encoded") << QString::fromUtf8("S\xC3\xA3o Paulo") << "SP & Co" << "Brazil"
                                               << search + "S%C3%A3o%20Paulo%20SP%20%26%20Co%20Brazil%20Latitude%20Longitude"
                                               << "Command1";
}

void InputScreenTest::placeLookUp()
{
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, call);
    QFETCH(QString, focus);
    const Ui::frmMain& f = w->Form();
    f.txtCity->setText(city);
    f.txtState->setText(state);
    f.txtCountry->setText(country);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {call});
    QCOMPARE(FocusName(), focus);
}

// Find Place types into the real dialog and takes its first match. Places
// and coordinates from GeoNames (geonames.org), to the nearest minute:
// Kathmandu 27.70169 N 85.3206 E, Kolkata 22.56263 N 88.36304 E, New York
// 40.71427 N 74.00597 W. Offsets from tests/data/atlas/zone-offsets.tsv
// (Python's zoneinfo): Kathmandu 1990 +05:45, in no list entry, so the list
// shows none; India 1943 +06:30 with daylight saving (Indian Time and
// DST) and 1975 +05:30 IST; New York had no 02:30 on 27 April 1980.
void InputScreenTest::findPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("picks"); // day, month, year, hour, minute; then a later year
    QTest::addColumn<QString>("form");      // the place, the zone entry and DST box
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("byHand"); // the line once the DST box is clicked
    const QString first = QStringLiteral("|");
    const QString kolkata = QStringLiteral("Kolkata|State of West Bengal|India|22 34 N|88 22 E|Indian Time, IST, +5.3|");
    QTest::newRow("Kathmandu 1990") << "Kathm" << QStringList {"15", "June", "1990", "10", "30"}
                                    << "Kathmandu|Bagmati Province|Nepal|27 42 N|85 19 E|" + first
                                    << "UTC+05:45 (Asia/Kathmandu) on 15 June 1990\nUsed as it is: no zone of the list has it."
                                    << "No zone chosen.";
    QTest::newRow("India 1943") << "Kolkata" << QStringList {"15", "June", "1943", "10", "30"} << kolkata + "DST"
                                << "UTC+06:30 (Asia/Kolkata) on 15 June 1943" << "In force: UTC+05:30, the zone.";
    QTest::newRow("India 1943, then 1975") << "Kolkata" << QStringList {"15", "June", "1943", "10", "30", "1975"}
                                           << kolkata << "UTC+05:30 (Asia/Kolkata) on 15 June 1975"
                                           << "In force: UTC+06:30, the zone and an hour of daylight saving.";
    QTest::newRow("New York gap") << "New York, US" << QStringList {"27", "April", "1980", "2", "30"}
                                  << "New York|New York|United States of America|40 43 N|74 0 W|" + first
                                  << "No 02:30 on 27 April 1980 in America/New_York: the clocks went forward. Set "
                                     "the zone by hand."
                                  << "No zone chosen.";
}

void InputScreenTest::findPlace()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, picks);
    const Ui::frmMain& f = w->Form();
    QVERIFY(Pick(f.cboDate, picks[0]) && Pick(f.cboMonth, picks[1]) && Pick(f.cboYear, picks[2])
        && Pick(f.cboHour, picks[3]) && Pick(f.cboMinute, picks[4]));
    w->prompts.AnswerFindPlace(typed);
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {"find place \"" + typed + '"'});
    QVERIFY(picks.size() < 6 || Pick(f.cboYear, picks[5]));
    const auto side = [](const QRadioButton* a, const QRadioButton* b) { return (a->isChecked() ? a : b)->text().left(1); };
    QTEST((QStringList {f.txtCity->text(), f.txtState->text(), f.txtCountry->text(),
              f.txtLatDeg->text() + ' ' + f.txtLatMin->text() + ' ' + side(f.optLat_0, f.optLat_1),
              f.txtLonDeg->text() + ' ' + f.txtLonMin->text() + ' ' + side(f.optLong_0, f.optLong_1),
              f.cboTimeZone->currentText(), f.chkDST->isChecked() ? "DST" : ""})
              .join('|'),
        "form");
    QTEST(f.lblFoundZone->text(), "line");
    QVERIFY(f.lblFoundZone->heightForWidth(f.lblFoundZone->width()) <= f.lblFoundZone->height()); // whole

    // Set by hand, the zone no longer follows the date; the line names the list's offset.
    QTest::mouseClick(f.chkDST, Qt::LeftButton);
    QVERIFY(Pick(f.cboYear, QStringLiteral("1976")));
    QTEST(f.lblFoundZone->text(), "byHand");

    // The dialog's "Search the Web…" is the old look-up, its checks first.
    f.txtState->clear();
    w->prompts.AnswerFindPlace({});
    QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), (QStringList {"find place \"\"", Error("Please Enter State")}));
}

void InputScreenTest::tabStaysOnFrontScreen()
{
    const Ui::frmMain& f = w->Form();
    const QStringList tabOrder {"txtName", "cboDate", "cboMonth", "cboYear", "cboHour", "cboMinute", "cboTimeZone",
        "txtLatDeg", "txtLatMin", "txtLonDeg", "txtLonMin", "txtCity", "txtState", "txtCountry", "cmdCalculate"};
    f.txtName->setFocus();
    QStringList visited {FocusName()};
    for (int i = 1; i < tabOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << FocusName();
    }
    QCOMPARE(visited, tabOrder);
    // Twice round the whole chain: never into the result screen.
    for (int i = 0; i < 50; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(!f.Frame2->isAncestorOf(QApplication::focusWidget()), qPrintable(FocusName()));
    }

    QVERIFY(TypeExampleReading(f));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    QSet<QString> reached;
    for (int i = 0; i < 50; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(!f.Frame1->isAncestorOf(QApplication::focusWidget()), qPrintable(FocusName()));
        reached.insert(FocusName());
    }
    QCOMPARE(reached, (QSet<QString> {"cmdChart", "cmdSave", "cmdBack"}));
}

void InputScreenTest::hiddenScreenTakesNoClicks()
{
    const Ui::frmMain& f = w->Form();
    const QPoint calculate = f.cmdCalculate->mapTo(&w->window, f.cmdCalculate->rect().center());
    QCOMPARE(w->window.childAt(calculate), f.cmdCalculate);
    QVERIFY(TypeExampleReading(f));
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY(w->window.ResultScreenInFront());
    QVERIFY(!f.cmdCalculate->isVisible());
    QVERIFY(!f.Frame1->isAncestorOf(w->window.childAt(calculate)));
    QVERIFY(!f.cmdOpen->isVisible());
}

// Key presses as X11 and as Qt Test spell them; control codes from ASCII.
void InputScreenTest::keyCharacterCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("letter a") << int(Qt::Key_A) << none << "a" << 97;
    QTest::newRow("shifted A") << int(Qt::Key_A) << int(Qt::ShiftModifier) << "A" << 65;
    QTest::newRow("full stop") << int(Qt::Key_Period) << none << "." << 46;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << int(Qt::KeypadModifier) << "5" << 53;
    QTest::newRow("e acute") << int(Qt::Key_Eacute) << none << QString(QChar(0xE9)) << 233;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8;
    QTest::newRow("Backspace without text") << int(Qt::Key_Backspace) << none << "" << 8;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "" << 127;
    QTest::newRow("Return") << int(Qt::Key_Return) << none << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "" << 27;
    QTest::newRow("Ctrl+C as X11") << int(Qt::Key_C) << ctrl << "\x03" << 3;
    QTest::newRow("Ctrl+C as Qt Test") << int(Qt::Key_C) << ctrl << "c" << 3;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << "\x16" << 22;
    QTest::newRow("Ctrl+Shift+X") << int(Qt::Key_X) << int(Qt::ControlModifier | Qt::ShiftModifier) << "" << 24;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t" << NotACharacter;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "" << NotACharacter;
    QTest::newRow("Left arrow") << int(Qt::Key_Left) << none << "" << NotACharacter;
    QTest::newRow("Home") << int(Qt::Key_Home) << none << "" << NotACharacter;
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << "" << NotACharacter;
}

void InputScreenTest::keyCharacterCode()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(KeyCharacterCode(key, Qt::KeyboardModifiers(modifiers), text), code);
}

void InputScreenTest::displayCheck_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("named");
    QTest::newRow("nothing set") << "-" << "-" << "-" << false;
    QTest::newRow("all empty") << "" << "" << "" << false;
    QTest::newRow("X display") << ":0" << "-" << "-" << true;
    QTest::newRow("Wayland") << "-" << "wayland-0" << "-" << true;
    QTest::newRow("offscreen platform") << "-" << "" << "offscreen" << true;
}

void InputScreenTest::displayCheck()
{
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QString, platform);
    QFETCH(bool, named);
    const auto value = [](const QString& v) { return v == QStringLiteral("-") ? QByteArray() : v.toUtf8(); };
    const QByteArray d = value(display), wl = value(wayland), p = value(platform);
    const auto pointer = [](const QByteArray& v) { return v.isNull() ? nullptr : v.constData(); };
    QCOMPARE(DisplayNamed(pointer(d), pointer(wl), pointer(p)), named);
}

QTEST_MAIN(InputScreenTest)
#include "InputScreenTest.moc"
