#include "app/ChartWindow.h"

#include "app/ChartView.h"

#include "app/FormMapping.h"
#include "fullreading/FullReading.h"
#include "app/UserPrompts.h"
#include "chart/ChartFile.h"
#include "core/InputChecks.h"
#include "readings/ReadingFile.h"
#include "panchanga/PanchangaText.h"
#include "core/SignPosition.h"
#include "vedic/DetailsText.h"
#include "vargas/Vargas.h"
#include "vedic/Varga.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
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
const QString MatchTitle = QStringLiteral("Match With");
const QString ReadingFilter = QStringLiteral("Halvaro (*.aha)");
const QString NoPartner = QStringLiteral("\"Match With\u2026\" chooses the other reading's file; \"Keep As The Other "
                                         "Reading\" keeps this one, to match it with the next reading you calculate. "
                                         "This reading is the boy's, or the girl's when ticked.");
const QStringList MatchColumns {QStringLiteral("Kuta"), QStringLiteral("Points"), QStringLiteral("Max"),
    QStringLiteral("Reason")};

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
    bool Bindus; // the sarva ashtakavarga's chart, in the Rasi
};
constexpr std::array<ChartTab, 3> ChartTabList {{
    {vedic::RasiVarga, "&Rasi", "svgChart", false},
    {vedic::NavamsaVarga, "Nava&msa", "svgNavamsa", false},
    {vedic::RasiVarga, "Sarva bind&us", "svgSarva", true},
}};
constexpr std::size_t SarvaTab = 2;

const QStringList AshtakavargaSteps {QStringLiteral("Bindus"), QStringLiteral("After the trikona shodhana"),
    QStringLiteral("After the ekadhipatya shodhana")};
const QStringList PindaColumns {QStringLiteral("Rasi pinda"), QStringLiteral("Graha pinda"), QStringLiteral("Shodhya pinda")};
const QString NoAshtakavarga = QStringLiteral("No ashtakavarga: it is counted from the Lagna too, and this reading has none.");
// After them the tab of the chosen varga and the bhava chalit tab.
constexpr std::size_t ChosenVargaTab = ChartTabList.size();
constexpr std::size_t BhavaTab = ChosenVargaTab + 1;
// The varga chooser's first choice: the first one without a tab of its own.
constexpr int FirstChosenVarga = 10;

// A page of the tables' tabs in a scroll area of its own, so that its
// controls never set how narrow the splitter may make the tables.
QScrollArea* Scrolling(QWidget* page)
{
    auto* area = new QScrollArea(page->parentWidget());
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

// A chart tab with its chooser above the chart, and a note under the chooser.
QWidget* NewChooserTab(QWidget* parent, const QString& label, QComboBox* chooser, QLabel* note, QScrollArea* chart)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(label, page);
    caption->setBuddy(chooser);
    row->addWidget(caption);
    row->addWidget(chooser);
    row->addStretch();
    layout->addLayout(row);
    if (note != nullptr) {
        layout->addWidget(note);
    }
    layout->addWidget(chart, 1);
    return page;
}

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

QTreeWidgetItem* YoginiItem(const vedic::YoginiPeriod& period)
{
    return new QTreeWidgetItem(QStringList {FromUtf8(vedic::YoginiName(period.Yogini)),
        FromUtf8(vedic::DateText(period.Start)), FromUtf8(vedic::DateText(period.End))});
}

bool Runs(double julianDay, double start, double end)
{
    return julianDay >= start && julianDay < end;
}

void FillCounts(QTableWidget* table, int row, const ashtakavarga::Signs12& counts)
{
    int total = 0;
    for (std::size_t sign = 0; sign < counts.size(); ++sign) {
        auto* cell = new QTableWidgetItem(QString::number(counts[sign]));
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, static_cast<int>(sign), cell);
        total += counts[sign];
    }
    auto* cell = new QTableWidgetItem(QString::number(total));
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, static_cast<int>(counts.size()), cell);
}

QTableWidget* NewCountsTable(QWidget* parent, const QString& name, const QStringList& columns)
{
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
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
    cboVarga = new QComboBox(this);
    cboVarga->setObjectName(QStringLiteral("cboVarga"));
    for (const vedic::VargaRule& rule : vedic::VargaRules) {
        cboVarga->addItem(QStringLiteral("D%1 ").arg(rule.N) + FromUtf8(rule.Name), rule.N);
    }
    cboVarga->setCurrentIndex(cboVarga->findData(FirstChosenVarga));
    views.push_back(new ChartView(this));
    tabCharts->addTab(NewChooserTab(this, QStringLiteral("D&ivision:"), cboVarga, nullptr,
                          NewChartTab(this, views.back(), QStringLiteral("svgVarga"))),
        QStringLiteral("Var&ga"));
    cboHouses = new QComboBox(this);
    cboHouses->setObjectName(QStringLiteral("cboHouses"));
    for (const houses::HouseSystemNames& names : houses::HouseSystemTable) {
        cboHouses->addItem(FromUtf8(names.Shown));
    }
    cboHouses->setCurrentIndex(static_cast<int>(houses::HouseSystem::Sripati));
    lblHouses = new QLabel(this);
    lblHouses->setObjectName(QStringLiteral("lblHousesNote"));
    lblHouses->setWordWrap(true);
    lblHouses->hide();
    views.push_back(new ChartView(this));
    tabCharts->addTab(NewChooserTab(this, QStringLiteral("&Houses:"), cboHouses, lblHouses,
                          NewChartTab(this, views.back(), QStringLiteral("svgBhava"))),
        QStringLiteral("&Bhava Chalit"));
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

    lblYogini = new QLabel(this);
    lblYogini->setObjectName(QStringLiteral("lblYogini"));
    lblYogini->setWordWrap(true);
    treYogini = new QTreeWidget(this);
    treYogini->setObjectName(QStringLiteral("treYogini"));
    treYogini->setHeaderLabels({QStringLiteral("Yogini"), QStringLiteral("Start"), QStringLiteral("End"), QString()});
    auto* yoginiPage = new QWidget(this);
    auto* yoginiLayout = new QVBoxLayout(yoginiPage);
    yoginiLayout->addWidget(lblYogini);
    yoginiLayout->addWidget(treYogini, 1);

    cboAshtakavargaTable = new QComboBox(this);
    cboAshtakavargaTable->setObjectName(QStringLiteral("cboAshtakavargaTable"));
    for (std::size_t i = 0; i < ashtakavarga::BeneficTableCount; ++i) {
        cboAshtakavargaTable->addItem(FromUtf8(ashtakavarga::NamesOf(static_cast<ashtakavarga::BeneficTable>(i)).Shown));
    }
    cboAshtakavargaStep = new QComboBox(this);
    cboAshtakavargaStep->setObjectName(QStringLiteral("cboAshtakavargaStep"));
    cboAshtakavargaStep->addItems(AshtakavargaSteps);
    lblAshtakavarga = new QLabel(this);
    lblAshtakavarga->setObjectName(QStringLiteral("lblAshtakavarga"));
    lblAshtakavarga->setWordWrap(true);
    QStringList signColumns;
    for (const std::string_view sign : ashtakavarga::ShortSignNames) {
        signColumns << FromUtf8(sign);
    }
    tblAshtakavarga = NewCountsTable(this, QStringLiteral("tblAshtakavarga"), signColumns << QStringLiteral("Total"));
    for (std::size_t sign = 0; sign < VedicSignNames.size(); ++sign) {
        tblAshtakavarga->horizontalHeaderItem(static_cast<int>(sign))->setToolTip(FromUtf8(VedicSignNames[sign]));
    }
    tblPindas = NewCountsTable(this, QStringLiteral("tblPindas"), PindaColumns);
    // The tables take the width the positions leave, scrolling if they must.
    for (QTableWidget* table : {tblAshtakavarga, tblPindas}) {
        table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
        table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    }
    auto* tableLabel = new QLabel(QStringLiteral("T&able:"), this);
    tableLabel->setBuddy(cboAshtakavargaTable);
    auto* stepLabel = new QLabel(QStringLiteral("S&how:"), this);
    stepLabel->setBuddy(cboAshtakavargaStep);
    auto* choices = new QHBoxLayout;
    choices->addWidget(tableLabel);
    choices->addWidget(cboAshtakavargaTable);
    choices->addWidget(stepLabel);
    choices->addWidget(cboAshtakavargaStep);
    choices->addStretch();
    auto* ashtakavargaPage = new QWidget(this);
    auto* ashtakavargaLayout = new QVBoxLayout(ashtakavargaPage);
    ashtakavargaLayout->addLayout(choices);
    ashtakavargaLayout->addWidget(lblAshtakavarga);
    ashtakavargaLayout->addWidget(tblAshtakavarga, 2);
    ashtakavargaLayout->addWidget(tblPindas, 1);

    tabTables = new QTabWidget(this);
    tabTables->setObjectName(QStringLiteral("tabTables"));
    tabTables->addTab(tblPositions, QStringLiteral("P&ositions"));
    tblVargas = new QTableWidget(0, 0, this);
    tblVargas->setObjectName(QStringLiteral("tblVargas"));
    tblVargas->verticalHeader()->hide();
    tblVargas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblVargas->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The strength's scheme under the table, where the numbers are read.
    auto* vargasPage = new QWidget(this);
    auto* vargasLayout = new QVBoxLayout(vargasPage);
    vargasLayout->addWidget(tblVargas, 1);
    auto* scheme = new QLabel(QStringLiteral("Vimshopaka: ") + FromUtf8(vargas::VimshopakaScheme) + QLatin1Char('.'), this);
    scheme->setObjectName(QStringLiteral("lblVimshopaka"));
    scheme->setWordWrap(true);
    vargasLayout->addWidget(scheme);
    tabTables->addTab(Scrolling(vargasPage), QStringLiteral("V&argas"));
    tabTables->addTab(Scrolling(dashaPage), QStringLiteral("&Dasha"));
    tabTables->addTab(Scrolling(yoginiPage), QStringLiteral("&Yogini"));
    tabTables->addTab(Scrolling(ashtakavargaPage), QStringLiteral("Ash&takavarga"));

    lblMatch = new QLabel(NoPartner, this);
    lblMatch->setObjectName(QStringLiteral("lblMatch"));
    lblMatch->setWordWrap(true);
    lblMatch->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblMatch = new QTableWidget(0, static_cast<int>(MatchColumns.size()), this);
    tblMatch->setObjectName(QStringLiteral("tblMatch"));
    tblMatch->setHorizontalHeaderLabels(MatchColumns);
    tblMatch->verticalHeader()->hide();
    tblMatch->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblMatch->setWordWrap(true);
    tblMatch->horizontalHeader()->setStretchLastSection(true);
    chkGirl = new QCheckBox(QStringLiteral("This reading is the &girl's"), this);
    chkGirl->setObjectName(QStringLiteral("chkGirl"));
    cmdKeep = new QPushButton(QStringLiteral("&Keep As The Other Reading"), this);
    cmdKeep->setObjectName(QStringLiteral("cmdKeep"));
    cmdKeep->setAutoDefault(true);
    auto* matchControls = new QHBoxLayout;
    matchControls->addWidget(chkGirl);
    matchControls->addStretch();
    matchControls->addWidget(cmdKeep);
    auto* matchPage = new QWidget(this);
    auto* matchLayout = new QVBoxLayout(matchPage);
    matchLayout->addLayout(matchControls);
    matchLayout->addWidget(tblMatch, 1);
    matchLayout->addWidget(lblMatch);
    tabTables->addTab(Scrolling(matchPage), QStringLiteral("M&atch"));
    lblPanchanga = new QLabel(this);
    lblPanchanga->setObjectName(QStringLiteral("lblPanchanga"));
    lblPanchanga->setWordWrap(true);
    tblPanchanga = new QTableWidget(0, 4, this);
    tblPanchanga->setObjectName(QStringLiteral("tblPanchanga"));
    tblPanchanga->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("At birth"), QStringLiteral("Began"), QStringLiteral("Ends")});
    tblPanchanga->verticalHeader()->hide();
    tblPanchanga->horizontalHeader()->setStretchLastSection(true);
    tblPanchanga->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPanchanga->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* panchangaPage = new QWidget(this);
    auto* panchangaLayout = new QVBoxLayout(panchangaPage);
    panchangaLayout->addWidget(lblPanchanga);
    panchangaLayout->addWidget(tblPanchanga, 1);
    tabTables->addTab(Scrolling(panchangaPage), QStringLiteral("Panc&hanga"));

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
    cmdMatch = new QPushButton(QStringLiteral("Match &With\u2026"), this);
    cmdMatch->setObjectName(QStringLiteral("cmdMatch"));
    auto* cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // As in the main window, Enter presses the focused button.
    for (QPushButton* button : {cmdMatch, cmdSavePicture, cmdPrint, cmdClose}) {
        button->setAutoDefault(true);
    }

    buttonRow = new QWidget(this);
    auto* controls = new QHBoxLayout(buttonRow);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(optSouth);
    controls->addWidget(optNorth);
    controls->addStretch();
    controls->addWidget(cmdMatch);
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
    connect(cboAshtakavargaTable, &QComboBox::currentIndexChanged, this, [this] {
        ShowAshtakavarga();
        Redraw();
    });
    connect(cboAshtakavargaStep, &QComboBox::currentIndexChanged, this, &ChartWindow::FillAshtakavargaTables);
    connect(cboVarga, &QComboBox::currentIndexChanged, this, &ChartWindow::ChooseVarga);
    connect(cboHouses, &QComboBox::currentIndexChanged, this, &ChartWindow::ChooseHouses);
    connect(tabCharts, &QTabWidget::currentChanged, this, &ChartWindow::EnableChartButtons);
    connect(cmdSavePicture, &QPushButton::clicked, this, &ChartWindow::SavePicture);
    connect(cmdPrint, &QPushButton::clicked, this, &ChartWindow::Print);
    connect(cmdMatch, &QPushButton::clicked, this, &ChartWindow::MatchWith);
    connect(chkGirl, &QCheckBox::toggled, this, &ChartWindow::FillMatch);
    connect(cmdKeep, &QPushButton::clicked, this, [this] {
        partnerBirth = shownBirth;
        FillMatch();
    });
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
    FillYogini();
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
        // The chart of bindus is drawn by ShowAshtakavarga.
        chart::ChartResult result = fullreading::ChartOf(birth, reading, tab.Varga);
        if (!result.Refusal.empty()) {
            charts.clear();
            refusal->setText(FromUtf8(result.Refusal));
            break;
        }
        charts.push_back(std::move(result.Data));
    }
    shownBirth.reset();
    shownReading.reset();
    if (!charts.empty()) {
        setWindowTitle(WindowTitle + QStringLiteral(" \u2013 ") + FromUtf8(charts.front().Name));
        shownBirth = birth;
        shownReading = reading;
        // Placeholders, each drawn by its chooser below.
        charts.resize(views.size(), charts.front());
    }
    FillPositions(!charts.empty() ? reading.Details : std::nullopt);
    FillVargas(reading);
    dasha = !charts.empty() ? reading.Dasha : std::nullopt;
    FillDasha();
    // The match needs no chart: a reading without a Lagna is matched too.
    shownBirth = birth;
    shownReading = reading;
    FillMatch();
    FillPanchanga(!charts.empty() ? &reading : nullptr);
    yogini = !charts.empty() ? reading.Yogini : std::nullopt;
    FillYogini();
    ShowAshtakavarga();
    if (!charts.empty()) {
        charts[ChosenVargaTab] = fullreading::ChartOf(birth, reading, cboVarga->currentData().toInt()).Data;
    }
    ChooseHouses(); // which redraws
    return !charts.empty() ? std::nullopt : std::optional<QString>(refusal->text());
}

void ChartWindow::FillPanchanga(const fullreading::FullReading* reading)
{
    tblPanchanga->setRowCount(0);
    if (reading == nullptr || !reading->Panchanga) {
        lblPanchanga->setText(reading == nullptr ? QString() : QStringLiteral("The ephemeris gives no panchanga for this moment."));
        return;
    }
    Conventions precise = reading->Used;
    precise.Sky = SkyModel::Precise;
    lblPanchanga->setText(FromUtf8(
        panchanga::PanchangaHeading(*reading->Panchanga, reading->Sky == SkyModel::Classic, AyanamsaText(precise))));
    const std::vector<panchanga::PanchangaRow> rows = panchanga::PanchangaRows(*reading->Panchanga);
    tblPanchanga->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::array<const std::string*, 4> cells {&rows[row].Title, &rows[row].Value, &rows[row].Start, &rows[row].End};
        for (std::size_t column = 0; column < cells.size(); ++column) {
            tblPanchanga->setItem(static_cast<int>(row), static_cast<int>(column), new QTableWidgetItem(FromUtf8(*cells[column])));
        }
    }
    tblPanchanga->resizeColumnsToContents();
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

void ChartWindow::ChooseVarga()
{
    if (!shownReading || charts.size() <= ChosenVargaTab) {
        return;
    }
    charts[ChosenVargaTab] = fullreading::ChartOf(*shownBirth, *shownReading, cboVarga->currentData().toInt()).Data;
    lastPicturePaths[ChosenVargaTab].clear(); // another chart: its own picture
    Redraw();
}

void ChartWindow::ChooseHouses()
{
    lblHouses->clear();
    if (shownReading && charts.size() > BhavaTab) {
        const auto system = static_cast<houses::HouseSystem>(cboHouses->currentIndex());
        const chart::ChartResult bhava = fullreading::BhavaChartOf(
            *shownBirth, *shownReading, fullreading::HousesOf(*shownReading, system));
        if (bhava.Refusal.empty()) {
            charts[BhavaTab] = bhava.Data;
        } else {
            lblHouses->setText(FromUtf8(bhava.Refusal));
        }
        lastPicturePaths[BhavaTab].clear();
    }
    lblHouses->setVisible(!lblHouses->text().isEmpty());
    Redraw();
}

void ChartWindow::FillVargas(const fullreading::FullReading& reading)
{
    tblVargas->clear();
    tblVargas->setRowCount(0);
    if (charts.empty()) {
        return;
    }
    const std::optional<double> lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? std::optional<double>(reading.Lagna.Longitude)
        : std::nullopt;
    const vargas::VargaSigns signs = reading.Vargas ? *reading.Vargas : vargas::VargaSignsOf(reading.Longitudes, lagna);
    const auto strength = reading.Vimshopaka ? *reading.Vimshopaka : vargas::VimshopakaOf(signs);
    QStringList header {QStringLiteral("Graha")};
    for (const vedic::VargaRule& rule : vedic::VargaRules) {
        header << QStringLiteral("D%1").arg(rule.N);
    }
    header << QStringLiteral("Vimshopaka");
    const int rows = GrahaCountWithKetu + (lagna ? 1 : 0);
    tblVargas->setColumnCount(static_cast<int>(header.size()));
    tblVargas->setHorizontalHeaderLabels(header);
    for (std::size_t v = 0; v < vargas::VargaCount; ++v) {
        tblVargas->horizontalHeaderItem(static_cast<int>(v) + 1)->setToolTip(FromUtf8(vedic::VargaRules[v].Name));
    }
    tblVargas->horizontalHeaderItem(static_cast<int>(header.size()) - 1)->setToolTip(FromUtf8(vargas::VimshopakaScheme));
    tblVargas->setRowCount(rows);
    const auto setCell = [this](int row, int column, const QString& text, const QString& tip = {}) {
        auto* cell = new QTableWidgetItem(text);
        cell->setToolTip(tip);
        tblVargas->setItem(row, column, cell);
    };
    for (int row = 0; row < rows; ++row) {
        const auto graha = static_cast<std::size_t>(row);
        const bool isLagna = graha == GrahaCountWithKetu;
        setCell(row, 0, isLagna ? QStringLiteral("Lagna") : FromUtf8(GrahaNameTable[graha].Plain));
        for (std::size_t v = 0; v < vargas::VargaCount; ++v) {
            const std::optional<int> sign = isLagna ? signs.Lagna[v] : std::optional<int>(signs.Grahas[v][graha]);
            if (sign) {
                setCell(row, static_cast<int>(v) + 1, FromUtf8(SignAbbreviation(*sign)),
                    FromUtf8(VedicSignNames[static_cast<std::size_t>(*sign)]));
            }
        }
        if (graha < vargas::VimshopakaGrahaCount) {
            setCell(row, static_cast<int>(header.size()) - 1, QString::number(strength[graha], 'f', 2));
        }
    }
    tblVargas->resizeColumnsToContents();
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
    // Indices no period has when nothing runs today.
    const vedic::RunningDasha running = vedic::RunningAt(*dasha, vedic::JulianDayOf(clock()))
                                            .value_or(vedic::RunningDasha {vedic::DashaCount, vedic::DashaCount, vedic::DashaCount});
    QTreeWidgetItem* today = nullptr;
    for (std::size_t m = 0; m < dasha->Periods.size(); ++m) {
        QTreeWidgetItem* maha = DashaItem(dasha->Periods[m].Period);
        treDasha->addTopLevelItem(maha);
        for (std::size_t a = 0; a < dasha->Periods[m].Sub.size(); ++a) {
            const vedic::DashaPeriod& antarPeriod = dasha->Periods[m].Sub[a];
            QTreeWidgetItem* antar = DashaItem(antarPeriod);
            maha->addChild(antar);
            const bool antarToday = running.Maha == m && running.Antar == a;
            const std::array<vedic::DashaPeriod, vedic::DashaCount> pratyantars = vedic::PratyantarDashas(antarPeriod);
            for (std::size_t p = 0; p < pratyantars.size(); ++p) {
                QTreeWidgetItem* pratyantar = DashaItem(pratyantars[p]);
                antar->addChild(pratyantar);
                if (antarToday && running.Pratyantar == p) {
                    MarkToday(maha);
                    MarkToday(antar);
                    MarkToday(pratyantar);
                    maha->setExpanded(true);
                    antar->setExpanded(true);
                    today = pratyantar;
                }
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

void ChartWindow::MatchWith()
{
    FileDialogRequest request;
    request.Title = MatchTitle;
    request.Filter = ReadingFilter;
    request.DefaultSuffix = QStringLiteral("aha");
    request.MustExist = true;
    const std::optional<QString> path = prompts.ChooseOpenFile(this, request);
    if (!path || !shownReading) {
        return;
    }
    // Refused as the main window's Open refuses it, in the same words.
    const auto refuse = [this](std::string_view reason) {
        prompts.ShowMessage(this, FromUtf8(readings::CheckTheFileMessage) + QStringLiteral("\n\n") + FromUtf8(reason) + u'.',
            AppTitle, MessageIcon::Error);
    };
    const std::string native = QFile::encodeName(*path).toStdString();
    if (!readings::HasReadingExtension(native)) {
        refuse("the name does not end in \"aha\"");
        return;
    }
    const readings::OpenResult opened = readings::OpenReadingFile(native);
    if (!opened.Reading) {
        refuse(opened.Reason);
        return;
    }
    // Computed in the sky and conventions of the reading shown.
    const BirthCheck checked = ValidateInput(*opened.Reading, shownReading->Used);
    if (checked.Failure) {
        prompts.ShowMessage(this, FromUtf8(checked.Failure->Message), AppTitle, checked.Failure->Icon);
        return;
    }
    partnerBirth = checked.Value;
    FillMatch();
    for (int tab = 0; tab < tabTables->count(); ++tab) {
        if (tabTables->widget(tab)->isAncestorOf(tblMatch)) {
            tabTables->setCurrentIndex(tab);
        }
    }
}

void ChartWindow::FillMatch()
{
    tblMatch->setRowCount(0);
    if (!partnerBirth || !shownReading || !shownBirth) {
        lblMatch->setText(NoPartner);
        return;
    }
    const fullreading::FullReadingResult partner =
        fullreading::CalculateFullReading(*partnerBirth, shownReading->Used, fullreading::PositionsOnly);
    if (partner.Failure) {
        lblMatch->setText(FromUtf8(partner.Failure->Message));
        return;
    }
    const bool girl = chkGirl->isChecked();
    const Reading& boyReading = girl ? partner.Value : *shownReading;
    const Reading& girlReading = girl ? *shownReading : partner.Value;
    const std::optional<matching::Match> match = matching::MatchReadings(boyReading, girlReading);
    if (!match) {
        lblMatch->setText(FromUtf8(NoPositionsFailure.Message));
        return;
    }
    const matching::Ashtakoota& kutas = match->Kutas;
    tblMatch->setRowCount(static_cast<int>(kutas.Kutas.size()) + 1);
    const auto row = [this](int r, const QStringList& texts) {
        for (int column = 0; column < texts.size(); ++column) {
            auto* cell = new QTableWidgetItem(texts[column]);
            cell->setToolTip(texts.back()); // the reason, whole, however narrow the column
            tblMatch->setItem(r, column, cell);
        }
    };
    for (std::size_t k = 0; k < kutas.Kutas.size(); ++k) {
        const matching::KutaScore& kuta = kutas.Kutas[k];
        row(static_cast<int>(k), {FromUtf8(kuta.Name), FromUtf8(matching::PointsText(kuta.Points)),
            QString::number(kuta.Max), FromUtf8(kuta.Reason)});
    }
    row(static_cast<int>(kutas.Kutas.size()), {QStringLiteral("Total"), FromUtf8(matching::PointsText(kutas.Total)),
        QString::number(matching::AshtakootaMax), FromUtf8(kutas.Verdict)});
    tblMatch->resizeColumnsToContents();
    tblMatch->resizeRowsToContents();
    const std::string& boyName = girl ? partnerBirth->Name : shownBirth->Name;
    const std::string& girlName = girl ? shownBirth->Name : partnerBirth->Name;
    std::string note = "Boy: " + boyName + ", " + matching::MoonStarText(kutas.Boy) + "\nGirl: " + girlName + ", "
        + matching::MoonStarText(kutas.Girl) + "\n";
    if (!kutas.Doshas.empty()) {
        note += matching::DoshaText(kutas) + "\n";
    }
    note += "Boy: " + matching::ManglikText(match->BoyManglik) + "\nGirl: " + matching::ManglikText(match->GirlManglik)
        + "\n" + matching::ManglikConclusion(*match);
    lblMatch->setText(FromUtf8(note));
}

void ChartWindow::FillYogini()
{
    treYogini->clear();
    if (!yogini) {
        lblYogini->clear();
        return;
    }
    lblYogini->setText(QStringLiteral("Yogini dasha (dates in Universal Time; a year is %1 days)\nFirst at birth: %2")
                           .arg(FromUtf8(vedic::YearDaysText(yogini->YearDays)), FromUtf8(vedic::YoginiName(yogini->FirstYogini))));
    const double now = vedic::JulianDayOf(clock());
    QTreeWidgetItem* today = nullptr;
    for (const vedic::YoginiMaha& maha : yogini->Periods) {
        QTreeWidgetItem* mahaItem = YoginiItem(maha.Period);
        treYogini->addTopLevelItem(mahaItem);
        for (const vedic::YoginiPeriod& antar : maha.Sub) {
            QTreeWidgetItem* antarItem = YoginiItem(antar);
            mahaItem->addChild(antarItem);
            if (Runs(now, antar.StartJulianDay, antar.EndJulianDay)) {
                MarkToday(mahaItem);
                MarkToday(antarItem);
                mahaItem->setExpanded(true);
                today = antarItem;
            }
        }
    }
    for (int column = 0; column < treYogini->columnCount(); ++column) {
        treYogini->resizeColumnToContents(column);
    }
    if (today != nullptr) {
        treYogini->setCurrentItem(today);
        treYogini->scrollToItem(today);
    }
}

void ChartWindow::ShowAshtakavarga()
{
    const auto table = static_cast<ashtakavarga::BeneficTable>(std::max(0, cboAshtakavargaTable->currentIndex()));
    ashtakavargaShown = !charts.empty() && shownReading ? fullreading::AshtakavargaOf(*shownReading, table) : std::nullopt;
    const std::optional<chart::ChartData> sarva = ashtakavargaShown && shownBirth
        ? fullreading::SarvaChartOf(*shownBirth, *shownReading, *ashtakavargaShown)
        : std::nullopt;
    if (sarva && charts.size() > SarvaTab) {
        charts[SarvaTab] = *sarva;
    }
    tabCharts->setTabVisible(static_cast<int>(SarvaTab), sarva.has_value());
    if (!sarva && tabCharts->currentIndex() == static_cast<int>(SarvaTab)) {
        tabCharts->setCurrentIndex(0);
    }
    FillAshtakavargaTables();
}

void ChartWindow::FillAshtakavargaTables()
{
    tblAshtakavarga->setRowCount(0);
    tblPindas->setRowCount(0);
    if (!ashtakavargaShown) {
        lblAshtakavarga->setText(!charts.empty() ? NoAshtakavarga : QString());
        return;
    }
    const ashtakavarga::Ashtakavarga& av = *ashtakavargaShown;
    const ashtakavarga::BeneficTableNames& names = ashtakavarga::NamesOf(av.Table);
    lblAshtakavarga->setText(QStringLiteral("Bindus of the %1 table (%2), by sign.")
                                 .arg(FromUtf8(names.Shown), FromUtf8(names.Source)));
    const int step = cboAshtakavargaStep->currentIndex();
    const ashtakavarga::PerGraha& rows = step == 1 ? av.Trikona : step == 2 ? av.Ekadhipatya : av.Bhinna;
    QStringList grahas;
    for (const Graha graha : ashtakavarga::AshtakavargaGrahas) {
        grahas << Lord(graha);
    }
    const bool sarva = step <= 0;
    tblAshtakavarga->setRowCount(static_cast<int>(rows.size()) + (sarva ? 1 : 0));
    for (std::size_t graha = 0; graha < rows.size(); ++graha) {
        FillCounts(tblAshtakavarga, static_cast<int>(graha), rows[graha]);
    }
    if (sarva) {
        FillCounts(tblAshtakavarga, static_cast<int>(rows.size()), av.Sarva);
    }
    tblAshtakavarga->setVerticalHeaderLabels(sarva ? QStringList(grahas) << QStringLiteral("Sarva") : grahas);
    tblAshtakavarga->resizeColumnsToContents();
    tblPindas->setRowCount(static_cast<int>(av.Pindas.size()));
    tblPindas->setVerticalHeaderLabels(grahas);
    for (std::size_t graha = 0; graha < av.Pindas.size(); ++graha) {
        const ashtakavarga::Pinda& pinda = av.Pindas[graha];
        const std::array<int, 3> values {pinda.Rasi, pinda.Graha, pinda.Shodhya()};
        for (std::size_t column = 0; column < values.size(); ++column) {
            auto* cell = new QTableWidgetItem(QString::number(values[column]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblPindas->setItem(static_cast<int>(graha), static_cast<int>(column), cell);
        }
    }
    tblPindas->resizeColumnsToContents();
}

void ChartWindow::Redraw()
{
    const bool drawn = !charts.empty();
    for (std::size_t tab = 0; tab < views.size(); ++tab) {
        svgs[tab] = drawn ? QByteArray::fromStdString(chart::ChartSvg(charts[tab], Style())) : QByteArray();
        views[tab]->load(svgs[tab]);
    }
    if (drawn && !lblHouses->text().isEmpty()) {
        // The chosen houses have no chart here: the note says why.
        svgs[BhavaTab].clear();
        views[BhavaTab]->load(svgs[BhavaTab]);
    }
    workspace->setVisible(drawn);
    refusal->setVisible(!drawn);
    EnableChartButtons();
}

void ChartWindow::EnableChartButtons()
{
    const bool drawn = !Svg().isEmpty();
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
    if (charts.empty()) {
        return;
    }
    const chart::ChartData& shown = charts[ShownChart()];
    const std::optional<vedic::VargaRule> rule = vedic::VargaRuleOf(shown.Varga);
    printer.setDocName((shown.Title.empty() ? FromUtf8(rule ? rule->Name : std::string_view()) : FromUtf8(shown.Title))
        + QStringLiteral(" Chart")
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
