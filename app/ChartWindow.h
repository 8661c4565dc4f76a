#pragma once

#include "calculation/Reading.h"
#include "chart/ChartData.h"
#include "chart/ChartSvg.h"
#include "core/Birth.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;
class QSvgWidget;

namespace halvaro::app {

class UserPrompts;

// The Rasi chart of the reading on the result screen, in its own window: the
// picture, the South/North switch, and saving and printing it. The main
// window hands it each new reading, so an open chart follows recalculation.
class ChartWindow : public QWidget {
    Q_OBJECT

public:
    ChartWindow(UserPrompts& prompts, QWidget* parent);

    // Draws the chart of a reading; a place no chart can have shows its
    // message instead, and the refusal is returned.
    std::optional<QString> ShowReading(const Birth& birth, const Reading& reading);

    [[nodiscard]] const QByteArray& Svg() const { return svg; }
    [[nodiscard]] chart::ChartStyle Style() const;
    [[nodiscard]] QRadioButton* SouthButton() const { return optSouth; }
    [[nodiscard]] QRadioButton* NorthButton() const { return optNorth; }
    [[nodiscard]] QPushButton* SaveButton() const { return cmdSavePicture; }
    [[nodiscard]] QPushButton* PrintButton() const { return cmdPrint; }

private:
    void Redraw();
    void SavePicture();
    void Print();

    UserPrompts& prompts;
    std::optional<chart::ChartData> shown;
    QByteArray svg;
    QString lastPicturePath;
    QSvgWidget* view = nullptr;
    QLabel* refusal = nullptr;
    QRadioButton* optSouth = nullptr;
    QRadioButton* optNorth = nullptr;
    QPushButton* cmdSavePicture = nullptr;
    QPushButton* cmdPrint = nullptr;
};

// The picture's bytes for a file name: SVG as drawn, PNG rendered at twice
// the drawing's size; nothing for any other extension.
std::optional<QByteArray> PictureBytes(const QByteArray& svg, const QString& path);

} // namespace halvaro::app
