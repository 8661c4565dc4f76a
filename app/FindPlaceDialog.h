#pragma once

#include "atlas/Atlas.h"
#include "core/BirthData.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class FindPlaceDialog;
}

namespace halvaro::app {

// A place as the input screen takes it: the place boxes and their option
// buttons as atlas::PutPlace fills them (names in plain Latin letters,
// coordinates rounded to the minute), and the place itself, whose zone's
// history gives the offset at the screen's date and time.
struct FoundPlace {
    atlas::Place Place; // as the atlas has it
    BirthData Boxes;    // only the place boxes and options are filled
    bool LocalMeanTime = false; // the place's local mean time asked for instead of its zone
};
FoundPlace FoundPlaceOf(const atlas::Place& place);

// "Find Place": lists the atlas's matches as the user types (city, state,
// country, zone), most populous first, and returns the one chosen. Without
// an atlas it says why and offers only the web search.
class FindPlaceDialog : public QDialog {
    Q_OBJECT

public:
    // `atlasLoad` must outlive the dialog.
    FindPlaceDialog(const atlas::AtlasLoad& atlasLoad, QWidget* parent = nullptr);
    ~FindPlaceDialog() override;
    FindPlaceDialog(const FindPlaceDialog&) = delete;
    FindPlaceDialog& operator=(const FindPlaceDialog&) = delete;

    // The place chosen, once the dialog was accepted with one.
    [[nodiscard]] const std::optional<FoundPlace>& Chosen() const { return chosen; }
    // True when the user asked for the web search instead.
    [[nodiscard]] bool WebSearchAsked() const { return webSearchAsked; }

    [[nodiscard]] const Ui::FindPlaceDialog& Form() const { return *ui; }

private:
    void ShowMatches(const QString& text);
    void AddRows(); // the places shown, one row each
    void Choose();

    std::unique_ptr<Ui::FindPlaceDialog> ui;
    const atlas::AtlasLoad& loaded;
    std::vector<atlas::Place> shown; // the list's rows, in order
    std::optional<FoundPlace> chosen;
    bool webSearchAsked = false;
};

} // namespace halvaro::app
