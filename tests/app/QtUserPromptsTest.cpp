#include "app/QtUserPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace halvaro;
using namespace halvaro::app;

namespace {

// Runs `look` on the next modal window the code under test opens, then
// closes that window; the prompts are modal, so this is the way in.
void OnNextModal(std::function<void(QWidget*)> look)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, look = std::move(look)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            look(modal);
            modal->close();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

} // namespace

// The Qt side of the prompt seam: what the program's own dialogs do.
class QtUserPromptsTest : public QObject {
    Q_OBJECT

private slots:
    void fileDialogLeavesNoSettings();
    void selectableMessage();
};

void QtUserPromptsTest::fileDialogLeavesNoSettings()
{
    QTemporaryDir config;
    QVERIFY(config.isValid());
    // First a plain dialog, with user settings sent to the throw-away folder:
    // it writes its state there when destroyed, so the check below can fail.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    {
        QFileDialog plain;
        plain.setOption(QFileDialog::DontUseNativeDialog);
    }
    const QString written = config.filePath(QStringLiteral("QtProject.conf"));
    QVERIFY(QFile::exists(written));
    QVERIFY(QFile::remove(written));

    QtUserPrompts prompts;
    OnNextModal([](QWidget* dialog) { QVERIFY(qobject_cast<QFileDialog*>(dialog) != nullptr); });
    FileDialogRequest request {QStringLiteral("Open"), QStringLiteral("Halvaro (*.aha)"), QStringLiteral("aha"),
        config.filePath(QStringLiteral("x.aha")), false, true};
    QCOMPARE(prompts.ChooseOpenFile(nullptr, request), std::nullopt);
    QCOMPARE(QDir(config.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void QtUserPromptsTest::selectableMessage()
{
    QtUserPrompts prompts;
    QString text;
    QString title;
    Qt::TextInteractionFlags flags;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnNextModal([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        QVERIFY(box != nullptr);
        text = box->text();
        title = box->windowTitle();
        flags = box->textInteractionFlags();
        icon = box->icon();
        // Plain text: an address with '<' or '&' shows as it is.
        QCOMPARE(box->textFormat(), Qt::PlainText);
    });
    const QString message = QStringLiteral("Copy this:\n\nhttps://www.orrelane.com/?a=<b>&c");
    prompts.ShowSelectableMessage(nullptr, message, QStringLiteral("Halvaro"), MessageIcon::Error);
    QCOMPARE(text, message);
    QCOMPARE(title, QStringLiteral("Halvaro"));
    QVERIFY(flags.testFlag(Qt::TextSelectableByMouse));
    QVERIFY(flags.testFlag(Qt::TextSelectableByKeyboard));
    QCOMPARE(icon, QMessageBox::Critical);
}

QTEST_MAIN(QtUserPromptsTest)
#include "QtUserPromptsTest.moc"
