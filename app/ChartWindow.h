#pragma once

#include "fullreading/FullReading.h"
#include "chart/ChartData.h"
#include "chart/ChartSvg.h"
#include "core/Birth.h"
#include "vedic/Vimshottari.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

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
// chart list (the Rasi and the Navamsa) with the South/North switch, saving and printing the chart in front; beside
// them the positions table and the Vimshottari dasha with today's period
// marked. The main window hands it each new reading, so an open window
// follows recalculation.
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
    [[nodiscard]] std::size_t ShownChart() const;
    void SavePicture();
    void Print();

    UserPrompts& prompts;
    Clock clock;
    // One of each for every chart tab, in the tabs' order; no charts when
    // the reading has none.
    std::vector<chart::ChartData> charts;
    std::vector<QByteArray> svgs;
    std::vector<QString> lastPicturePaths;
    std::vector<ChartView*> views;
    std::optional<vedic::VimshottariDasha> dasha;
    QSplitter* workspace = nullptr;
    QTabWidget* tabCharts = nullptr;
    QTabWidget* tabTables = nullptr;
    QTableWidget* tblPositions = nullptr;
    QTreeWidget* treDasha = nullptr;
    QLabel* lblDasha = nullptr;
    QLabel* refusal = nullptr;
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
