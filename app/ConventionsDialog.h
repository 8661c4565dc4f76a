#pragma once

#include "core/Conventions.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QDoubleSpinBox;

namespace halvaro::app {

// The small "Conventions" dialog of the precise sky: the ayanamsa (or a value
// of the user's at an epoch), the node, the dasha year and the panchanga's
// sunrise. What it gives is
// kept for the session only: the program keeps no settings.
class ConventionsDialog : public QDialog {
    Q_OBJECT

public:
    ConventionsDialog(const Conventions& current, QWidget* parent = nullptr);

    // The conventions as the dialog's controls now choose them.
    [[nodiscard]] Conventions Chosen() const;

private:
    void ShowUserValue();

    Conventions start;
    QComboBox* cboAyanamsa;
    QDoubleSpinBox* txtAyanamsaValue;
    QDateEdit* dtAyanamsaEpoch;
    QComboBox* cboNode;
    QComboBox* cboDashaYear;
    QComboBox* cboSunrise;
};

} // namespace halvaro::app
