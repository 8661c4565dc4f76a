// app/ holds the Qt window: the input and result screens, the chart workspace, the place finder, the prompts
// and the key filters.
#pragma once

#include "app/FormMapping.h"
#include "app/WebLinks.h"
#include "atlas/Atlas.h"
#include "atlas/ZoneHistory.h"
#include "fullreading/FullReading.h"
#include "core/Birth.h"

#include "app/KeyCodes.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

namespace Ui {
class frmMain;
}
class QComboBox;
class QKeyEvent;
class QLineEdit;

namespace halvaro::app {

class ChartWindow;
class UserPrompts;

// The main window: the input screen (Frame1) and the result screen (Frame2)
// in one rectangle, only the screen in front reachable.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(UserPrompts& prompts, QWidget* parent = nullptr);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    [[nodiscard]] const Ui::frmMain& Form() const { return *ui; }
    [[nodiscard]] const ControlArrays& Controls() const { return controls; }
    [[nodiscard]] bool ResultScreenInFront() const;
    [[nodiscard]] const QString& LastSavedPath() const { return lastSavedPath; }
    // The checked birth of the reading on the result screen, as a save writes it.
    [[nodiscard]] const Birth& ShownBirth() const { return shownBirth; }
    // The sky model the next calculation uses.
    [[nodiscard]] SkyModel Sky() const { return conventions.Sky; }
    // The chart window once opened, else null.
    [[nodiscard]] ChartWindow* Chart() const { return chartWindow; }

    // Opens the reading file at path as "Open Previously Saved Reading" does
    // once a file is chosen: the same checks and message, then the
    // calculation. Also the way in for a file named on the command line.
    void OpenSavedReading(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Screen { Input, Result };

    void Form_Load();
    void cmdCalculate_Click();
    void mnuPreciseSky_Toggled(bool precise);
    void mnuConventions_Click();
    // The year list of the sky now chosen.
    void ShowYears();
    // The reading on the result screen again, from its own birth, under the
    // conventions now chosen.
    void Recalculate();
    void ShowReading(const fullreading::FullReading& reading);
    void ShowSkyCaption(const QString& caption);
    void cmdBack_Click();
    void cmdSave_Click();
    void cmdOpen_Click();
    void cmdChart_Click();
    void Command1_Click();
    void cmdFindPlace_Click();
    // The zone list, the DST box and the line under them from the found
    // place's zone history at the date and time on the screen.
    void ApplyFoundZone();
    // A hand change of the zone list or DST box: the found offset no longer applies.
    void ForgetFoundZone();
    // The line under the zone list, when neither a found zone nor local mean
    // time says more: the offset in force, from a reading file or the list.
    void ShowOffsetInForce();
    // Shows the zone list and DST box blank: the offset in force is none of
    // the list's.
    void BlankZoneList();
    // The questions a misleading zone choice raises, each put once; false
    // when the user would rather correct the zone.
    bool ConfirmZone(const Birth& birth);
    void mnuAbout_Click();
    void OpenPage(WebPage page);
    void OpenAddress(const QUrl& address);

    void BringToFront(Screen screen);
    void ShowMessage(const QString& text, MessageIcon icon);
    void ShowCheckFailure(const InputCheckFailure& failure);
    [[nodiscard]] QLineEdit* TextBoxOf(InputControl control) const;
    // True when the key press was refused (and the user told).
    bool RefuseCharacter(QLineEdit* box, bool letterBox, char32_t refused);
    // A key pressed on a closed list: digits select the number typed, Enter
    // asks for the reading; true when the key was used so.
    bool ListKeyPressed(QComboBox* list, const QKeyEvent& key);

    std::unique_ptr<Ui::frmMain> ui;
    ControlArrays controls;
    UserPrompts& prompts;
    QString lastSavedPath;
    Birth shownBirth; // of the reading on the result screen
    Conventions conventions; // kept for this run only
    Conventions preciseConventions = DefaultConventions(SkyModel::Precise); // chosen for the precise sky, while the classic one is used
    fullreading::FullReading shownReading;
    ChartWindow* chartWindow = nullptr; // owned by this window as a child
    std::unique_ptr<atlas::AtlasLoad> atlasLoad; // loaded when Find Place first opens
    atlas::ZoneCache zoneHistory;
    // The zone of the place found with Find Place, while its history decides
    // the offset; empty once the user sets the zone by hand.
    std::string foundZone;
    // The found zone's history gave one offset at the date and time on the
    // screen: the calculation takes the zone (birth/), not only the list.
    bool foundZoneHolds = false;
    bool foundLocalMeanTime = false; // Find Place asked for the place's local mean time
    bool settingZone = false; // the zone list and DST box being set from the atlas
    // The offset a reading file keeps (to the second, with its zone), in
    // force until the zone list or DST box is changed by hand.
    std::optional<ExactOffset> fileOffset;
    // The zone list or DST box was set, by hand, from a place or a file, so
    // its offset is no forgotten default.
    bool zoneChosen = false;
    QStringList confirmedQuestions; // answered Yes, not asked again

    // The number lists (day, month, year, hour, minute), each with the
    // digits typed into it.
    std::array<std::pair<QComboBox*, ListTyping>, 5> numberLists {};
    QElapsedTimer typingClock;
};

} // namespace halvaro::app
