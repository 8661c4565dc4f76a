#include "WindowDriver.h"

#include "app/ChartWindow.h"
#include "chart/ChartSvg.h"
#include "tests/common/ReferenceBirths.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <memory>

using namespace halvaro;
using namespace halvaro::app;
using namespace halvaro::app::testing;

namespace {

struct SvgText {
    QPointF At;
    QString Text;
};

// The texts of an SVG document with where they stand, or an empty list and
// the parser's complaint when it is not well-formed XML.
QList<SvgText> ParsedTexts(const QByteArray& svg, QString& error)
{
    QList<SvgText> texts;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("text")) {
            const QPointF at(xml.attributes().value("x").toDouble(), xml.attributes().value("y").toDouble());
            texts.append({at, xml.readElementText()});
        }
    }
    if (xml.hasError()) {
        error = xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber());
        return {};
    }
    return texts;
}

// The texts inside a square cell, or inside a diamond around its centre.
QStringList TextsIn(const QList<SvgText>& texts, QPointF centre, double half, bool diamond)
{
    QStringList inside;
    for (const SvgText& t : texts) {
        const double dx = std::fabs(t.At.x() - centre.x());
        const double dy = std::fabs(t.At.y() - centre.y());
        if (diamond ? dx + dy < half : dx < half && dy < half) {
            inside << t.Text;
        }
    }
    return inside;
}

QString Error(const QString& text)
{
    return FakeUserPrompts::Message(MessageIcon::Error, text);
}

FileDialogRequest PictureRequest(const QString& proposed)
{
    return {QStringLiteral("Save Picture"), QStringLiteral("Pictures (*.svg *.png)"), QStringLiteral("svg"), proposed,
        true, false};
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString Degree = QString::fromUtf8("\xC2\xB0");

} // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void svgIsWellFormedAndPlacesTheSigns_data();
    void svgIsWellFormedAndPlacesTheSigns();
    void chartButtonFitsBeforeSave();
    void chartOpensFollowsAndSwitches();
    void savePicture_data();
    void savePicture();
    void print_data();
    void print();
    void longResultLineHasItsTextAsTooltip();

private:
    bool Calculate();

    std::unique_ptr<WindowUnderTest> w;
    std::unique_ptr<QTemporaryDir> folder;
};

void ChartWindowTest::init()
{
    w = std::make_unique<WindowUnderTest>();
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QVERIFY(ShowAndActivate(*w));
}

void ChartWindowTest::cleanup()
{
    const QStringList left = w->prompts.Leftovers();
    w.reset();
    folder.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
}

bool ChartWindowTest::Calculate()
{
    if (!TypeExampleReading(w->Form())) {
        return false;
    }
    QTest::mouseClick(w->Form().cmdCalculate, Qt::LeftButton);
    return w->window.ResultScreenInFront() && w->prompts.TakeCalls().isEmpty();
}

// The Delhi reading's published positions: Me and Ke (05 Tau 24, opposite
// Rahu's 05 Sco 24) in Taurus, Ra in Scorpio; its Lagna, 5°55' Leo, from an
// independent evaluation (see the chart tests). South Indian cells (chart
// units, margin 20, cells of 150): Taurus third from the left in the top row,
// Leo third from the top in the right column, Scorpio second from the left in
// the bottom row. North Indian houses from Leo: house 1 (top diamond) holds
// sign 5, house 4 (left diamond) sign 8 Scorpio, house 10 (right diamond)
// sign 2 Taurus.
void ChartWindowTest::svgIsWellFormedAndPlacesTheSigns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("style");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<bool>("diamond");
    QTest::addColumn<QStringList>("inside");
    const QString hostile = QStringLiteral("<&\">");
    const QString lagna = QStringLiteral("Lagna 05") + Degree + QStringLiteral("55'");
    const QString mo = QStringLiteral("Mo 11") + Degree + QStringLiteral("08'");
    const QString me = QStringLiteral("Me 23") + Degree + QStringLiteral("42'");
    const QString ke = QStringLiteral("Ke 05") + Degree + QStringLiteral("24'");
    const QString ra = QStringLiteral("Ra 05") + Degree + QStringLiteral("24'");
    const int south = static_cast<int>(chart::ChartStyle::South);
    const int north = static_cast<int>(chart::ChartStyle::North);
    QTest::newRow("south Taurus") << "Asha Rao" << south << QPointF(395, 95) << false
                                  << QStringList {"Vrishabha", me, ke};
    QTest::newRow("south Leo, the Lagna") << "Asha Rao" << south << QPointF(545, 395) << false
                                          << QStringList {"Simha", lagna, mo};
    QTest::newRow("south Scorpio, hostile name") << hostile << south << QPointF(245, 545) << false
                                                 << QStringList {"Vrischika", ra};
    QTest::newRow("north house 1") << "Asha Rao" << north << QPointF(320, 170) << true
                                   << QStringList {"5", lagna, mo};
    QTest::newRow("north house 4") << "Asha Rao" << north << QPointF(170, 320) << true << QStringList {"8", ra};
    QTest::newRow("north house 10, hostile name") << hostile << north << QPointF(470, 320) << true
                                                  << QStringList {"2", me, ke};
}

void ChartWindowTest::svgIsWellFormedAndPlacesTheSigns()
{
    QFETCH(QString, name);
    QFETCH(int, style);
    QFETCH(QPointF, centre);
    QFETCH(bool, diamond);
    QFETCH(QStringList, inside);
    Birth birth = halvaro::testing::BirthOf(halvaro::testing::Delhi1975());
    birth.Name = Utf8(name);
    const chart::ChartResult chart = chart::MakeChart(birth, CalculateReading(birth).Value);
    QCOMPARE(QString::fromStdString(chart.Refusal), QString());
    const auto svg = QByteArray::fromStdString(chart::ChartSvg(chart.Data, static_cast<chart::ChartStyle>(style)));

    QString error;
    const QList<SvgText> texts = ParsedTexts(svg, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(QSvgRenderer(svg).isValid());
    QStringList all;
    for (const SvgText& t : texts) {
        all << t.Text;
    }
    const QString title = style == static_cast<int>(chart::ChartStyle::South) ? QStringLiteral("South Indian")
                                                                             : QStringLiteral("North Indian");
    QVERIFY2(all.contains(QStringLiteral("Rasi chart (%1) of %2").arg(title, name)), qPrintable(all.join('|')));
    QCOMPARE(TextsIn(texts, centre, diamond ? 150 : 75, diamond), inside);
}

void ChartWindowTest::chartButtonFitsBeforeSave()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(Calculate());
    QCOMPARE(f.cmdChart->parentWidget(), f.Frame2);
    QCOMPARE(f.cmdChart->y(), f.cmdSave->y());
    QCOMPARE(f.cmdChart->height(), f.cmdSave->height());
    // The same gap as between Save and Back, and the caption fits.
    QCOMPARE(f.cmdSave->x() - f.cmdChart->geometry().right(), f.cmdBack->x() - f.cmdSave->geometry().right());
    QVERIFY2(f.cmdChart->sizeHint().width() <= f.cmdChart->width(), qPrintable(QString::number(f.cmdChart->sizeHint().width())));
    for (const QLabel* label : w->window.Controls().lblPlanets_Position) {
        QVERIFY(!label->geometry().intersects(f.cmdChart->geometry()));
    }

    f.cmdChart->setFocus();
    QTest::keyClick(f.cmdChart, Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("cmdSave"));
    QTest::keyClick(f.cmdSave, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(FocusName(), QStringLiteral("cmdChart"));

    // Alt+C on the result screen belongs to the chart alone.
    QVERIFY(w->window.Chart() == nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    // A mnemonic clicks its button a moment later, as a click shows.
    QTRY_VERIFY(w->window.Chart() != nullptr && w->window.Chart()->isVisible());
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

void ChartWindowTest::chartOpensFollowsAndSwitches()
{
    const Ui::frmMain& f = w->Form();
    QVERIFY(!f.mnuChart->isEnabled());
    QVERIFY(Calculate());
    QVERIFY(f.mnuChart->isEnabled());
    f.mnuChart->trigger();
    ChartWindow* chart = w->window.Chart();
    QVERIFY(chart != nullptr && chart->isVisible());
    QVERIFY(chart->Svg().contains("Rasi chart (South Indian) of Asha Rao"));

    QTest::mouseClick(chart->NorthButton(), Qt::LeftButton);
    QVERIFY(chart->Svg().contains("Rasi chart (North Indian) of Asha Rao"));

    // A recalculation redraws the open chart, in the style chosen.
    f.txtName->clear();
    QTest::keyClicks(f.txtName, QStringLiteral("Ravi Rao"));
    f.mnuCalculate->trigger();
    QVERIFY(chart->Svg().contains("Rasi chart (North Indian) of Ravi Rao"));
    QCOMPARE(w->prompts.TakeCalls(), QStringList());
}

void ChartWindowTest::savePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("starts");
    QTest::addColumn<QString>("message");
    QTest::newRow("svg") << "chart.svg" << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ") << QString();
    QTest::newRow("png") << "chart.PNG" << QByteArray("\x89PNG\r\n\x1a\n") << QString();
    QTest::newRow("other") << "chart.jpg" << QByteArray()
                           << Error(QStringLiteral("Please choose a name ending in .svg or .png."));
    QTest::newRow("cancelled") << "" << QByteArray() << QString();
    QTest::newRow("no folder") << "gone/chart.svg" << QByteArray()
                               << Error(QStringLiteral("The chart could not be saved to \"%1/gone/chart.svg\": the "
                                                       "folder \"%1/gone\" does not exist."));
}

void ChartWindowTest::savePicture()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, starts);
    QFETCH(QString, message);
    QVERIFY(Calculate());
    QTest::mouseClick(w->Form().cmdChart, Qt::LeftButton);
    ChartWindow* chart = w->window.Chart();
    QVERIFY(chart != nullptr);
    const QString path = folder->filePath(file);
    w->prompts.AnswerSaveDialog(file.isEmpty() ? std::nullopt : std::optional<QString>(path));
    QTest::mouseClick(chart->SaveButton(), Qt::LeftButton);
    QStringList expected {FakeUserPrompts::Dialog(QStringLiteral("save"), PictureRequest({}))};
    if (!message.isEmpty()) {
        expected << (message.contains(QStringLiteral("%1")) ? message.arg(folder->path()) : message);
    }
    QCOMPARE(w->prompts.TakeCalls(), expected);
    const QByteArray bytes = FileBytes(path);
    QVERIFY2(bytes.startsWith(starts) && bytes.isEmpty() == starts.isEmpty(), bytes.left(40).constData());
    if (file.endsWith(QStringLiteral("PNG"))) {
        // Rendered at twice the drawing's size.
        QCOMPARE(QImage::fromData(bytes).size(), QSvgRenderer(chart->Svg()).defaultSize() * 2);
    }
    if (!starts.isEmpty()) {
        // The next save proposes the file just written.
        w->prompts.AnswerSaveDialog(std::nullopt);
        QTest::mouseClick(chart->SaveButton(), Qt::LeftButton);
        QCOMPARE(w->prompts.TakeCalls(), QStringList {FakeUserPrompts::Dialog(QStringLiteral("save"), PictureRequest(path))});
    }
}

void ChartWindowTest::print_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("printed") << true;
    QTest::newRow("cancelled") << false;
}

void ChartWindowTest::print()
{
    QFETCH(bool, accepted);
    QVERIFY(Calculate());
    QTest::mouseClick(w->Form().cmdChart, Qt::LeftButton);
    const QString pdf = folder->filePath(QStringLiteral("chart.pdf"));
    w->prompts.AnswerPrintDialog(accepted ? std::optional<QString>(pdf) : std::nullopt);
    QTest::mouseClick(w->window.Chart()->PrintButton(), Qt::LeftButton);
    QCOMPARE(w->prompts.TakeCalls(), QStringList {QStringLiteral("print dialog")});
    const QByteArray bytes = FileBytes(pdf);
    QCOMPARE(bytes.startsWith("%PDF-"), accepted);
    // The drawing is on the page: the same printer's PDF of an empty page
    // is 1171 bytes; the chart's lines and lettering come to hundreds of KB.
    QCOMPARE(bytes.size() > 100000, accepted);
}

void ChartWindowTest::longResultLineHasItsTextAsTooltip()
{
    // Seven grahas in one sign: the longest list of grahas a line can hold.
    modVedicGrahaDrishti::ResultTexts results;
    const QString longLine = QStringLiteral(
        "Planet(s) aspected by Saturn is Sun, Moon, Mercury, Venus, Mars, Jupiter, North Node.");
    results.lblAspects_Planets[6] = LabelText(Utf8(longLine));
    results.lblAspects_Planets[0] = LabelText("Planet Sun has no Graha Drishti.");
    WriteResultLabels(w->window.Controls(), results);
    const ControlArrays& c = w->window.Controls();
    QCOMPARE(c.lblAspects_Planets[6]->text(), longLine);
    QCOMPARE(c.lblAspects_Planets[6]->toolTip(), longLine);
    QCOMPARE(c.lblAspects_Planets[0]->toolTip(), QString());
}

QTEST_MAIN(ChartWindowTest)
#include "ChartWindowTest.moc"
