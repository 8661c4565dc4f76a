#pragma once

#include "core/Ranges.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <Qt>

namespace halvaro::app {

// A key press that enters no character (arrows, Tab, Home, a lone Shift...).
inline constexpr int NotACharacter = -1;

// The character code a key press would enter into a text box: the control
// codes for Backspace 8, Enter 13, Escape 27, Delete 127 and Ctrl+letter
// (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24), otherwise the code of the typed text.
int KeyCharacterCode(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// The key filters of the text boxes: true when the character code may enter
// the box. The name and place boxes take ASCII letters, the blank and the
// marks names are written with (O'Brien, Winston-Salem, St. Louis), the
// degree and minute boxes digits; both take Backspace (8) and Delete (127).
bool LetterBoxAccepts(int code);
bool NumberBoxAccepts(int code);

// Keys that edit or leave a box rather than type into it, let through to do
// what they do everywhere: Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Enter and
// Escape. A paste is then checked as typing is.
bool IsEditingKey(int code);
inline constexpr int PasteCode = 22; // Ctrl+V

// The first character of a text that the box's filter refuses, or nothing.
std::optional<char32_t> FirstRefused(const QString& text, bool letterBox);

// The message for a refused character: the box's own, and for a letter
// beyond A to Z also the letter itself, since a reading file cannot hold it.
QString RefusedCharacterMessage(char32_t refused, bool letterBox);

// The number that digits typed into a list of numbers select: the number
// itself when the list holds it ("2", "23", "02" in the hour list), else the
// first the list holds that starts with them ("19" in the year list: 1901),
// else nothing.
std::optional<int> TypedListNumber(std::string_view digits, ListRange list);

// Digits typed into a list within a second of each other make one number,
// as people type "23" for 23; after a pause, or when the digits so far fit
// no number of the list, a digit starts a new one.
class ListTyping {
public:
    // How long after one digit the next still belongs to the same number.
    static constexpr std::int64_t PauseMs = 1000;

    // The number to select for one more digit typed at nowMs, or nothing.
    std::optional<int> Digit(char digit, std::int64_t nowMs, ListRange list);

private:
    std::string digits;
    std::int64_t lastMs = 0;
};

} // namespace halvaro::app
