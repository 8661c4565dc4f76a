#include "app/FindPlaceDialog.h"
#include "ui_FindPlaceDialog.h"

#include <QPushButton>
#include <QTest>

using namespace halvaro;
using namespace halvaro::app;

class FindPlaceDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void TypedStartPicksThePlace_data();
    void TypedStartPicksThePlace();
    void WithoutCityDataSaysSo();
    void NoMatchOffersTheClosestNames();

private:
    atlas::AtlasLoad system;
};

void FindPlaceDialogTest::initTestCase()
{
    system = atlas::LoadAtlas();
    QVERIFY2(system.Loaded.has_value(), system.Error.c_str());
}

// Coordinates from GeoNames (geonames.org): Kathmandu 27.70169 N 85.3206 E,
// Tromsø 69.6489 N 18.95508 E, São Paulo 23.5475 S 46.63611 W; in whole
// degrees and minutes rounded to the minute. Names beyond ASCII come back in
// plain Latin letters, as a reading file can hold them.
void FindPlaceDialogTest::TypedStartPicksThePlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("latitude");  // degrees, minutes, N or S
    QTest::addColumn<QStringList>("longitude"); // degrees, minutes, E or W
    QTest::addColumn<QString>("zone");
    QTest::newRow("Kathm") << "Kathm" << "Kathmandu" << "Bagmati Province" << QStringList {"27", "42", "N"}
                           << QStringList {"85", "19", "E"} << "Asia/Kathmandu";
    QTest::newRow("Troms") << "Troms" << "Tromso" << "Troms og Finnmark" << QStringList {"69", "39", "N"}
                           << QStringList {"18", "57", "E"} << "Europe/Oslo";
    // Mumbai in GeoNames (id 1275339): 19.07283 N, 72.88261 E, found by its former name.
    QTest::newRow("Bombay") << "Bombay" << "Mumbai" << "Maharashtra" << QStringList {"19", "4", "N"}
                            << QStringList {"72", "53", "E"} << "Asia/Kolkata";
    QTest::newRow("sao paulo") << "sao paulo" << "Sao Paulo" << "Sao Paulo" << QStringList {"23", "33", "S"}
                               << QStringList {"46", "38", "W"} << "America/Sao_Paulo";
}

void FindPlaceDialogTest::TypedStartPicksThePlace()
{
    QFETCH(QString, typed);
    FindPlaceDialog dialog(system);
    dialog.show();
    QTest::keyClicks(dialog.Form().txtPlace, typed);
    QVERIFY(dialog.Form().lstPlaces->topLevelItemCount() > 0);
    dialog.Form().buttonBox->button(QDialogButtonBox::Ok)->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Chosen().has_value());
    const BirthData& found = dialog.Chosen()->Boxes;
    QTEST(QString::fromStdString(found.City), "city");
    QTEST(QString::fromStdString(found.State), "state");
    QTEST((QStringList {QString::fromStdString(found.LatDeg), QString::fromStdString(found.LatMin),
              found.South ? "S" : "N"}),
        "latitude");
    QTEST((QStringList {QString::fromStdString(found.LonDeg), QString::fromStdString(found.LonMin),
              found.West ? "W" : "E"}),
        "longitude");
    QTEST(QString::fromStdString(dialog.Chosen()->Place.TimeZone), "zone");
}

void FindPlaceDialogTest::WithoutCityDataSaysSo()
{
    const atlas::AtlasLoad none = atlas::MakeAtlas({});
    FindPlaceDialog dialog(none);
    QCOMPARE(dialog.Form().lblStatus->text(), QString::fromStdString(none.Error));
    QVERIFY(!dialog.Form().txtPlace->isEnabled());
    QVERIFY(!dialog.Form().buttonBox->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.Form().cmdWebSearch->click();
    QVERIFY(dialog.WebSearchAsked());
    QVERIFY(!dialog.Chosen().has_value());
}

// A misspelt name: the closest names are listed, Mumbai first (its former
// name one letter off), then Gombe in Nigeria; with the country typed after
// a comma, only that country's, as long as it has five; none is chosen for
// the user.
void FindPlaceDialogTest::NoMatchOffersTheClosestNames()
{
    for (const QString& typed : {QStringLiteral("Bombey"), QStringLiteral("Bombey, India")}) {
        FindPlaceDialog dialog(system);
        dialog.show();
        QTest::keyClicks(dialog.Form().txtPlace, typed);
        QCOMPARE(dialog.Form().lblStatus->text(),
            QStringLiteral("No city of the atlas starts with \"%1\"; the closest names are listed.").arg(typed));
        const QTreeWidget* rows = dialog.Form().lstPlaces;
        QCOMPARE(rows->topLevelItemCount(), 5);
        QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("Mumbai"));
        QStringList countries;
        for (int row = 0; row < rows->topLevelItemCount(); ++row) {
            countries << rows->topLevelItem(row)->text(2);
        }
        QCOMPARE(countries.count(QStringLiteral("India")) == 5, typed.contains(QLatin1Char(',')));
        QVERIFY(!dialog.Form().buttonBox->button(QDialogButtonBox::Ok)->isEnabled());
    }
}

QTEST_MAIN(FindPlaceDialogTest)
#include "FindPlaceDialogTest.moc"

