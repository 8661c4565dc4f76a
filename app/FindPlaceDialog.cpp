#include "app/FindPlaceDialog.h"

#include "app/FormMapping.h"
#include "atlas/PlaceEntries.h"
#include "core/Text.h"
#include "ui_FindPlaceDialog.h"

#include <QPushButton>
#include <QTreeWidgetItem>


namespace halvaro::app {

namespace {

constexpr std::size_t MostRowsShown = 50;

} // namespace

FoundPlace FoundPlaceOf(const atlas::Place& place)
{
    FoundPlace found {place, {}};
    atlas::PutPlace(place, found.Boxes);
    return found;
}

FindPlaceDialog::FindPlaceDialog(const atlas::AtlasLoad& atlasLoad, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FindPlaceDialog>())
    , loaded(atlasLoad)
{
    ui->setupUi(this);
    QPushButton* ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    if (!loaded.Loaded) {
        ui->txtPlace->setEnabled(false);
        ui->lstPlaces->setEnabled(false);
        ui->lblStatus->setText(FromUtf8(loaded.Error));
    }
    connect(ui->txtPlace, &QLineEdit::textChanged, this, &FindPlaceDialog::ShowMatches);
    connect(ui->lstPlaces, &QTreeWidget::currentItemChanged, this,
        [ok](const QTreeWidgetItem* current) { ok->setEnabled(current != nullptr); });
    connect(ui->lstPlaces, &QTreeWidget::itemActivated, this, &FindPlaceDialog::Choose);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &FindPlaceDialog::Choose);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->cmdWebSearch, &QPushButton::clicked, this, [this] {
        webSearchAsked = true;
        reject();
    });
}

FindPlaceDialog::~FindPlaceDialog() = default;

void FindPlaceDialog::ShowMatches(const QString& text)
{
    ui->lstPlaces->clear();
    shown = loaded.Loaded ? loaded.Loaded->Find(Utf8(text), MostRowsShown) : std::vector<atlas::Place> {};
    AddRows();
    if (!shown.empty()) {
        ui->lstPlaces->setCurrentItem(ui->lstPlaces->topLevelItem(0));
        // Names are short enough to be read whole rather than cut.
        for (int column = 0; column < 3; ++column) {
            ui->lstPlaces->resizeColumnToContents(column);
        }
    }
    const bool nothing = shown.empty() && !TrimmedBlanks(Utf8(text)).empty();
    ui->lblStatus->setText(nothing ? tr("No city of the atlas starts with \"%1\".").arg(text) : QString());
    if (nothing && loaded.Loaded) {
        // The closest names, those of the country typed after a comma first,
        // offered but not chosen: Enter must not take a name not typed.
        shown = loaded.Loaded->Closest(Utf8(text));
        AddRows();
        if (!shown.empty()) {
            ui->lblStatus->setText(tr("No city of the atlas starts with \"%1\"; the closest names are listed.").arg(text));
        }
    }
}

void FindPlaceDialog::AddRows()
{
    for (const atlas::Place& place : shown) {
        auto* row = new QTreeWidgetItem(ui->lstPlaces);
        row->setText(0, FromUtf8(place.Name));
        row->setText(1, FromUtf8(place.State));
        row->setText(2, FromUtf8(place.Country));
        row->setText(3, FromUtf8(place.TimeZone));
    }
}

void FindPlaceDialog::Choose()
{
    const int row = ui->lstPlaces->indexOfTopLevelItem(ui->lstPlaces->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= shown.size()) {
        return;
    }
    chosen = FoundPlaceOf(shown[static_cast<std::size_t>(row)]);
    chosen->LocalMeanTime = ui->chkLocalMeanTime->isChecked();
    accept();
}

} // namespace halvaro::app
