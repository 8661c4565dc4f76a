#include "FakeUserPrompts.h"

#include "app/ConventionsDialog.h"
#include "ui_FindPlaceDialog.h"

#include <QComboBox>

#include <QPrinter>
#include <QPushButton>

namespace halvaro::app {

QString FakeUserPrompts::Message(MessageIcon icon, const QString& text, const QString& title)
{
    return QStringLiteral("message [%1] \"%2\": %3")
        .arg(icon == MessageIcon::Error ? QStringLiteral("error") : QStringLiteral("information"), title, text);
}

QString FakeUserPrompts::Question(const QString& text, const QString& title)
{
    return QStringLiteral("question \"%1\": %2").arg(title, text);
}

QString FakeUserPrompts::SelectableMessage(MessageIcon icon, const QString& text, const QString& title)
{
    return QStringLiteral("selectable ") + Message(icon, text, title);
}

QString FakeUserPrompts::Dialog(const QString& kind, const FileDialogRequest& request)
{
    return QStringLiteral("%1 dialog \"%2\" filter \"%3\" suffix \"%4\" proposing \"%5\"%6%7")
        .arg(kind, request.Title, request.Filter, request.DefaultSuffix, request.ProposedPath,
            request.ConfirmOverwrite ? QStringLiteral(" confirm-overwrite") : QString(),
            request.MustExist ? QStringLiteral(" must-exist") : QString());
}

QString FakeUserPrompts::Browser(const QString& address)
{
    return QStringLiteral("browser ") + address;
}

QStringList FakeUserPrompts::TakeCalls()
{
    QStringList taken;
    taken.swap(calls);
    return taken;
}

QStringList FakeUserPrompts::Leftovers() const
{
    QStringList left;
    for (const QString& call : calls) {
        left.append(QStringLiteral("prompt not taken: ") + call);
    }
    for (const bool answer : questionAnswers) {
        left.append(QStringLiteral("question answer not used: ") + (answer ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    for (const auto& answer : saveAnswers) {
        left.append(QStringLiteral("save answer not used: ") + answer.value_or(QStringLiteral("(cancel)")));
    }
    for (const auto& answer : openAnswers) {
        left.append(QStringLiteral("open answer not used: ") + answer.value_or(QStringLiteral("(cancel)")));
    }
    for (const auto& answer : printAnswers) {
        left.append(QStringLiteral("print answer not used: ") + answer.value_or(QStringLiteral("(cancel)")));
    }
    for (const auto& answer : placeAnswers) {
        left.append(QStringLiteral("find place answer not used: ") + answer.first);
    }
    for (const auto& answer : conventionAnswers) {
        left.append(QStringLiteral("conventions answer not used: ") + answer.value_or(QStringList()).join(u'/'));
    }
    return left;
}

std::optional<QString> FakeUserPrompts::Answer(std::deque<std::optional<QString>>& answers, const QString& call)
{
    if (answers.empty()) {
        calls.append(QStringLiteral("UNEXPECTED ") + call);
        return std::nullopt;
    }
    calls.append(call);
    // Taken apart rather than moved whole: g++ 12 at -O2 warns falsely about
    // a moved std::optional<QString>.
    const bool cancelled = !answers.front().has_value();
    const QString text = answers.front().value_or(QString());
    answers.pop_front();
    if (cancelled) {
        return std::nullopt;
    }
    return text;
}

void FakeUserPrompts::ShowMessage(QWidget* /*parent*/, const QString& text, const QString& title, MessageIcon icon)
{
    calls.append(Message(icon, text, title));
}

bool FakeUserPrompts::AskYesNo(QWidget* /*parent*/, const QString& text, const QString& title)
{
    // Unscripted, the question is recorded as unexpected and answered No.
    if (questionAnswers.empty()) {
        calls.append(QStringLiteral("UNEXPECTED ") + Question(text, title));
        return false;
    }
    calls.append(Question(text, title));
    const bool yes = questionAnswers.front();
    questionAnswers.pop_front();
    return yes;
}

void FakeUserPrompts::ShowSelectableMessage(
    QWidget* /*parent*/, const QString& text, const QString& title, MessageIcon icon)
{
    calls.append(SelectableMessage(icon, text, title));
}

std::optional<QString> FakeUserPrompts::ChooseSaveFile(QWidget* /*parent*/, const FileDialogRequest& request)
{
    return Answer(saveAnswers, Dialog(QStringLiteral("save"), request));
}

std::optional<QString> FakeUserPrompts::ChooseOpenFile(QWidget* /*parent*/, const FileDialogRequest& request)
{
    return Answer(openAnswers, Dialog(QStringLiteral("open"), request));
}

bool FakeUserPrompts::OpenInBrowser(const QUrl& address)
{
    calls.append(Browser(address.toString(QUrl::FullyEncoded)));
    return browserOpens;
}

bool FakeUserPrompts::ChoosePrinter(QWidget* /*parent*/, QPrinter& printer)
{
    const std::optional<QString> pdfPath = Answer(printAnswers, QStringLiteral("print dialog"));
    if (!pdfPath) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*pdfPath);
    return true;
}

void FakeUserPrompts::ShowAbout(QWidget* /*parent*/, const QString& title, const QString& text)
{
    calls.append(QStringLiteral("about \"%1\": %2").arg(title, text));
}

PlaceAnswer FakeUserPrompts::FindPlace(QWidget* parent, const atlas::AtlasLoad& atlas)
{
    if (placeAnswers.empty()) {
        calls.append(QStringLiteral("UNEXPECTED find place"));
        return {};
    }
    const auto [typed, localMeanTime] = placeAnswers.front();
    placeAnswers.pop_front();
    calls.append(QStringLiteral("find place \"%1\"").arg(typed) + (localMeanTime ? QStringLiteral(", local mean time") : QString()));
    FindPlaceDialog dialog(atlas, parent); // the real one, driven as a user would
    dialog.Form().txtPlace->setText(typed);
    dialog.Form().chkLocalMeanTime->setChecked(localMeanTime);
    (typed.isEmpty() ? dialog.Form().cmdWebSearch : dialog.Form().buttonBox->button(QDialogButtonBox::Ok))->click();
    return {dialog.Chosen(), dialog.WebSearchAsked()};
}

std::optional<Conventions> FakeUserPrompts::ChooseConventions(QWidget* parent, const Conventions& current)
{
    const QString call = QStringLiteral("conventions dialog: ") + QString::fromStdString(ConventionsText(current));
    if (conventionAnswers.empty()) {
        calls.append(QStringLiteral("UNEXPECTED ") + call);
        return std::nullopt;
    }
    calls.append(call);
    const std::optional<QStringList> entries = conventionAnswers.front();
    conventionAnswers.pop_front();
    if (!entries) {
        return std::nullopt;
    }
    ConventionsDialog dialog(current, parent); // the real one, its lists chosen as a user would
    const QStringList lists {QStringLiteral("cboAyanamsa"), QStringLiteral("cboNode"), QStringLiteral("cboDashaYear"),
        QStringLiteral("cboSunrise")};
    for (qsizetype i = 0; i < std::min(lists.size(), entries->size()); ++i) {
        auto* list = dialog.findChild<QComboBox*>(lists[i]);
        list->setCurrentIndex(list->findText((*entries)[i]));
    }
    return dialog.Chosen();
}

} // namespace halvaro::app
