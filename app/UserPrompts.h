#pragma once

#include "app/FindPlaceDialog.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"

#include <QString>
#include <QUrl>

#include <optional>

class QPrinter;
class QWidget;

namespace halvaro::app {

// What a file dialog is asked to show and enforce.
struct FileDialogRequest {
    QString Title;
    QString Filter;          // e.g. "Halvaro (*.aha)"
    QString DefaultSuffix;   // added when the user types a name without one
    QString ProposedPath;    // empty: no proposal
    bool ConfirmOverwrite = false;
    bool MustExist = false;
};

// What the Find Place dialog gave: a place, a wish for the web search, or
// nothing (cancelled).
struct PlaceAnswer {
    std::optional<FoundPlace> Chosen;
    bool WebSearchAsked = false;
};

// Everything the window asks of the user or of the desktop. The program uses
// the Qt implementation; tests script the answers and see every prompt.
class UserPrompts {
public:
    UserPrompts() = default;
    UserPrompts(const UserPrompts&) = delete;
    UserPrompts& operator=(const UserPrompts&) = delete;
    virtual ~UserPrompts() = default;

    // A modal message with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) = 0;
    // A question with Yes and No, No the default; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& title) = 0;
    // The same, with text the user can select and copy (an address to paste
    // elsewhere).
    virtual void ShowSelectableMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) = 0;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<QString> ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Hands an address to the system browser; false when nothing could take it.
    virtual bool OpenInBrowser(const QUrl& address) = 0;
    // The modal About box.
    virtual void ShowAbout(QWidget* parent, const QString& title, const QString& text) = 0;
    // The print dialog, which sets up the printer; false when the user cancels.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // The modal Find Place dialog over the given atlas (which may hold only
    // the reason there is none).
    virtual PlaceAnswer FindPlace(QWidget* parent, const atlas::AtlasLoad& atlas) = 0;
    // The modal Conventions dialog, starting from the current ones; nothing
    // when the user cancels.
    virtual std::optional<Conventions> ChooseConventions(QWidget* parent, const Conventions& current) = 0;
};

} // namespace halvaro::app
