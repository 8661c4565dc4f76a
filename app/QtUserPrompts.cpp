#include "app/QtUserPrompts.h"

#include "app/ConventionsDialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QEvent>
#include <QSettings>
#include <QTimer>

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

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    return icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Critical;
}

// Keeps a message box centred on its parent's window while it is up: a
// window shown just before (a file named on the command line) is placed by
// the window manager only after the box has been.
class CentreOnWindow final : public QObject {
public:
    CentreOnWindow(QWidget& box, QWidget& window)
        : QObject(&box)
        , box_(box)
        , window_(window)
    {
        window.installEventFilter(this);
        box.installEventFilter(this);
    }
    CentreOnWindow(const CentreOnWindow&) = delete;
    CentreOnWindow& operator=(const CentreOnWindow&) = delete;
    ~CentreOnWindow() override { window_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool windowMoved = watched == &window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize);
        const bool boxShown = watched == &box_ && event->type() == QEvent::Show;
        if (windowMoved || boxShown) {
            QTimer::singleShot(0, &box_, [this] {
                box_.move(box_.pos() + window_.frameGeometry().center() - box_.frameGeometry().center());
            });
        }
        return false;
    }

private:
    QWidget& box_;
    QWidget& window_;
};

int ExecCentred(QMessageBox& box, QWidget* parent)
{
    if (parent != nullptr) {
        new CentreOnWindow(box, *parent->window()); // owned by the box
    }
    return box.exec();
}

} // namespace

QtUserPrompts::QtUserPrompts()
{
    // QFileDialog writes its state through QSettings into
    // ~/.config/QtProject.conf when it is destroyed, and no option turns that
    // off. Below /dev/null, which is never a folder, a user settings file can
    // be neither made nor read: each dialog starts afresh, quietly, and no
    // file is left behind. The dialogs use the native format's path.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, parent);
    ExecCentred(box, parent);
}

bool QtUserPrompts::AskYesNo(QWidget* parent, const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return ExecCentred(box, parent) == QMessageBox::Yes;
}

void QtUserPrompts::ShowSelectableMessage(QWidget* parent, const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ExecCentred(box, parent);
}

std::optional<QString> QtUserPrompts::ChooseSaveFile(QWidget* parent, const FileDialogRequest& request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtUserPrompts::ChooseOpenFile(QWidget* parent, const FileDialogRequest& request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

bool QtUserPrompts::OpenInBrowser(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
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

std::optional<Conventions> QtUserPrompts::ChooseConventions(QWidget* parent, const Conventions& current)
{
    ConventionsDialog dialog(current, parent);
    return dialog.exec() == QDialog::Accepted ? std::optional(dialog.Chosen()) : std::nullopt;
}

PlaceAnswer QtUserPrompts::FindPlace(QWidget* parent, const atlas::AtlasLoad& atlas)
{
    FindPlaceDialog dialog(atlas, parent);
    dialog.exec();
    return {dialog.Chosen(), dialog.WebSearchAsked()};
}

} // namespace halvaro::app
