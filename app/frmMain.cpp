#include "app/frmMain.h"

#include "app/ChartWindow.h"
#include "app/CompactComboStyle.h"
#include "app/KeyCodes.h"
#include "app/UserPrompts.h"
#include "birth/BirthRoad.h"
#include "birth/ZoneCautions.h"
#include "readings/ReadingExtras.h"
#include "core/Calendar.h"
#include "core/Ranges.h"
#include "core/TimeZones.h"
#include "readings/ReadingFile.h"
#include "fullreading/FullReading.h"
#include "sky/PreciseSky.h"

#include "ui_frmMain.h"

#include <QClipboard>
#include <QSignalBlocker>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLayout>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace halvaro::app {

namespace {

const QString AppTitle = QStringLiteral("Halvaro");
const QString ReadingFilter = QStringLiteral("Halvaro (*.aha)");
const QString ReadingSuffix = QStringLiteral("aha");
const QString OpenTitle = QStringLiteral("Select the source file");

// Designer stores whole points only; the form's sizes are finer.
constexpr double FormFontPoints = 8.25;
constexpr double CalculateFontPoints = 9.0;
constexpr double OpenFontPoints = 9.75;
constexpr double SmallestSkyFontPoints = 6.0;

const QString AboutTitle = QStringLiteral("About Halvaro");

QString AboutText()
{
    return QStringLiteral(
               "Halvaro v" HALVARO_VERSION "\n\n"
               "Halvaro calculates the sidereal positions of the Sun, the Moon, Mercury, Venus, Mars, Jupiter, "
               "Saturn and Rahu for the place, date and time of a birth, and each graha's Graha Drishti: "
               "the signs it aspects and the grahas that stand in them.\n\n"
               "Readings can be saved as .aha files and opened again later.\n\n"
               "Precise sky positions (File menu) come from the Swiss Ephemeris %1 of Astrodienst AG, "
               "with its built-in Moshier ephemeris and the Lahiri ayanamsa.\n\n"
               "Find Place uses the cities of GeoNames (geonames.org), licensed under CC BY 4.0, through the "
               "geonames library, and the time-zone history of the IANA tz database (public domain), read with "
               "Howard Hinnant's date library.\n\n"
               "Halvaro is free software under the GNU Affero General Public License, version 3 or later.\n\n"
               "Orrelane")
        .arg(FromUtf8(sky::SwissEphemerisVersion()));
}

std::filesystem::path NativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void FillNumbers(QComboBox& list, ListRange range)
{
    QStringList lines;
    lines.reserve(range.Last - range.First + 1);
    for (int n = range.First; n <= range.Last; ++n) {
        lines.append(QString::number(n));
    }
    list.addItems(lines);
}

void SetPointSize(QWidget& widget, double points)
{
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

} // namespace

frmMain::frmMain(UserPrompts& userPrompts, QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::frmMain>())
    , prompts(userPrompts)
{
    ui->setupUi(this);
    setWindowTitle(AppTitle + QStringLiteral(" v" HALVARO_VERSION));
    controls = BuildControlArrays(*ui);
    SetPointSize(*this, FormFontPoints);
    SetPointSize(*ui->cmdCalculate, CalculateFontPoints);
    SetPointSize(*ui->cmdOpen, OpenFontPoints);
    // Owned by the window and made after its children, so it outlives them.
    auto* listStyle = new CompactComboStyle;
    listStyle->setParent(this);
    for (QComboBox* list : {ui->cboDate, ui->cboMonth, ui->cboYear, ui->cboHour, ui->cboMinute, ui->cboTimeZone}) {
        list->setStyle(listStyle);
    }
    // The client area is fixed; the window follows it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* box : {ui->txtName, ui->txtCity, ui->txtState, ui->txtCountry, ui->txtLatDeg, ui->txtLatMin,
             ui->txtLonDeg, ui->txtLonMin}) {
        box->installEventFilter(this);
        // Enter in a box asks for the reading, as the form's main button does.
        connect(box, &QLineEdit::returnPressed, this, &frmMain::cmdCalculate_Click);
    }

    numberLists = {{{ui->cboDate, {}}, {ui->cboMonth, {}}, {ui->cboYear, {}}, {ui->cboHour, {}}, {ui->cboMinute, {}}}};
    for (QComboBox* list : {ui->cboDate, ui->cboMonth, ui->cboYear, ui->cboHour, ui->cboMinute, ui->cboTimeZone}) {
        list->installEventFilter(this);
    }
    typingClock.start();

    connect(ui->cmdCalculate, &QPushButton::clicked, this, &frmMain::cmdCalculate_Click);
    connect(ui->mnuCalculate, &QAction::triggered, this, &frmMain::cmdCalculate_Click);
    connect(ui->mnuPreciseSky, &QAction::toggled, this, &frmMain::mnuPreciseSky_Toggled);
    connect(ui->mnuConventions, &QAction::triggered, this, &frmMain::mnuConventions_Click);
    connect(ui->cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    connect(ui->cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(ui->cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
    connect(ui->cmdChart, &QPushButton::clicked, this, &frmMain::cmdChart_Click);
    connect(ui->mnuChart, &QAction::triggered, this, &frmMain::cmdChart_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(ui->cmdFindPlace, &QPushButton::clicked, this, &frmMain::cmdFindPlace_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);

    const std::array<std::pair<QAction*, WebPage>, 5> menuPages {{
        {ui->mnuOnline, WebPage::OnlineHelp},
        {ui->mnuVisit, WebPage::Home},
        {ui->mnuUpdate, WebPage::SoftwareUpdate},
        {ui->mnuDonate, WebPage::Donate},
        {ui->mnuMakeMoney, WebPage::MakeMoney},
    }};
    for (const auto& [action, page] : menuPages) {
        connect(action, &QAction::triggered, this, [this, page = page] { OpenPage(page); });
    }
    const std::array<std::pair<QLabel*, WebPage>, 3> labelPages {{
        {ui->Label8, WebPage::Forum},
        {ui->lblFullBrand_0, WebPage::FullEdition},
        {ui->lblFullBrand_1, WebPage::MoreSoftware},
    }};
    for (const auto& [label, page] : labelPages) {
        connect(label, &QLabel::linkActivated, this, [this, page = page] { OpenPage(page); });
    }

    Form_Load();

    // After loading, so the lists' first fill does not count as an edit.
    for (QComboBox* list : {ui->cboDate, ui->cboMonth, ui->cboYear, ui->cboHour, ui->cboMinute}) {
        connect(list, &QComboBox::currentIndexChanged, this, &frmMain::ApplyFoundZone);
    }
    connect(ui->cboTimeZone, &QComboBox::currentIndexChanged, this, &frmMain::ForgetFoundZone);
    connect(ui->chkDST, &QCheckBox::toggled, this, &frmMain::ForgetFoundZone);
    // Picking the entry already shown is a choice too.
    connect(ui->cboTimeZone, &QComboBox::activated, this, [this] { zoneChosen = true; });
    connect(ui->chkDST, &QCheckBox::clicked, this, [this] { zoneChosen = true; });
    ShowOffsetInForce();
}

frmMain::~frmMain() = default;

bool frmMain::ResultScreenInFront() const
{
    return ui->Frame2->isVisibleTo(this) && !ui->Frame1->isVisibleTo(this);
}

void frmMain::Form_Load()
{
    FillNumbers(*ui->cboDate, DayRange);
    for (const std::string_view month : MonthNames) {
        ui->cboMonth->addItem(FromUtf8(month));
    }
    FillNumbers(*ui->cboYear, conventions.Years());
    FillNumbers(*ui->cboHour, HourRange);
    FillNumbers(*ui->cboMinute, MinuteRange);
    QStringList zones;
    zones.reserve(TimeZoneCount);
    for (const TimeZone& zone : TimeZoneTable) {
        zones.append(FromUtf8(zone.Name));
    }
    ui->cboTimeZone->addItems(zones);
    for (QComboBox* list : {ui->cboDate, ui->cboMonth, ui->cboYear, ui->cboHour, ui->cboMinute, ui->cboTimeZone}) {
        list->setCurrentIndex(0);
    }
    BringToFront(Screen::Input);
}

void frmMain::BringToFront(Screen screen)
{
    // The screen behind is hidden, not just covered, so neither the mouse
    // nor Tab can reach its controls.
    const bool result = screen == Screen::Result;
    ui->Frame1->setVisible(!result);
    ui->Frame2->setVisible(result);
    if (result) {
        ui->Frame2->raise();
        ui->cmdSave->setFocus();
    } else {
        ui->Frame1->raise();
        ui->txtName->setFocus();
    }
}

void frmMain::ShowMessage(const QString& text, MessageIcon icon)
{
    prompts.ShowMessage(this, text, AppTitle, icon);
}

QLineEdit* frmMain::TextBoxOf(InputControl control) const
{
    switch (control) {
    case InputControl::txtName: return ui->txtName;
    case InputControl::txtLatDeg: return ui->txtLatDeg;
    case InputControl::txtLatMin: return ui->txtLatMin;
    case InputControl::txtLonDeg: return ui->txtLonDeg;
    case InputControl::txtLonMin: return ui->txtLonMin;
    case InputControl::txtCity: return ui->txtCity;
    case InputControl::txtState: return ui->txtState;
    case InputControl::txtCountry: return ui->txtCountry;
    case InputControl::optLat:
    case InputControl::optLong:
    case InputControl::None: break;
    }
    return nullptr;
}

void frmMain::ShowCheckFailure(const InputCheckFailure& failure)
{
    ShowMessage(FromUtf8(failure.Message), failure.Icon);
    if (failure.Control == InputControl::optLat) {
        controls.optLat[0]->setChecked(true);
    } else if (failure.Control == InputControl::optLong) {
        controls.optLong[0]->setChecked(true);
    } else if (QLineEdit* box = TextBoxOf(failure.Control)) {
        box->setFocus();
    }
}

void frmMain::cmdCalculate_Click()
{
    // The checks and the calculation live below the window, on the road the
    // command line takes; the window only reads its controls and shows the
    // texts. A found zone gives the offset, to the second, with the list
    // entry that gives it exactly, if any, to store.
    birth::BirthRequest request;
    request.Entries = ReadBirthData(*ui, controls);
    request.LocalMeanTime = foundLocalMeanTime;
    // A found zone decides even where its history has no single offset:
    // the road refuses such a time, as on the command line.
    if (fileOffset) {
        request.Offset = fileOffset;
    } else if (!foundZone.empty()) {
        request.TimeZone = foundZone;
    }
    // A blank list stands for an offset of none of its entries: the entry
    // nearest it passes the list's own check.
    if (request.Entries.ZonePosition < 0 && (fileOffset || !foundZone.empty() || foundLocalMeanTime)) {
        request.Entries.ZonePosition = readings::NearestListEntry(fileOffset ? fileOffset->UtcOffsetSeconds : 0);
    }
    birth::BirthResult checked = birth::ResolveBirth(request, zoneHistory, conventions);
    if (checked.Failure) {
        ShowCheckFailure(*checked.Failure);
        return;
    }
    if (checked.ZoneRefusal) {
        QString text = FromUtf8(checked.ZoneRefusal->Error);
        if (checked.ZoneRefusal->Problem == atlas::ZoneOffsetResult::Fault::NoSuchLocalTime) {
            text += tr("\n\nChoose the zone list entry (and the Daylight Saving Time box) of the offset meant, "
                       "or correct the time.");
        } else if (checked.ZoneRefusal->Problem == atlas::ZoneOffsetResult::Fault::TwiceLocalTime) {
            text += tr("\n\nChoose the zone list entry and the Daylight Saving Time box of the offset meant.");
        }
        ShowMessage(text, MessageIcon::Error);
        ui->cboTimeZone->setFocus();
        return;
    }
    if (!ConfirmZone(checked.Value)) {
        return;
    }
    const fullreading::FullReadingResult result = fullreading::CalculateFullReading(checked.Value, conventions, fullreading::EveryPart,
        birth::BirthClock(checked.Value, zoneHistory));
    if (result.Failure) {
        ShowCheckFailure(*result.Failure);
        return;
    }
    shownBirth = std::move(checked.Value);
    ShowReading(result.Value);
    BringToFront(Screen::Result);
}

bool frmMain::ConfirmZone(const Birth& birth)
{
    std::vector<std::string> questions;
    if (auto twice = birth::DaylightTwiceQuestion(birth)) {
        questions.push_back(std::move(*twice));
    }
    // Only a list entry nobody chose: a found zone or a file's offset is meant.
    bool askedFar = false;
    if (!zoneChosen && !fileOffset && birth.TimeZone.empty() && !birth.LocalMeanTime) {
        if (auto far = birth::FarFromMeanTimeQuestion(birth)) {
            questions.push_back(std::move(*far));
            askedFar = true;
        }
    }
    for (const std::string& question : questions) {
        const QString text = FromUtf8(question);
        if (confirmedQuestions.contains(text)) {
            continue;
        }
        if (!prompts.AskYesNo(this, text, AppTitle)) {
            ui->cboTimeZone->setFocus();
            return false;
        }
        confirmedQuestions.append(text);
    }
    zoneChosen = zoneChosen || askedFar; // the list's entry, now confirmed
    return true;
}

void frmMain::ShowReading(const fullreading::FullReading& reading)
{
    shownReading = reading;
    WriteResultLabels(controls, reading.Results);
    // A classic reading says which grahas the precise sky places elsewhere.
    ShowSkyCaption(FromUtf8(fullreading::SkyCaptionWithDifferences(reading)));
    ui->mnuChart->setEnabled(true);
    if (chartWindow != nullptr && chartWindow->isVisible()) {
        chartWindow->ShowReading(shownBirth, shownReading);
    }
}

void frmMain::ShowSkyCaption(const QString& caption)
{
    // Two lines hold one or two grahas named; the rare reading with more
    // gets a smaller type rather than a cut line.
    QLabel& label = *ui->lblSky;
    label.setFont(font());
    label.setText(caption);
    for (double points = FormFontPoints - 0.5;
         points >= SmallestSkyFontPoints && label.heightForWidth(label.width()) > label.height(); points -= 0.5) {
        QFont smaller = label.font();
        smaller.setPointSizeF(points);
        label.setFont(smaller);
    }
}

void frmMain::mnuPreciseSky_Toggled(bool precise)
{
    // The classic model keeps its own ayanamsa, node and year.
    const Conventions chosen = conventions;
    conventions = precise ? preciseConventions : Conventions {};
    if (!precise) {
        // The panchanga's sunrise is no part of the classic model: it stays.
        conventions.Sunrise = chosen.Sunrise;
    }
    if (precise) {
        conventions.Sky = SkyModel::Precise;
    } else {
        preciseConventions = chosen;
    }
    ui->mnuConventions->setEnabled(precise);
    ShowYears();
    Recalculate();
}

void frmMain::ShowYears()
{
    // The year chosen stays chosen when the other sky covers it too, and
    // otherwise becomes the nearest year it covers.
    const ListRange years = conventions.Years();
    const int before = ui->cboYear->currentText().toInt();
    const int chosen = std::clamp(before, years.First, years.Last);
    {
        const QSignalBlocker quiet(ui->cboYear);
        ui->cboYear->clear();
        FillNumbers(*ui->cboYear, years);
        ui->cboYear->setCurrentIndex(chosen - years.First);
    }
    if (chosen != before) {
        ApplyFoundZone();
    }
}

void frmMain::mnuConventions_Click()
{
    if (const std::optional<Conventions> chosen = prompts.ChooseConventions(this, conventions)) {
        conventions = *chosen;
        Recalculate();
    }
}

void frmMain::Recalculate()
{
    if (!ResultScreenInFront()) {
        return;
    }
    // The reading on screen is shown again, from its own birth, not from
    // entries that may have changed since.
    const fullreading::FullReadingResult result = fullreading::CalculateFullReading(shownBirth, conventions, fullreading::EveryPart,
        birth::BirthClock(shownBirth, zoneHistory));
    if (result.Failure) {
        ShowCheckFailure(*result.Failure);
        return;
    }
    ShowReading(result.Value);
}

void frmMain::cmdChart_Click()
{
    if (!ui->mnuChart->isEnabled()) {
        return; // no reading yet
    }
    if (chartWindow == nullptr) {
        chartWindow = new ChartWindow(prompts, this);
    }
    if (const std::optional<QString> refused = chartWindow->ShowReading(shownBirth, shownReading)) {
        chartWindow->close();
        ShowMessage(*refused, MessageIcon::Error);
        return;
    }
    chartWindow->show();
    chartWindow->raise();
    chartWindow->activateWindow();
}

void frmMain::cmdBack_Click()
{
    BringToFront(Screen::Input);
}

void frmMain::cmdSave_Click()
{
    FileDialogRequest request;
    request.Title = AppTitle;
    request.Filter = ReadingFilter;
    request.DefaultSuffix = ReadingSuffix;
    request.ProposedPath = lastSavedPath;
    request.ConfirmOverwrite = true;
    const std::optional<QString> path = prompts.ChooseSaveFile(this, request);
    if (!path) {
        return;
    }
    const readings::SaveResult saved = readings::SaveReadingFile(NativePath(*path), shownBirth, conventions);
    if (!saved.Saved) {
        // The reading module's reason already says that nothing was saved.
        ShowMessage(saved.Error.empty() ? QStringLiteral("The reading could not be saved.") : FromUtf8(saved.Error),
            MessageIcon::Error);
        return;
    }
    // Only a path that really holds the reading is proposed next time.
    lastSavedPath = *path;
}

void frmMain::cmdOpen_Click()
{
    FileDialogRequest request;
    request.Title = OpenTitle;
    request.Filter = ReadingFilter;
    request.DefaultSuffix = ReadingSuffix;
    request.MustExist = true;
    const std::optional<QString> path = prompts.ChooseOpenFile(this, request);
    if (path) {
        OpenSavedReading(*path);
    }
}

void frmMain::OpenSavedReading(const QString& path)
{
    // A refused file says why, in the words the command line prints.
    const auto refuse = [this](std::string_view reason) {
        ShowMessage(FromUtf8(readings::CheckTheFileMessage) + QStringLiteral("\n\n") + FromUtf8(reason) + u'.',
            MessageIcon::Error);
    };
    if (!readings::HasReadingExtension(path.toStdString())) {
        refuse("the name does not end in \"aha\"");
        return;
    }
    const readings::OpenResult opened = readings::OpenReadingFile(NativePath(path));
    // A damaged or foreign file changes no control.
    if (!opened.Reading) {
        refuse(opened.Reason);
        return;
    }
    // The sky and conventions the file was saved under; else a year only
    // the precise sky covers opens in the precise sky.
    if (opened.Chosen) {
        const bool precise = opened.Chosen->Sky == SkyModel::Precise;
        if (precise) {
            preciseConventions = *opened.Chosen;
        }
        ui->mnuPreciseSky->setChecked(precise);
        conventions = precise ? *opened.Chosen : Conventions {};
    } else if (!conventions.Years().Contains(opened.Reading->Year) && PreciseYearRange.Contains(opened.Reading->Year)) {
        ui->mnuPreciseSky->setChecked(true);
    }
    // The file's zone entry is the zone now, whatever was found before; its
    // date must not bring the found zone's history back meanwhile.
    const std::string zoneBefore = std::exchange(foundZone, std::string());
    std::optional<ExactOffset> offsetBefore = std::exchange(fileOffset, std::nullopt);
    if (!ApplyBirthData(*ui, controls, *opened.Reading)) {
        foundZone = zoneBefore; // nothing was applied
        fileOffset = std::move(offsetBefore);
        refuse("a degree or minute line holds more than the three characters of its box");
        return;
    }
    ForgetFoundZone();
    // The file's own offset, over its nearest list entry.
    fileOffset = opened.Offset;
    zoneChosen = true;
    if (fileOffset && (!fileOffset->Zone || fileOffset->LocalMeanTime)) {
        BlankZoneList();
    }
    ShowOffsetInForce();
    cmdCalculate_Click();
}

void frmMain::Command1_Click()
{
    const std::array<std::pair<QLineEdit*, QString>, 3> places {{
        {ui->txtCity, QStringLiteral("Please Enter City")},
        {ui->txtState, QStringLiteral("Please Enter State")},
        {ui->txtCountry, QStringLiteral("Please Enter Country")},
    }};
    for (const auto& [box, message] : places) {
        if (box->text().isEmpty()) {
            ShowMessage(message, MessageIcon::Error);
            box->setFocus();
            return;
        }
    }
    const QString query = LatitudeLongitudeQuery(ui->txtCity->text(), ui->txtState->text(), ui->txtCountry->text());
    OpenAddress(SiteSearchAddress(query, PageAddress(WebPage::Home)));
}

void frmMain::cmdFindPlace_Click()
{
    if (!atlasLoad) {
        atlasLoad = std::make_unique<atlas::AtlasLoad>(atlas::LoadAtlas());
    }
    const PlaceAnswer answer = prompts.FindPlace(this, *atlasLoad);
    if (answer.WebSearchAsked) {
        Command1_Click();
        return;
    }
    if (!answer.Chosen) {
        return;
    }
    const BirthData& found = answer.Chosen->Boxes;
    for (const auto& [box, text] : {std::pair {ui->txtCity, &found.City}, std::pair {ui->txtState, &found.State},
             std::pair {ui->txtCountry, &found.Country}}) {
        box->setText(FromUtf8(*text));
        box->setCursorPosition(0); // a long name shows its start
    }
    ui->txtLatDeg->setText(FromUtf8(found.LatDeg));
    ui->txtLatMin->setText(FromUtf8(found.LatMin));
    ui->txtLonDeg->setText(FromUtf8(found.LonDeg));
    ui->txtLonMin->setText(FromUtf8(found.LonMin));
    controls.optLat[found.South ? 1 : 0]->setChecked(true);
    controls.optLong[found.West ? 1 : 0]->setChecked(true);
    foundZone = answer.Chosen->Place.TimeZone;
    foundLocalMeanTime = answer.Chosen->LocalMeanTime;
    ApplyFoundZone();
}

void frmMain::ApplyFoundZone()
{
    // A file's offset found in a zone follows the zone's history once the
    // date or time changes; a mean time or a bare offset stays.
    if (fileOffset && !fileOffset->TimeZone.empty() && !fileOffset->LocalMeanTime && foundZone.empty()) {
        foundZone = fileOffset->TimeZone;
        fileOffset.reset();
    }
    if (foundZone.empty()) {
        return;
    }
    const BirthData entries = ReadBirthData(*ui, controls);
    const CivilDateTime local {entries.Year, entries.Month, entries.Day, entries.Hour, entries.Minute};
    const birth::ZoneAnswer answer = birth::OffsetInZone(zoneHistory, foundZone, local, std::nullopt);
    const atlas::ZoneOffsetResult& offset = answer.Found;
    foundZoneHolds = answer.Offset.has_value();
    ui->lblFoundZone->setToolTip(QString());
    if (foundLocalMeanTime || !answer.Offset || !answer.Offset->Zone) {
        BlankZoneList();
    }
    if (foundLocalMeanTime || (answer.Offset && answer.Offset->LocalMeanTime)) {
        // The offset comes from the longitude, as the calculation will take it.
        birth::BirthRequest request;
        request.Entries = entries;
        request.Entries.ZonePosition = std::max(entries.ZonePosition, 0); // blank: no entry is meant
        request.LocalMeanTime = true;
        const birth::BirthResult checked = birth::ResolveBirth(request, zoneHistory, DefaultConventions(SkyModel::Precise));
        const QString why = foundLocalMeanTime ? tr("as asked") : tr("%1 kept no standard time yet").arg(FromUtf8(foundZone));
        ui->lblFoundZone->setText(checked.Failure
                ? tr("Local mean time (%1): from the longitude once it is typed.").arg(why)
                : tr("Local mean time (%1): UTC%2.")
                      .arg(why, FromUtf8(atlas::UtcOffsetSecondsText(UtcOffsetSecondsOf(checked.Value)))));
        return;
    }
    if (!answer.Offset) {
        // A gap, an overlap or a day the month lacks: the list decides, as
        // the user sets it; the full reason is at hand.
        const QString when = QStringLiteral("%1:%2 on %3 %4 %5")
                                 .arg(entries.Hour, 2, 10, QLatin1Char('0'))
                                 .arg(entries.Minute, 2, 10, QLatin1Char('0'))
                                 .arg(entries.Day)
                                 .arg(FromUtf8(MonthNames[static_cast<std::size_t>(entries.Month - 1)]))
                                 .arg(entries.Year);
        const QString zone = FromUtf8(foundZone);
        QString line;
        switch (offset.Problem) {
        case atlas::ZoneOffsetResult::Fault::NoSuchLocalTime:
            line = tr("No %1 in %2: the clocks went forward. Set the zone by hand.").arg(when, zone);
            break;
        case atlas::ZoneOffsetResult::Fault::TwiceLocalTime:
            line = tr("%1 came twice in %2. Set the zone and the DST box by hand.").arg(when, zone);
            break;
        default: line = FromUtf8(offset.Error); break;
        }
        ui->lblFoundZone->setText(line);
        ui->lblFoundZone->setToolTip(FromUtf8(offset.Error));
        return;
    }
    QString line = FromUtf8(atlas::FoundOffsetLine(offset.Offset->UtcOffsetMinutes, offset.Offset->Zone, local));
    if (const std::optional<ZoneChoice>& entry = answer.Offset->Zone) {
        settingZone = true;
        ui->cboTimeZone->setCurrentIndex(entry->Position);
        ui->chkDST->setChecked(entry->DaylightSaving);
        settingZone = false;
    } else {
        line += tr("\nUsed as it is: no zone of the list has it.");
    }
    ui->lblFoundZone->setText(line);
}

void frmMain::ForgetFoundZone()
{
    if (settingZone) {
        return;
    }
    foundZone.clear();
    foundZoneHolds = false;
    foundLocalMeanTime = false;
    fileOffset.reset();
    zoneChosen = true;
    ShowOffsetInForce();
}

void frmMain::BlankZoneList()
{
    settingZone = true;
    ui->cboTimeZone->setCurrentIndex(-1);
    ui->chkDST->setChecked(false);
    settingZone = false;
}

void frmMain::ShowOffsetInForce()
{
    if (!foundZone.empty() || foundLocalMeanTime) {
        return; // the found zone's line says it
    }
    ui->lblFoundZone->setToolTip(QString());
    if (fileOffset) {
        const QString offset = FromUtf8(atlas::UtcOffsetSecondsText(fileOffset->UtcOffsetSeconds));
        const QString zone = fileOffset->TimeZone.empty() ? QString() : QStringLiteral(" (%1)").arg(FromUtf8(fileOffset->TimeZone));
        ui->lblFoundZone->setText(fileOffset->LocalMeanTime
                ? tr("Local mean time%1, as the reading file keeps it: from the longitude.").arg(zone)
                : tr("UTC%1%2, as the reading file keeps it.").arg(offset, zone));
        return;
    }
    const int position = ui->cboTimeZone->currentIndex();
    if (position < 0 || position >= TimeZoneCount) {
        ui->lblFoundZone->setText(tr("No zone chosen."));
        return;
    }
    const bool dst = ui->chkDST->isChecked();
    const QString offset = FromUtf8(atlas::UtcOffsetSecondsText(readings::ListEntryOffsetSeconds({position, dst})));
    ui->lblFoundZone->setText(dst ? tr("In force: UTC%1, the zone and an hour of daylight saving.").arg(offset)
                                  : tr("In force: UTC%1, the zone.").arg(offset));
}

void frmMain::mnuAbout_Click()
{
    prompts.ShowAbout(this, AboutTitle, AboutText());
}

void frmMain::OpenPage(WebPage page)
{
    OpenAddress(PageAddress(page));
}

void frmMain::OpenAddress(const QUrl& address)
{
    if (!prompts.OpenInBrowser(address)) {
        prompts.ShowSelectableMessage(this, PageNotOpenedMessage(address), AppTitle, MessageIcon::Error);
    }
}

bool frmMain::RefuseCharacter(QLineEdit* box, bool letterBox, char32_t refused)
{
    ShowMessage(RefusedCharacterMessage(refused, letterBox), MessageIcon::Error);
    if (letterBox) {
        box->setFocus();
    }
    return true;
}

bool frmMain::ListKeyPressed(QComboBox* list, const QKeyEvent& key)
{
    const int code = KeyCharacterCode(key.key(), key.modifiers(), key.text());
    if (code == 13) {
        cmdCalculate_Click();
        return true;
    }
    const auto typing = std::find_if(numberLists.begin(), numberLists.end(), [&](const auto& entry) { return entry.first == list; });
    if (typing == numberLists.end() || code < '0' || code > '9'
        || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }
    // Each list holds its numbers in order from its first; the month list
    // holds the months' names, 1 for January.
    const ListRange range = list == ui->cboDate ? DayRange
        : list == ui->cboMonth                 ? MonthRange
        : list == ui->cboYear                  ? conventions.Years()
        : list == ui->cboHour                  ? HourRange
                                               : MinuteRange;
    if (const std::optional<int> number = typing->second.Digit(static_cast<char>(code), typingClock.elapsed(), range)) {
        list->setCurrentIndex(*number - range.First);
    }
    return true; // never the list's own search, which takes "2" for 20 after 12
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    if (auto* list = qobject_cast<QComboBox*>(watched)) {
        return ListKeyPressed(list, *static_cast<QKeyEvent*>(event)) || QMainWindow::eventFilter(watched, event);
    }
    QLineEdit* box = qobject_cast<QLineEdit*>(watched);
    const bool letterBox = box == ui->txtName || box == ui->txtCity || box == ui->txtState || box == ui->txtCountry;
    const bool numberBox = box == ui->txtLatDeg || box == ui->txtLatMin || box == ui->txtLonDeg || box == ui->txtLonMin;
    if (!letterBox && !numberBox) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = KeyCharacterCode(key->key(), key->modifiers(), key->text());
    // A paste (Ctrl+V, Shift+Insert) is checked as typing its text would be.
    if (key->matches(QKeySequence::Paste) || code == PasteCode) {
        const std::optional<char32_t> refused = FirstRefused(QGuiApplication::clipboard()->text(), letterBox);
        return refused ? RefuseCharacter(box, letterBox, *refused) : false;
    }
    if (code == NotACharacter || IsEditingKey(code)) {
        return false;
    }
    if (letterBox ? LetterBoxAccepts(code) : NumberBoxAccepts(code)) {
        return false;
    }
    return RefuseCharacter(box, letterBox, static_cast<char32_t>(code));
}

} // namespace halvaro::app
