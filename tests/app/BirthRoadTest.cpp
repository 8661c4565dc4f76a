#include "WindowDriver.h"

#include "cli/BirthFields.h"
#include "cli/CommandLine.h"
#include "core/Calendar.h"

#include <QtTest>

#include <cmath>
#include <string_view>
#include <vector>

using namespace halvaro;
using namespace halvaro::app;
using namespace halvaro::app::testing;

namespace {

// Every field of a checked birth, the coordinates to the last bit.
QString BirthText(const Birth& b)
{
    return QStringLiteral("%1|%2|%3|%4|%5-%6-%7 %8:%9|%10 min %11 s|zone %12%13|%14|%15|%16")
        .arg(QString::fromStdString(b.Name), QString::fromStdString(b.City), QString::fromStdString(b.State),
            QString::fromStdString(b.Country))
        .arg(b.Local.Year)
        .arg(b.Local.Month)
        .arg(b.Local.Day)
        .arg(b.Local.Hour)
        .arg(b.Local.Minute)
        .arg(b.UtcOffsetMinutes)
        .arg(b.UtcOffsetExtraSeconds)
        .arg(b.Zone ? b.Zone->Position : -1)
        .arg(b.Zone && b.Zone->DaylightSaving ? QStringLiteral(" DST") : QString())
        .arg(QString::fromStdString(b.TimeZone))
        .arg(b.LatitudeDeg, 0, 'g', 17)
        .arg(b.LongitudeDeg, 0, 'g', 17);
}

} // namespace

// A birth given to the window and the same birth given to halvaro-cli reach
// the same Birth, field for field.
class BirthRoadTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndCommandLineAgree_data();
    void windowAndCommandLineAgree();
};

// Offsets from the tz database (zdump -v and Python's zoneinfo over Debian
// tzdata 2025b): Asia/Kolkata +05:30 in 1975, Asia/Kathmandu +05:45 in 1990
// and its local mean time +05:41:16 (20476 s) until 1920. Coordinates from
// GeoNames, Kathmandu 27.70169 N 85.3206 E, to the minute. Julian days of
// the moments in Universal Time (05:00, 06:15, 06:18:44), from 2451545.0 at
// 2000-01-01 12:00 UT by Python's datetime arithmetic.
void BirthRoadTest::windowAndCommandLineAgree_data()
{
    QTest::addColumn<QString>("found");     // typed into Find Place; empty: the New Delhi boxes, Indian Time
    QTest::addColumn<QStringList>("picks"); // day, month, year, hour, minute
    QTest::addColumn<QStringList>("cli");   // besides --name "Asha Rao"
    QTest::addColumn<int>("offsetSeconds");
    QTest::addColumn<int>("zoneEntry"); // -1: none gives the offset
    QTest::addColumn<QString>("timeZone");
    QTest::addColumn<double>("julianDay");
    const QStringList delhi {"--lat", "28:39N", "--lon", "77:13E", "--city", "New Delhi", "--state", "Delhi",
        "--country", "India", "--date", "1975-06-15", "--time", "10:30"};
    const QStringList june1975 {"15", "June", "1975", "10", "30"};
    QTest::newRow("New Delhi by zone 34") << QString() << june1975 << delhi + QStringList {"--zone", "34"} << 19800
                                          << 34 << QString() << 2442578.7083333335;
    QTest::newRow("New Delhi by offset") << QString() << june1975 << delhi + QStringList {"--utc-offset", "+05:30"}
                                         << 19800 << 34 << QString() << 2442578.7083333335;
    QTest::newRow("Kathmandu 1990 by place and zone")
        << "Kathm" << QStringList {"15", "June", "1990", "12", "0"}
        << QStringList {"--place", "Kathmandu", "--tz", "Asia/Kathmandu", "--date", "1990-06-15", "--time", "12:00"}
        << 20700 << -1 << "Asia/Kathmandu" << 2448057.7604166665;
    QTest::newRow("Kathmandu 1910 local mean time")
        << "Kathm" << QStringList {"15", "June", "1910", "12", "0"}
        << QStringList {"--place", "Kathmandu", "--date", "1910-06-15", "--time", "12:00"} << 20476 << -1
        << "Asia/Kathmandu" << 2418837.7630092595;
}

void BirthRoadTest::windowAndCommandLineAgree()
{
    QFETCH(QString, found);
    QFETCH(QStringList, picks);
    QFETCH(QStringList, cli);

    WindowUnderTest w;
    const Ui::frmMain& f = w.Form();
    if (found.isEmpty()) {
        QVERIFY(TypeExampleReading(f));
    } else {
        QTest::keyClicks(f.txtName, QStringLiteral("Asha Rao"));
        QVERIFY(Pick(f.cboDate, picks[0]) && Pick(f.cboMonth, picks[1]) && Pick(f.cboYear, picks[2])
            && Pick(f.cboHour, picks[3]) && Pick(f.cboMinute, picks[4]));
        w.prompts.AnswerFindPlace(found);
        QTest::mouseClick(f.cmdFindPlace, Qt::LeftButton);
    }
    QTest::mouseClick(f.cmdCalculate, Qt::LeftButton);
    QVERIFY2(w.window.ResultScreenInFront(), qPrintable(w.prompts.TakeCalls().join('\n')));
    const Birth& window = w.window.ShownBirth();

    std::vector<std::string> words {"--name", "Asha Rao"};
    for (const QString& word : cli) {
        words.push_back(word.toStdString());
    }
    const std::vector<std::string_view> args(words.begin(), words.end());
    const cli::ParseResult parsed = cli::ParseCommandLine(args);
    QVERIFY2(parsed.Parsed, parsed.Error.c_str());
    const cli::AtlasOnce places;
    atlas::ZoneCache zones;
    const cli::ResolvedBirth commandLine = cli::ResolveBirth(parsed.Parsed->Request, places, zones, parsed.Parsed->Chosen);
    QVERIFY2(!commandLine.Error, commandLine.Error ? commandLine.Error->c_str() : "");

    QCOMPARE(BirthText(window), BirthText(commandLine.Value));
    QTEST(UtcOffsetSecondsOf(window), "offsetSeconds");
    QTEST(window.Zone ? window.Zone->Position : -1, "zoneEntry");
    QTEST(QString::fromStdString(window.TimeZone), "timeZone");
    QFETCH(double, julianDay);
    // A thousandth of a second: the seconds of the offset reach the moment.
    QVERIFY2(std::fabs(BirthMomentOf(window).JulianDay - julianDay) < 1e-3 / 86400,
        qPrintable(QString::number(BirthMomentOf(window).JulianDay, 'f', 10)));
}

QTEST_MAIN(BirthRoadTest)
#include "BirthRoadTest.moc"
