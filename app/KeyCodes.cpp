#include "app/KeyCodes.h"

#include <QList>

namespace halvaro::app {

int KeyCharacterCode(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return NotACharacter; // focus moves; the box never sees a character
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 127;
    default:
        break;
    }
    // Platforms differ in the text they attach to Ctrl+letter; the code is
    // the letter's control code either way.
    if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    if (text.isEmpty()) {
        return NotACharacter;
    }
    const QList<uint> codes = text.toUcs4();
    return codes.isEmpty() ? NotACharacter : static_cast<int>(codes.constFirst());
}

bool LetterBoxAccepts(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == ' ' || code == 8 || code == 127;
}

bool NumberBoxAccepts(int code)
{
    return (code >= '0' && code <= '9') || code == 8 || code == 127;
}

} // namespace halvaro::app
