#pragma once

#include "app/UserPrompts.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace halvaro::app {

// Scripted prompts: dialogs take their answers from queues, and every prompt
// is recorded as one line of text (kind, then its texts) for exact checks.
// A dialog with no scripted answer is recorded as unexpected and cancelled.
class FakeUserPrompts final : public UserPrompts {
public:
    void AnswerSaveDialog(std::optional<QString> path) { saveAnswers.push_back(std::move(path)); }
    void AnswerOpenDialog(std::optional<QString> path) { openAnswers.push_back(std::move(path)); }
    // The next question is answered Yes (true) or No.
    void AnswerQuestion(bool yes) { questionAnswers.push_back(yes); }
    // From now on no browser takes an address (none is installed).
    void RefuseBrowser() { browserOpens = false; }
    // A print dialog answered with a path prints to that PDF file; nothing cancels it.
    void AnswerPrintDialog(std::optional<QString> pdfPath) { printAnswers.push_back(std::move(pdfPath)); }
    // Find Place types the text into the real dialog and takes its first
    // match; an empty text asks for the web search instead.
    void AnswerFindPlace(const QString& typed, bool localMeanTime = false)
    {
        placeAnswers.push_back({typed, localMeanTime});
    }
    // The Conventions dialog gets these three entries of its lists chosen,
    // as shown; nothing cancels it.
    void AnswerConventions(std::optional<QStringList> entries) { conventionAnswers.push_back(std::move(entries)); }

    // The prompts seen since the last call.
    QStringList TakeCalls();
    // Prompts no test took and answers no dialog used; empty when all is well.
    [[nodiscard]] QStringList Leftovers() const;

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

    // How the recorded lines spell each prompt.
    static QString Message(MessageIcon icon, const QString& text, const QString& title = QStringLiteral("Halvaro"));
    static QString Question(const QString& text, const QString& title = QStringLiteral("Halvaro"));
    static QString SelectableMessage(
        MessageIcon icon, const QString& text, const QString& title = QStringLiteral("Halvaro"));
    static QString Dialog(const QString& kind, const FileDialogRequest& request);
    static QString Browser(const QString& address);

private:
    std::optional<QString> Answer(std::deque<std::optional<QString>>& answers, const QString& call);

    QStringList calls;
    std::deque<bool> questionAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> openAnswers;
    bool browserOpens = true;
    std::deque<std::optional<QString>> printAnswers;
    std::deque<std::pair<QString, bool>> placeAnswers;
    std::deque<std::optional<QStringList>> conventionAnswers;
};

} // namespace halvaro::app
