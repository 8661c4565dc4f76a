#pragma once

#include <QProxyStyle>

namespace halvaro::app {

// The hour and minute lists are 38 to 41 pixels wide; the stock drop-down
// keeps so much room beside its arrow that "30" is cut. This lets the shown
// line use the blank part of the arrow's box.
class CompactComboStyle final : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
        const QWidget* widget) const override;
};

} // namespace halvaro::app
