#pragma once

#include "FakeUserPrompts.h"
#include "app/frmMain.h"

#include "ui_frmMain.h"

#include <QtTest>

namespace halvaro::app::testing {

// One real window on its fake prompts, shown and active so focus is real.
struct WindowUnderTest {
    FakeUserPrompts prompts;
    frmMain window {prompts};
    [[nodiscard]] const Ui::frmMain& Form() const { return window.Form(); }
};

inline bool ShowAndActivate(WindowUnderTest& w)
{
    w.window.show();
    w.window.activateWindow();
    return QTest::qWaitForWindowActive(&w.window);
}

inline bool Pick(QComboBox* list, const QString& line)
{
    const int position = list->findText(line, Qt::MatchExactly);
    if (position < 0) {
        return false;
    }
    list->setCurrentIndex(position);
    return true;
}

inline QString FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("(none)");
}

// The worked reading of New Delhi, 15 June 1975, typed key by key.
inline bool TypeExampleReading(const Ui::frmMain& form)
{
    QTest::keyClicks(form.txtName, QStringLiteral("Asha Rao"));
    QTest::keyClicks(form.txtLatDeg, QStringLiteral("28"));
    QTest::keyClicks(form.txtLatMin, QStringLiteral("39"));
    QTest::keyClicks(form.txtLonDeg, QStringLiteral("77"));
    QTest::keyClicks(form.txtLonMin, QStringLiteral("13"));
    QTest::keyClicks(form.txtCity, QStringLiteral("New Delhi"));
    QTest::keyClicks(form.txtState, QStringLiteral("Delhi"));
    QTest::keyClicks(form.txtCountry, QStringLiteral("India"));
    form.optLat_0->setChecked(true);
    form.optLong_0->setChecked(true);
    return Pick(form.cboDate, QStringLiteral("15")) && Pick(form.cboMonth, QStringLiteral("June"))
        && Pick(form.cboYear, QStringLiteral("1975")) && Pick(form.cboHour, QStringLiteral("10"))
        && Pick(form.cboMinute, QStringLiteral("30")) && Pick(form.cboTimeZone, QStringLiteral("Indian Time, IST, +5.3"));
}

// The 32 result texts as the labels show them, row by row.
inline QStringList ResultTexts(const ControlArrays& c)
{
    QStringList texts;
    for (std::size_t i = 0; i < c.lblPlanets.size(); ++i) {
        texts << c.lblPlanets[i]->text() << c.lblPlanets_Position[i]->text() << c.lblAspects_Sign[i]->text()
              << c.lblAspects_Planets[i]->text();
    }
    return texts;
}

} // namespace halvaro::app::testing
