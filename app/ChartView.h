#pragma once

#include <QByteArray>
#include <QSvgRenderer>
#include <QWidget>

namespace halvaro::app {

// A chart picture drawn at any size with its proportions kept, centred in
// the space it is given. It asks for the size at which its text is the
// window's own (sizeHint) and shrinks to fit a smaller screen whole, down to
// three quarters of that text size (minimumSizeHint): below that the chart
// tab scrolls instead of shrinking it further.
class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent);

    void load(const QByteArray& svg);

    // The picture's place inside the widget as it is now drawn.
    [[nodiscard]] QRectF PictureRect() const;
    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer;
};

// The size of a chart picture's text, in its own units: the caption and the
// grahas (the sign names and house numbers are smaller labels).
inline constexpr double ChartTextUnits = 13;

} // namespace halvaro::app
