#pragma once

#include <QString>
#include <Qt>

namespace halvaro::app {

// A key press that enters no character (arrows, Tab, Home, a lone Shift...).
inline constexpr int NotACharacter = -1;

// The character code a key press would enter into a text box: the control
// codes for Backspace 8, Enter 13, Escape 27, Delete 127 and Ctrl+letter
// (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24), otherwise the code of the typed text.
int KeyCharacterCode(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// The key filters of the text boxes: true when the character code may enter
// the box. The name and place boxes take ASCII letters and the blank, the
// degree and minute boxes digits; both take Backspace (8) and Delete (127).
bool LetterBoxAccepts(int code);
bool NumberBoxAccepts(int code);

} // namespace halvaro::app
