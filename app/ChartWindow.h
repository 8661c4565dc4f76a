#pragma once

#include "fullreading/FullReading.h"
#include "chart/ChartData.h"
#include "chart/ChartSvg.h"
#include "core/Birth.h"
#include "matching/Matching.h"
#include "vedic/Vimshottari.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace halvaro::app {

class ChartView;
class UserPrompts;

// The reading's workspace in its own window: a tab for each varga of the
// chart list (the Rasi and the Navamsa), the chart of the sarva bindus, one
// for any varga a chooser names and one for the bhava chalit chart in the
// houses a chooser names, with the South/North switch, saving and printing the
// chart in front; beside them the positions table, the vargas with the
// Vimshopaka strength, the Vimshottari dasha to the pratyantars and the Yogini
// dasha with today's periods marked, the ashtakavarga's tables under the table
// of benefic places chosen, the panchanga at birth, and the kundli match with a
// second reading, this reading the boy's or the girl's: "Match With…" opens
// the other's file, or "Keep As The Other Reading" keeps the one shown, to be
// matched with the next one typed or found in the atlas. The main window hands
// it each new reading, so an open window follows recalculation, the match
// included.
class ChartWindow : public QWidget {
    Q_OBJECT

public:
    // Where "today" comes from: the system clock, unless a test fixes it.
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    ChartWindow(UserPrompts& prompts, QWidget* parent);

    // Draws the charts and fills the tables of a reading; a place no chart
    // can have shows its message instead, and the refusal is returned.
    std::optional<QString> ShowReading(const Birth& birth, const fullreading::FullReading& reading);
    // Marks the dasha running at the clock's now again.
    void SetClock(Clock now);
    // Sizes and places the window within a screen's available area: the
    // chart whole, as large as its text wants where the screen has room,
    // the tables beside it and the buttons below. Done when it first shows.
    void FitInto(const QRect& available);

    // The chart on the chart tab in front, as drawn.
    [[nodiscard]] const QByteArray& Svg() const;
    [[nodiscard]] chart::ChartStyle Style() const;
    [[nodiscard]] QRadioButton* SouthButton() const { return optSouth; }
    [[nodiscard]] QRadioButton* NorthButton() const { return optNorth; }
    [[nodiscard]] QPushButton* SaveButton() const { return cmdSavePicture; }
    [[nodiscard]] QPushButton* PrintButton() const { return cmdPrint; }
    [[nodiscard]] QTabWidget* ChartTabs() const { return tabCharts; }
    [[nodiscard]] QTabWidget* TableTabs() const { return tabTables; }
    [[nodiscard]] QTableWidget* PositionsTable() const { return tblPositions; }
    [[nodiscard]] QTreeWidget* DashaTree() const { return treDasha; }
    [[nodiscard]] QLabel* DashaNote() const { return lblDasha; }
    [[nodiscard]] QPushButton* MatchButton() const { return cmdMatch; }
    [[nodiscard]] QCheckBox* GirlSwitch() const { return chkGirl; }
    [[nodiscard]] QPushButton* KeepButton() const { return cmdKeep; }
    [[nodiscard]] QTableWidget* MatchTable() const { return tblMatch; }
    [[nodiscard]] QLabel* MatchNote() const { return lblMatch; }
    [[nodiscard]] QTableWidget* PanchangaTable() const { return tblPanchanga; }
    [[nodiscard]] QLabel* PanchangaNote() const { return lblPanchanga; }
    [[nodiscard]] QTreeWidget* YoginiTree() const { return treYogini; }
    [[nodiscard]] QComboBox* AshtakavargaTableChoice() const { return cboAshtakavargaTable; }
    [[nodiscard]] QComboBox* AshtakavargaStepChoice() const { return cboAshtakavargaStep; }
    [[nodiscard]] QTableWidget* AshtakavargaTable() const { return tblAshtakavarga; }
    [[nodiscard]] QTableWidget* PindasTable() const { return tblPindas; }
    [[nodiscard]] QComboBox* VargaChooser() const { return cboVarga; }
    [[nodiscard]] QComboBox* HousesChooser() const { return cboHouses; }
    [[nodiscard]] QLabel* HousesNote() const { return lblHouses; }
    [[nodiscard]] QTableWidget* VargasTable() const { return tblVargas; }
    [[nodiscard]] QSplitter* Workspace() const { return workspace; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Redraw();
    // Moves the framed window back within the available area, smaller if
    // its frame is larger than the allowance FitInto made for it.
    void KeepFrameWithin(const QRect& available);
    void FillPositions(const std::optional<vedic::ReadingDetails>& details);
    void FillDasha();
    void FillPanchanga(const fullreading::FullReading* reading);
    void FillYogini();
    // Counts the ashtakavarga again under the table chosen, redraws its chart
    // and fills its tables.
    void ShowAshtakavarga();
    void FillAshtakavargaTables();
    void FillVargas(const fullreading::FullReading& reading);
    void ChooseVarga();
    void ChooseHouses();
    void EnableChartButtons();
    [[nodiscard]] std::size_t ShownChart() const;
    void SavePicture();
    void Print();
    void MatchWith();
    void FillMatch();

    UserPrompts& prompts;
    Clock clock;
    // One of each for every chart tab, in the tabs' order; no charts when
    // the reading has none.
    std::vector<chart::ChartData> charts;
    std::vector<QByteArray> svgs;
    std::vector<QString> lastPicturePaths;
    std::vector<ChartView*> views;
    std::optional<vedic::VimshottariDasha> dasha;
    // The reading shown, and the other reading's birth once chosen; the
    // chosen varga, the houses and the chart of bindus (the ashtakavarga of
    // the table chosen) are drawn from it.
    std::optional<Birth> shownBirth;
    std::optional<fullreading::FullReading> shownReading;
    std::optional<Birth> partnerBirth;
    std::optional<vedic::YoginiDasha> yogini;
    std::optional<ashtakavarga::Ashtakavarga> ashtakavargaShown;
    QComboBox* cboVarga = nullptr;
    QComboBox* cboHouses = nullptr;
    QLabel* lblHouses = nullptr; // why the chosen houses have no chart; hidden when they have one
    QTableWidget* tblVargas = nullptr;
    QSplitter* workspace = nullptr;
    QTabWidget* tabCharts = nullptr;
    QTabWidget* tabTables = nullptr;
    QTableWidget* tblPositions = nullptr;
    QTreeWidget* treDasha = nullptr;
    QLabel* lblDasha = nullptr;
    QTableWidget* tblPanchanga = nullptr;
    QLabel* lblPanchanga = nullptr;
    QTreeWidget* treYogini = nullptr;
    QLabel* lblYogini = nullptr;
    QComboBox* cboAshtakavargaTable = nullptr;
    QComboBox* cboAshtakavargaStep = nullptr;
    QLabel* lblAshtakavarga = nullptr;
    QTableWidget* tblAshtakavarga = nullptr;
    QTableWidget* tblPindas = nullptr;
    QLabel* refusal = nullptr;
    QTableWidget* tblMatch = nullptr;
    QLabel* lblMatch = nullptr;
    QCheckBox* chkGirl = nullptr;
    QPushButton* cmdMatch = nullptr;
    QPushButton* cmdKeep = nullptr;
    QRadioButton* optSouth = nullptr;
    QRadioButton* optNorth = nullptr;
    QPushButton* cmdSavePicture = nullptr;
    QPushButton* cmdPrint = nullptr;
    QWidget* buttonRow = nullptr;
    int tablesWidth = 0; // the positions table with every column whole
    bool fitted = false;
};

// The picture's bytes for a file name: SVG as drawn, PNG rendered at twice
// the drawing's size; nothing for any other extension.
std::optional<QByteArray> PictureBytes(const QByteArray& svg, const QString& path);

} // namespace halvaro::app
