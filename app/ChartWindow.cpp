#include "app/ChartWindow.h"

#include "app/FormMapping.h"
#include "app/UserPrompts.h"
#include "chart/ChartFile.h"

#include <QBuffer>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QVBoxLayout>

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

// Twice the drawing's own size: sharp on screens of high density and on paper.
constexpr int PngScale = 2;

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
{
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(WindowTitle);
    view = new QSvgWidget(this);
    view->setObjectName(QStringLiteral("svgChart"));
    view->setMinimumSize(320, 380);
    view->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
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

    auto* controls = new QHBoxLayout;
    controls->addWidget(optSouth);
    controls->addWidget(optNorth);
    controls->addStretch();
    controls->addWidget(cmdSavePicture);
    controls->addWidget(cmdPrint);
    controls->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(refusal, 1);
    layout->addLayout(controls);
    resize(560, 700);

    connect(optSouth, &QRadioButton::toggled, this, &ChartWindow::Redraw);
    connect(cmdSavePicture, &QPushButton::clicked, this, &ChartWindow::SavePicture);
    connect(cmdPrint, &QPushButton::clicked, this, &ChartWindow::Print);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

chart::ChartStyle ChartWindow::Style() const
{
    return optNorth->isChecked() ? chart::ChartStyle::North : chart::ChartStyle::South;
}

std::optional<QString> ChartWindow::ShowReading(const Birth& birth, const Reading& reading)
{
    chart::ChartResult result = chart::MakeChart(birth, reading);
    if (!result.Refusal.empty()) {
        shown.reset();
        refusal->setText(FromUtf8(result.Refusal));
    } else {
        shown = std::move(result.Data);
        setWindowTitle(WindowTitle + QStringLiteral(" \u2013 ") + FromUtf8(shown->Name));
    }
    Redraw();
    return shown ? std::nullopt : std::optional<QString>(refusal->text());
}

void ChartWindow::Redraw()
{
    const bool drawn = shown.has_value();
    svg = drawn ? QByteArray::fromStdString(chart::ChartSvg(*shown, Style())) : QByteArray();
    view->load(svg);
    view->setVisible(drawn);
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
    request.ProposedPath = lastPicturePath;
    request.ConfirmOverwrite = true;
    const std::optional<QString> path = prompts.ChooseSaveFile(this, request);
    if (!path) {
        return;
    }
    const std::optional<QByteArray> bytes = PictureBytes(svg, *path);
    if (!bytes || bytes->isEmpty()) {
        prompts.ShowMessage(this, bytes ? NotDrawn : WrongPictureName, AppTitle, MessageIcon::Error);
        return;
    }
    const std::filesystem::path target(QFile::encodeName(*path).toStdString());
    if (const auto failure = chart::SaveChartFile(target, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())))) {
        prompts.ShowMessage(this, FromUtf8(*failure), AppTitle, MessageIcon::Error);
        return;
    }
    lastPicturePath = *path;
}

void ChartWindow::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!prompts.ChoosePrinter(this, printer)) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompts.ShowMessage(this, NotPrinted, AppTitle, MessageIcon::Error);
        return;
    }
    QSvgRenderer renderer(svg);
    // The whole drawing on the page, its proportions kept.
    QSizeF size = renderer.defaultSize();
    size.scale(painter.viewport().size(), Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
}

} // namespace halvaro::app
