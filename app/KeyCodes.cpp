#include "app/KeyCodes.h"

#include "core/InputChecks.h"

#include <QList>

#include <string>

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
    return (code >= 0 && NameCharacterAllowed(static_cast<char32_t>(code))) || code == 8 || code == 127;
}

bool NumberBoxAccepts(int code)
{
    return (code >= '0' && code <= '9') || code == 8 || code == 127;
}

bool IsEditingKey(int code)
{
    constexpr int CtrlA = 1, CtrlC = 3, Enter = 13, CtrlX = 24, CtrlZ = 26, Escape = 27;
    return code == CtrlA || code == CtrlC || code == PasteCode || code == CtrlX || code == CtrlZ || code == Enter
        || code == Escape;
}

std::optional<char32_t> FirstRefused(const QString& text, bool letterBox)
{
    for (const char32_t c : text.toUcs4()) {
        const int code = static_cast<int>(c);
        if (!(letterBox ? LetterBoxAccepts(code) : NumberBoxAccepts(code))) {
            return c;
        }
    }
    return std::nullopt;
}

QString RefusedCharacterMessage(char32_t refused, bool letterBox)
{
    if (!letterBox) {
        return QString::fromUtf8(OnlyNumbersMessage.data(), static_cast<qsizetype>(OnlyNumbersMessage.size()));
    }
    QString message = QString::fromUtf8(OnlyLettersMessage.data(), static_cast<qsizetype>(OnlyLettersMessage.size()));
    if (QChar::isLetter(refused)) {
        message += QStringLiteral(": \u201C%1\u201D cannot be kept in a reading file; please write it with the letters A to Z.")
                       .arg(QString::fromUcs4(&refused, 1));
    }
    return message;
}

std::optional<int> TypedListNumber(std::string_view digits, ListRange list)
{
    if (digits.empty() || digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int typed = 0;
    for (const char c : digits) {
        typed = typed * 10 + (c - '0');
    }
    if (list.Contains(typed)) {
        return typed;
    }
    // Leading zeros say nothing about the number begun, and "0" begins none.
    const std::string begun = std::to_string(typed);
    if (typed == 0) {
        return std::nullopt;
    }
    for (int n = list.First; n <= list.Last; ++n) {
        if (std::to_string(n).starts_with(begun)) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<int> ListTyping::Digit(char digit, std::int64_t nowMs, ListRange list)
{
    const bool paused = digits.empty() || nowMs - lastMs > PauseMs || nowMs < lastMs;
    lastMs = nowMs;
    if (!paused) {
        if (const std::optional<int> number = TypedListNumber(digits + digit, list)) {
            digits.push_back(digit);
            return number;
        }
    }
    digits.assign(1, digit);
    return TypedListNumber(digits, list);
}

} // namespace halvaro::app
