#include "app/ConventionsDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace halvaro::app {

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The dasha years as the list shows them, in the order of DashaYearChoices.
const QStringList DashaYearTexts {QStringLiteral("365.25 days"), QStringLiteral("365.2564 days (sidereal)"),
    QStringLiteral("360 days (savana)")};

} // namespace

ConventionsDialog::ConventionsDialog(const Conventions& current, QWidget* parent)
    : QDialog(parent), start(current), cboAyanamsa(new QComboBox(this)), txtAyanamsaValue(new QDoubleSpinBox(this)),
      dtAyanamsaEpoch(new QDateEdit(this)), cboNode(new QComboBox(this)), cboDashaYear(new QComboBox(this)),
      cboSunrise(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Conventions"));
    cboAyanamsa->setObjectName(QStringLiteral("cboAyanamsa"));
    txtAyanamsaValue->setObjectName(QStringLiteral("txtAyanamsaValue"));
    dtAyanamsaEpoch->setObjectName(QStringLiteral("dtAyanamsaEpoch"));
    cboNode->setObjectName(QStringLiteral("cboNode"));
    cboDashaYear->setObjectName(QStringLiteral("cboDashaYear"));
    cboSunrise->setObjectName(QStringLiteral("cboSunrise"));

    for (const AyanamsaNames& names : AyanamsaTable) {
        cboAyanamsa->addItem(FromUtf8(names.Shown));
    }
    cboAyanamsa->setCurrentIndex(static_cast<int>(current.Ayanamsa));
    txtAyanamsaValue->setRange(0, 359.999999);
    txtAyanamsaValue->setDecimals(6);
    txtAyanamsaValue->setSuffix(QStringLiteral("\u00B0"));
    txtAyanamsaValue->setValue(current.User.Degrees);
    dtAyanamsaEpoch->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dtAyanamsaEpoch->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    dtAyanamsaEpoch->setDate(QDate(current.User.Year, current.User.Month, current.User.Day));
    cboNode->addItems({QStringLiteral("Mean node"), QStringLiteral("True node")});
    cboNode->setCurrentIndex(current.Node == NodeKind::True ? 1 : 0);
    cboDashaYear->addItems(DashaYearTexts);
    for (std::size_t i = 0; i < DashaYearChoices.size(); ++i) {
        if (DashaYearChoices[i] == current.DashaYearDays) {
            cboDashaYear->setCurrentIndex(static_cast<int>(i));
        }
    }

    for (const SunriseConventionNames& names : SunriseConventionTable) {
        QString shown = FromUtf8(names.Shown);
        shown[0] = shown[0].toUpper();
        cboSunrise->addItem(shown);
    }
    cboSunrise->setCurrentIndex(static_cast<int>(current.Sunrise));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Ayanamsa:"), cboAyanamsa);
    form->addRow(QStringLiteral("&Your value:"), txtAyanamsaValue);
    form->addRow(QStringLiteral("At 0h UT &of:"), dtAyanamsaEpoch);
    form->addRow(QStringLiteral("&Rahu:"), cboNode);
    form->addRow(QStringLiteral("&Dasha year:"), cboDashaYear);
    form->addRow(QStringLiteral("&Sunrise (panchanga):"), cboSunrise);
    auto* note = new QLabel(QStringLiteral("For the precise sky; kept until the program ends."), this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);

    connect(cboAyanamsa, &QComboBox::currentIndexChanged, this, &ConventionsDialog::ShowUserValue);
    ShowUserValue();
}

void ConventionsDialog::ShowUserValue()
{
    const bool user = cboAyanamsa->currentIndex() == static_cast<int>(AyanamsaSystem::User);
    txtAyanamsaValue->setEnabled(user);
    dtAyanamsaEpoch->setEnabled(user);
}

Conventions ConventionsDialog::Chosen() const
{
    Conventions chosen = start;
    chosen.Ayanamsa = static_cast<AyanamsaSystem>(cboAyanamsa->currentIndex());
    const QDate epoch = dtAyanamsaEpoch->date();
    chosen.User = {txtAyanamsaValue->value(), epoch.year(), epoch.month(), epoch.day()};
    chosen.Node = cboNode->currentIndex() == 1 ? NodeKind::True : NodeKind::Mean;
    chosen.DashaYearDays = DashaYearChoices[static_cast<std::size_t>(std::max(0, cboDashaYear->currentIndex()))];
    chosen.Sunrise = static_cast<SunriseConvention>(std::max(0, cboSunrise->currentIndex()));
    return chosen;
}

} // namespace halvaro::app
