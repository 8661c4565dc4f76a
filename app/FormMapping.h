#pragma once

#include "calculation/Reading.h"
#include "core/BirthData.h"

#include <QString>

#include <array>
#include <string>
#include <string_view>

class QLabel;
class QRadioButton;
namespace Ui {
class frmMain;
}

namespace halvaro::app {

// The form's indexed control sets, built from their numbered members.
struct ControlArrays {
    std::array<QLabel*, 12> lblLabel {};
    std::array<QRadioButton*, 2> optLat {};  // 0 North, 1 South
    std::array<QRadioButton*, 2> optLong {}; // 0 East, 1 West
    std::array<QLabel*, 8> lblPlanets {};
    std::array<QLabel*, 8> lblPlanets_Position {};
    std::array<QLabel*, 8> lblAspects_Sign {};
    std::array<QLabel*, 8> lblAspects_Planets {};
};
ControlArrays BuildControlArrays(const Ui::frmMain& form);

// Texts between the core (UTF-8) and the widgets.
std::string Utf8(const QString& text);
QString FromUtf8(std::string_view text);

// Widgets to birth data: the input screen as the user left it.
BirthData ReadBirthData(const Ui::frmMain& form, const ControlArrays& controls);

// Results to labels: the 32 result texts, each label sized to its text; a
// label cut by the screen's edge shows its whole text as a tooltip.
void WriteResultLabels(const ControlArrays& controls, const modVedicGrahaDrishti::ResultTexts& results);

// Birth data (an opened reading) onto the input controls. A list that has no line for a
// value keeps its selection. A degree or minute text longer than its box can
// hold would be cut short, so then nothing is applied and the result is false.
bool ApplyBirthData(const Ui::frmMain& form, const ControlArrays& controls, const BirthData& birth);

} // namespace halvaro::app
