#include "app/FormMapping.h"

#include "ui_frmMain.h"

#include <string_view>

namespace halvaro::app {

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

int ShownNumber(const QComboBox& list)
{
    return list.currentText().toInt();
}

void SelectLineWithText(QComboBox& list, int value)
{
    const int position = list.findText(QString::number(value), Qt::MatchExactly);
    if (position >= 0) {
        list.setCurrentIndex(position);
    }
}

void SelectPosition(QComboBox& list, int position)
{
    if (position >= 0 && position < list.count()) {
        list.setCurrentIndex(position);
    }
}

} // namespace

ControlArrays BuildControlArrays(const Ui::frmMain& form)
{
    ControlArrays c;
    c.lblLabel = {form.lblLabel_0, form.lblLabel_1, form.lblLabel_2, form.lblLabel_3, form.lblLabel_4, form.lblLabel_5,
        form.lblLabel_6, form.lblLabel_7, form.lblLabel_8, form.lblLabel_9, form.lblLabel_10, form.lblLabel_11};
    c.optLat = {form.optLat_0, form.optLat_1};
    c.optLong = {form.optLong_0, form.optLong_1};
    c.lblPlanets = {form.lblPlanets_0, form.lblPlanets_1, form.lblPlanets_2, form.lblPlanets_3, form.lblPlanets_4,
        form.lblPlanets_5, form.lblPlanets_6, form.lblPlanets_7};
    c.lblPlanets_Position = {form.lblPlanets_Position_0, form.lblPlanets_Position_1, form.lblPlanets_Position_2,
        form.lblPlanets_Position_3, form.lblPlanets_Position_4, form.lblPlanets_Position_5, form.lblPlanets_Position_6,
        form.lblPlanets_Position_7};
    c.lblAspects_Sign = {form.lblAspects_Sign_0, form.lblAspects_Sign_1, form.lblAspects_Sign_2, form.lblAspects_Sign_3,
        form.lblAspects_Sign_4, form.lblAspects_Sign_5, form.lblAspects_Sign_6, form.lblAspects_Sign_7};
    c.lblAspects_Planets = {form.lblAspects_Planets_0, form.lblAspects_Planets_1, form.lblAspects_Planets_2,
        form.lblAspects_Planets_3, form.lblAspects_Planets_4, form.lblAspects_Planets_5, form.lblAspects_Planets_6,
        form.lblAspects_Planets_7};
    return c;
}

BirthData ReadBirthData(const Ui::frmMain& form, const ControlArrays& controls)
{
    BirthData e;
    e.Name = Utf8(form.txtName->text());
    e.LatDeg = Utf8(form.txtLatDeg->text());
    e.LatMin = Utf8(form.txtLatMin->text());
    e.LonDeg = Utf8(form.txtLonDeg->text());
    e.LonMin = Utf8(form.txtLonMin->text());
    e.City = Utf8(form.txtCity->text());
    e.State = Utf8(form.txtState->text());
    e.Country = Utf8(form.txtCountry->text());
    e.North = controls.optLat[0]->isChecked();
    e.South = controls.optLat[1]->isChecked();
    e.East = controls.optLong[0]->isChecked();
    e.West = controls.optLong[1]->isChecked();
    e.DaylightSaving = form.chkDST->isChecked();
    e.Day = ShownNumber(*form.cboDate);
    e.Month = form.cboMonth->currentIndex() + 1;
    e.Year = ShownNumber(*form.cboYear);
    e.Hour = ShownNumber(*form.cboHour);
    e.Minute = ShownNumber(*form.cboMinute);
    e.ZonePosition = form.cboTimeZone->currentIndex();
    return e;
}

void WriteResultLabels(const ControlArrays& controls, const modVedicGrahaDrishti::ResultTexts& results)
{
    for (std::size_t i = 0; i < controls.lblPlanets.size(); ++i) {
        const std::array<std::pair<QLabel*, std::string_view>, 4> row {{
            {controls.lblPlanets[i], results.lblPlanets[i].view()},
            {controls.lblPlanets_Position[i], results.lblPlanets_Position[i].view()},
            {controls.lblAspects_Sign[i], results.lblAspects_Sign[i].view()},
            {controls.lblAspects_Planets[i], results.lblAspects_Planets[i].view()},
        }};
        for (const auto& [label, text] : row) {
            label->setText(FromUtf8(text));
            label->adjustSize();
            // A line that runs past the result screen's edge is cut there;
            // its tooltip shows it whole.
            const QWidget* screen = label->parentWidget();
            const bool cut = screen != nullptr && label->geometry().right() > screen->contentsRect().right();
            label->setToolTip(cut ? label->text() : QString());
        }
    }
}

bool ApplyBirthData(const Ui::frmMain& form, const ControlArrays& controls, const BirthData& reading)
{
    const std::array<std::pair<QLineEdit*, const std::string*>, 4> numberBoxes {{
        {form.txtLonDeg, &reading.LonDeg},
        {form.txtLonMin, &reading.LonMin},
        {form.txtLatDeg, &reading.LatDeg},
        {form.txtLatMin, &reading.LatMin},
    }};
    for (const auto& [box, text] : numberBoxes) {
        if (FromUtf8(*text).size() > box->maxLength()) {
            return false;
        }
    }
    form.txtName->setText(FromUtf8(reading.Name));
    SelectPosition(*form.cboMonth, reading.Month - 1);
    SelectLineWithText(*form.cboDate, reading.Day);
    SelectLineWithText(*form.cboYear, reading.Year);
    SelectLineWithText(*form.cboHour, reading.Hour);
    SelectLineWithText(*form.cboMinute, reading.Minute);
    SelectPosition(*form.cboTimeZone, reading.ZonePosition);
    form.txtLonDeg->setText(FromUtf8(reading.LonDeg));
    form.txtLonMin->setText(FromUtf8(reading.LonMin));
    form.txtLatDeg->setText(FromUtf8(reading.LatDeg));
    form.txtLatMin->setText(FromUtf8(reading.LatMin));
    controls.optLong[reading.East ? 0 : 1]->setChecked(true);
    controls.optLat[reading.South ? 1 : 0]->setChecked(true);
    form.chkDST->setChecked(reading.DaylightSaving);
    form.txtCity->setText(FromUtf8(reading.City));
    form.txtState->setText(FromUtf8(reading.State));
    form.txtCountry->setText(FromUtf8(reading.Country));
    return true;
}

} // namespace halvaro::app
