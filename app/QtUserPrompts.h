#pragma once

#include "app/UserPrompts.h"

namespace halvaro::app {

// The prompts of the running program: Qt message boxes, Qt file and print
// dialogs and the desktop's browser.
class QtUserPrompts final : public UserPrompts {
public:
    // Keeps the file dialogs from storing their state (last folder, view,
    // history) in the user's configuration: the program keeps no settings.
    QtUserPrompts();

    void ShowMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) override;
    bool AskYesNo(QWidget* parent, const QString& text, const QString& title) override;
    void ShowSelectableMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    bool OpenInBrowser(const QUrl& address) override;
    void ShowAbout(QWidget* parent, const QString& title, const QString& text) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    PlaceAnswer FindPlace(QWidget* parent, const atlas::AtlasLoad& atlas) override;
    std::optional<Conventions> ChooseConventions(QWidget* parent, const Conventions& current) override;
};

} // namespace halvaro::app
