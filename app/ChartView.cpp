#include "app/ChartView.h"

#include <QFontInfo>
#include <QPainter>

#include <algorithm>

namespace halvaro::app {

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::load(const QByteArray& svg)
{
    renderer.load(svg);
    updateGeometry();
    update();
}

namespace {

// Text at three quarters of the window font's size is still read without
// effort; smaller, the chart tab rather scrolls.
constexpr double SmallestTextShare = 0.75;

} // namespace

QSize ChartView::minimumSizeHint() const
{
    if (!renderer.isValid()) {
        return {};
    }
    const double scale = SmallestTextShare * QFontInfo(font()).pixelSize() / ChartTextUnits;
    return (QSizeF(renderer.defaultSize()) * scale).toSize();
}

QSize ChartView::sizeHint() const
{
    if (!renderer.isValid()) {
        return {};
    }
    // Scaled so that the picture's text is the window font's size.
    const double scale = std::max(1.0, QFontInfo(font()).pixelSize() / ChartTextUnits);
    return (QSizeF(renderer.defaultSize()) * scale).toSize();
}

QRectF ChartView::PictureRect() const
{
    if (!renderer.isValid()) {
        return {};
    }
    QSizeF size(renderer.defaultSize());
    size.scale(QSizeF(rect().size()), Qt::KeepAspectRatio);
    return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void ChartView::paintEvent(QPaintEvent* /*event*/)
{
    if (!renderer.isValid()) {
        return;
    }
    QPainter painter(this);
    renderer.render(&painter, PictureRect());
}

} // namespace halvaro::app
