#pragma once

#include "app/UserPrompts.h"

namespace halvaro::app {

// The prompts of the running program: Qt message boxes, Qt file and print
// dialogs and the desktop's browser.
class QtUserPrompts final : public UserPrompts {
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    void OpenInBrowser(const QUrl& address) override;
    void ShowAbout(QWidget* parent, const QString& title, const QString& text) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
};

} // namespace halvaro::app
