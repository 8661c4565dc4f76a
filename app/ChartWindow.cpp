#include "app/ChartWindow.h"

#include "app/ChartView.h"

#include "app/FormMapping.h"
#include "fullreading/FullReading.h"
#include "app/UserPrompts.h"
#include "chart/ChartFile.h"
#include "vedic/DetailsText.h"
#include "vedic/Varga.h"

#include <QBuffer>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QSvgRenderer>
#include <QSplitter>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <vector>

namespace halvaro::app {

namespace {

const QString WindowTitle = QStringLiteral("Rasi Chart");
const QString PictureTitle = QStringLiteral("Save Picture");
const QString PictureFilter = QStringLiteral("Pictures (*.svg *.png)");
const QString PictureSuffix = QStringLiteral("svg");
const QString AppTitle = QStringLiteral("Halvaro");
const QString WrongPictureName = QStringLiteral("Please choose a name ending in .svg or .png.");
const QString NotPrinted = QStringLiteral("The chart could not be printed.");
const QString NotDrawn = QStringLiteral("The picture could not be made; nothing was saved.");

// The window manager's frame around the window, which is not known before
// the window first shows: room for a title bar and borders thicker than
// most desktops draw.
constexpr QSize FrameAllowance(16, 48);
// About when a window manager has framed a window just shown.
constexpr int FrameKnownMs = 250;

// Twice the drawing's own size: sharp on screens of high density and on paper.
constexpr int PngScale = 2;

// The chart tabs, in order: the varga each draws, its caption with the
// access key, and its view's name.
struct ChartTab {
    int Varga;
    const char* Caption;
    const char* ViewName;
};
constexpr std::array<ChartTab, 2> ChartTabList {{
    {vedic::RasiVarga, "&Rasi", "svgChart"},
    {vedic::NavamsaVarga, "Nava&msa", "svgNavamsa"},
}};

const QStringList PositionColumns {QStringLiteral("Graha"), QStringLiteral("Position"), QStringLiteral("Nakshatra"),
    QStringLiteral("Pada"), QStringLiteral("Lord"), QStringLiteral("Navamsa"), QStringLiteral("Dignity"),
    QStringLiteral("R")};
const QStringList DashaColumns {QStringLiteral("Dasha"), QStringLiteral("Start"), QStringLiteral("End"), QString()};
const QString TodayMark = QStringLiteral("\u2190 today");
constexpr int TodayColumn = 3;

QString Lord(Graha graha)
{
    return FromUtf8(NamesOf(graha).Plain);
}

// A chart view in a scroll area, which scrolls only once the window is too
// small for the chart's text to stay legible.
QScrollArea* NewChartTab(QWidget* parent, ChartView* view, const QString& name)
{
    view->setObjectName(name);
    auto* area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(view);
    return area;
}

QStringList PositionRow(const vedic::GrahaDetails& row)
{
    const vedic::ZodiacPlace& place = row.Place;
    return {FromUtf8(row.Name), FromUtf8(vedic::PositionText(place)), FromUtf8(place.NakshatraName()),
        QString::number(place.Pada), Lord(place.NakshatraLord),
        FromUtf8(place.NavamsaName()),
        FromUtf8(vedic::DignityName(row.Dignity)), row.Retrograde ? QStringLiteral("R") : QString()};
}

QTreeWidgetItem* DashaItem(const vedic::DashaPeriod& period)
{
    return new QTreeWidgetItem(QStringList {Lord(period.Lord), FromUtf8(vedic::DateText(period.Start)),
        FromUtf8(vedic::DateText(period.End))});
}

void MarkToday(QTreeWidgetItem* item)
{
    item->setText(TodayColumn, TodayMark);
    for (int column = 0; column < DashaColumns.size(); ++column) {
        QFont font = item->font(column);
        font.setBold(true);
        item->setFont(column, font);
    }
}

} // namespace

std::optional<QByteArray> PictureBytes(const QByteArray& svg, const QString& path)
{
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return svg;
    }
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    QSvgRenderer renderer(svg);
    QImage image(renderer.defaultSize() * PngScale, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return QByteArray();
    }
    return png;
}

ChartWindow::ChartWindow(UserPrompts& userPrompts, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , prompts(userPrompts)
    , clock([] { return std::chrono::system_clock::now(); })
{
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(WindowTitle);
    tabCharts = new QTabWidget(this);
    tabCharts->setObjectName(QStringLiteral("tabCharts"));
    for (const ChartTab& tab : ChartTabList) {
        views.push_back(new ChartView(this));
        tabCharts->addTab(NewChartTab(this, views.back(), QString::fromLatin1(tab.ViewName)),
            QString::fromLatin1(tab.Caption));
    }
    svgs.resize(views.size());
    lastPicturePaths.resize(views.size());

    tblPositions = new QTableWidget(0, static_cast<int>(PositionColumns.size()), this);
    tblPositions->setObjectName(QStringLiteral("tblPositions"));
    tblPositions->setHorizontalHeaderLabels(PositionColumns);
    tblPositions->verticalHeader()->hide();
    tblPositions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPositions->setSelectionBehavior(QAbstractItemView::SelectRows);

    lblDasha = new QLabel(this);
    lblDasha->setObjectName(QStringLiteral("lblDasha"));
    lblDasha->setWordWrap(true);
    treDasha = new QTreeWidget(this);
    treDasha->setObjectName(QStringLiteral("treDasha"));
    treDasha->setHeaderLabels(DashaColumns);
    auto* dashaPage = new QWidget(this);
    auto* dashaLayout = new QVBoxLayout(dashaPage);
    dashaLayout->addWidget(lblDasha);
    dashaLayout->addWidget(treDasha, 1);

    tabTables = new QTabWidget(this);
    tabTables->setObjectName(QStringLiteral("tabTables"));
    tabTables->addTab(tblPositions, QStringLiteral("P&ositions"));
    tabTables->addTab(dashaPage, QStringLiteral("&Dasha"));

    workspace = new QSplitter(Qt::Horizontal, this);
    workspace->setChildrenCollapsible(false);
    workspace->addWidget(tabCharts);
    workspace->addWidget(tabTables);
    workspace->setStretchFactor(0, 1);
    workspace->setStretchFactor(1, 0);

    refusal = new QLabel(this);
    refusal->setObjectName(QStringLiteral("lblChartRefusal"));
    refusal->setWordWrap(true);
    refusal->setAlignment(Qt::AlignCenter);
    refusal->hide();

    optSouth = new QRadioButton(QStringLiteral("&South Indian"), this);
    optSouth->setObjectName(QStringLiteral("optSouth"));
    optSouth->setChecked(true);
    optNorth = new QRadioButton(QStringLiteral("&North Indian"), this);
    optNorth->setObjectName(QStringLiteral("optNorth"));
    cmdSavePicture = new QPushButton(QStringLiteral("Sa&ve Picture\u2026"), this);
    cmdSavePicture->setObjectName(QStringLiteral("cmdSavePicture"));
    cmdPrint = new QPushButton(QStringLiteral("&Print\u2026"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    auto* cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // As in the main window, Enter presses the focused button.
    for (QPushButton* button : {cmdSavePicture, cmdPrint, cmdClose}) {
        button->setAutoDefault(true);
    }

    buttonRow = new QWidget(this);
    auto* controls = new QHBoxLayout(buttonRow);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(optSouth);
    controls->addWidget(optNorth);
    controls->addStretch();
    controls->addWidget(cmdSavePicture);
    controls->addWidget(cmdPrint);
    controls->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(workspace, 1);
    layout->addWidget(refusal, 1);
    layout->addWidget(buttonRow);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(optSouth, &QRadioButton::toggled, this, &ChartWindow::Redraw);
    connect(cmdSavePicture, &QPushButton::clicked, this, &ChartWindow::SavePicture);
    connect(cmdPrint, &QPushButton::clicked, this, &ChartWindow::Print);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void ChartWindow::showEvent(QShowEvent* event)
{
    if (!fitted) {
        fitted = true;
        FitInto(screen()->availableGeometry());
        // Once the window manager has framed the window, its real frame
        // keeps the title bar on the screen too.
        QTimer::singleShot(FrameKnownMs, this, [this] { KeepFrameWithin(screen()->availableGeometry()); });
    }
    QWidget::showEvent(event);
}

void ChartWindow::KeepFrameWithin(const QRect& available)
{
    const QRect frame = frameGeometry();
    if (!isVisible() || frame.size() == size() || available.contains(frame)) {
        return; // not framed (yet), or framed within
    }
    const QSize margins = frame.size() - size();
    resize(size().boundedTo(available.size() - margins));
    const QSize outer = size() + margins;
    move(std::clamp(frame.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width())),
        std::clamp(frame.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height())));
}

void ChartWindow::FitInto(const QRect& available)
{
    ensurePolished();
    const QMargins margins = layout()->contentsMargins();
    const int below = layout()->spacing() + buttonRow->sizeHint().height() + margins.top() + margins.bottom();
    const int beside = margins.left() + margins.right() + workspace->handleWidth();
    const QSize room = available.size() - FrameAllowance;
    // The tab bar and frames around the chart's view.
    QWidget* page = tabCharts->currentWidget();
    const QSize chrome = page != nullptr ? tabCharts->sizeHint() - page->sizeHint() : QSize();
    const QSize wanted = views[ShownChart()]->sizeHint();
    const int tables = std::max(tablesWidth, tabTables->minimumSizeHint().width());

    // The chart keeps its proportions: as tall as the screen lets it be, as
    // wide as that height makes it, and narrower where the tables would
    // otherwise be cut, down to its least legible size.
    double scale = 1;
    if (wanted.height() > 0 && wanted.width() > 0) {
        const double least = double(views[ShownChart()]->minimumSizeHint().height()) / wanted.height();
        const double byHeight = double(room.height() - below - chrome.height()) / wanted.height();
        const double byWidth = double(room.width() - beside - tables - chrome.width()) / wanted.width();
        scale = std::min({1.0, byHeight, std::max(byWidth, least)});
    }
    const QSize chartSize = wanted.isEmpty() ? tabCharts->sizeHint() : (QSizeF(wanted) * scale).toSize() + chrome;
    const QSize size = QSize(chartSize.width() + beside + tables, chartSize.height() + below)
                           .expandedTo(minimumSizeHint())
                           .boundedTo(room);
    resize(size);
    workspace->setSizes({chartSize.width(), size.width() - beside - chartSize.width()});
    // Centred in the available area, the frame included.
    const QSize outer = size + FrameAllowance;
    move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
        available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void ChartWindow::SetClock(Clock now)
{
    clock = std::move(now);
    FillDasha();
}

const QByteArray& ChartWindow::Svg() const
{
    return svgs[ShownChart()];
}

std::size_t ChartWindow::ShownChart() const
{
    const int tab = tabCharts->currentIndex();
    return tab > 0 && static_cast<std::size_t>(tab) < views.size() ? static_cast<std::size_t>(tab) : 0;
}

chart::ChartStyle ChartWindow::Style() const
{
    return optNorth->isChecked() ? chart::ChartStyle::North : chart::ChartStyle::South;
}

std::optional<QString> ChartWindow::ShowReading(const Birth& birth, const fullreading::FullReading& reading)
{
    charts.clear();
    for (const ChartTab& tab : ChartTabList) {
        chart::ChartResult result = fullreading::ChartOf(birth, reading, tab.Varga);
        if (!result.Refusal.empty()) {
            charts.clear();
            refusal->setText(FromUtf8(result.Refusal));
            break;
        }
        charts.push_back(std::move(result.Data));
    }
    if (!charts.empty()) {
        setWindowTitle(WindowTitle + QStringLiteral(" \u2013 ") + FromUtf8(charts.front().Name));
    }
    FillPositions(!charts.empty() ? reading.Details : std::nullopt);
    dasha = !charts.empty() ? reading.Dasha : std::nullopt;
    FillDasha();
    Redraw();
    return !charts.empty() ? std::nullopt : std::optional<QString>(refusal->text());
}

void ChartWindow::FillPositions(const std::optional<vedic::ReadingDetails>& details)
{
    tblPositions->setRowCount(0);
    if (!details) {
        return;
    }
    std::vector<vedic::GrahaDetails> rows(details->Grahas.begin(), details->Grahas.end());
    if (details->Lagna) {
        rows.push_back(*details->Lagna);
    }
    tblPositions->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QStringList texts = PositionRow(rows[r]);
        for (int column = 0; column < texts.size(); ++column) {
            auto* cell = new QTableWidgetItem(texts[column]);
            if (rows[r].Speed) {
                cell->setToolTip(QStringLiteral("Daily motion %1\u00B0 a day").arg(*rows[r].Speed, 0, 'f', 4));
            }
            tblPositions->setItem(static_cast<int>(r), column, cell);
        }
    }
    // Every column readable without scrolling at the first size; the
    // splitter may still give the chart more, and the table then scrolls.
    tblPositions->resizeColumnsToContents();
    tablesWidth = tblPositions->horizontalHeader()->length() + 2 * tblPositions->frameWidth()
        + tblPositions->verticalScrollBar()->sizeHint().width() + (tabTables->sizeHint() - tblPositions->sizeHint()).width();
}

void ChartWindow::FillDasha()
{
    treDasha->clear();
    if (!dasha) {
        lblDasha->clear();
        return;
    }
    lblDasha->setText(FromUtf8(vedic::DashaHeading(dasha->YearDays)) + QStringLiteral("\nBalance at birth: ")
        + FromUtf8(vedic::BalanceText(dasha->Balance)));
    const std::optional<vedic::RunningDasha> running = vedic::RunningAt(*dasha, vedic::JulianDayOf(clock()));
    QTreeWidgetItem* today = nullptr;
    for (std::size_t m = 0; m < dasha->Periods.size(); ++m) {
        QTreeWidgetItem* maha = DashaItem(dasha->Periods[m].Period);
        treDasha->addTopLevelItem(maha);
        for (std::size_t a = 0; a < dasha->Periods[m].Sub.size(); ++a) {
            QTreeWidgetItem* antar = DashaItem(dasha->Periods[m].Sub[a]);
            maha->addChild(antar);
            if (running && running->Maha == m && running->Antar == a) {
                MarkToday(maha);
                MarkToday(antar);
                maha->setExpanded(true);
                today = antar;
            }
        }
    }
    for (int column = 0; column < DashaColumns.size(); ++column) {
        treDasha->resizeColumnToContents(column);
    }
    if (today != nullptr) {
        treDasha->setCurrentItem(today);
        treDasha->scrollToItem(today);
    }
}

void ChartWindow::Redraw()
{
    const bool drawn = !charts.empty();
    for (std::size_t tab = 0; tab < views.size(); ++tab) {
        svgs[tab] = drawn ? QByteArray::fromStdString(chart::ChartSvg(charts[tab], Style())) : QByteArray();
        views[tab]->load(svgs[tab]);
    }
    workspace->setVisible(drawn);
    refusal->setVisible(!drawn);
    cmdSavePicture->setEnabled(drawn);
    cmdPrint->setEnabled(drawn);
}

void ChartWindow::SavePicture()
{
    FileDialogRequest request;
    request.Title = PictureTitle;
    request.Filter = PictureFilter;
    request.DefaultSuffix = PictureSuffix;
    request.ProposedPath = lastPicturePaths[ShownChart()];
    request.ConfirmOverwrite = true;
    const std::optional<QString> path = prompts.ChooseSaveFile(this, request);
    if (!path) {
        return;
    }
    const std::optional<QByteArray> bytes = PictureBytes(Svg(), *path);
    if (!bytes || bytes->isEmpty()) {
        prompts.ShowMessage(this, bytes ? NotDrawn : WrongPictureName, AppTitle, MessageIcon::Error);
        return;
    }
    const std::filesystem::path target(QFile::encodeName(*path).toStdString());
    if (const auto failure = chart::SaveChartFile(target, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())))) {
        prompts.ShowMessage(this, FromUtf8(*failure), AppTitle, MessageIcon::Error);
        return;
    }
    lastPicturePaths[ShownChart()] = *path;
}

void ChartWindow::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<vedic::VargaRule> rule = vedic::VargaRuleOf(ChartTabList[ShownChart()].Varga);
    printer.setDocName(FromUtf8(rule ? rule->Name : std::string_view()) + QStringLiteral(" Chart")
        + (!charts.empty() ? QStringLiteral(" \u2013 ") + FromUtf8(charts.front().Name) : QString()));
    if (!prompts.ChoosePrinter(this, printer)) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompts.ShowMessage(this, NotPrinted, AppTitle, MessageIcon::Error);
        return;
    }
    QSvgRenderer renderer(Svg());
    // The whole drawing on the page, its proportions kept.
    QSizeF size = renderer.defaultSize();
    size.scale(painter.viewport().size(), Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
}

} // namespace halvaro::app
