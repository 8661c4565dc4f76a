#include "app/CompactComboStyle.h"

namespace halvaro::app {

namespace {

// Pixels of the arrow box left of the arrow glyph that stay blank.
constexpr int ArrowBoxBlank = 4;

} // namespace

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
    SubControl subControl, const QWidget* widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control == CC_ComboBox && subControl == SC_ComboBoxEditField) {
        rect.adjust(-1, 0, ArrowBoxBlank, 0);
    }
    return rect;
}

} // namespace halvaro::app
