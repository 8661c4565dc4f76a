#include "app/QtUserPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace halvaro::app {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.Title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(request.Filter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    if (!request.ProposedPath.isEmpty()) {
        dialog.selectFile(request.ProposedPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon)
{
    if (icon == MessageIcon::Information) {
        QMessageBox::information(parent, title, text);
    } else {
        QMessageBox::critical(parent, title, text);
    }
}

std::optional<QString> QtUserPrompts::ChooseSaveFile(QWidget* parent, const FileDialogRequest& request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtUserPrompts::ChooseOpenFile(QWidget* parent, const FileDialogRequest& request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

void QtUserPrompts::OpenInBrowser(const QUrl& address)
{
    QDesktopServices::openUrl(address);
}

void QtUserPrompts::ShowAbout(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::about(parent, title, text);
}

bool QtUserPrompts::ChoosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace halvaro::app
