#pragma once

#include <string>
#include <string_view>

namespace halvaro {

// The degree sign of the long position texts, in UTF-8.
inline constexpr std::string_view DegreeSign = "\xC2\xB0";

// Leading and trailing blanks removed (blanks only, as the boxes hold them).
std::string_view TrimmedBlanks(std::string_view text);
std::string TrimBlanks(std::string_view text);

// True when the texts are equal but for the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// A whole number in plain decimal, C locale: no sign for zero or above, no
// leading zeros, no grouping.
std::string DecimalText(long long value);

// The shortest decimal digits that give the double back: 365.25, 23.5.
std::string ShortestDecimalText(double value);

// One character of a UTF-8 text: its code point and its length in bytes, or
// a length of 0 where the bytes at `pos` are not a well-formed character
// (overlong forms and surrogates included).
struct Utf8Character {
    char32_t Code = 0;
    std::size_t Length = 0;
};
Utf8Character DecodeUtf8(std::string_view text, std::size_t pos);

// True when the whole text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Appends the UTF-8 form of one code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code);

// Text from outside (arguments, file names) as a message shows it: control
// characters (C0, DEL, and C1 written in UTF-8) and bytes that are not
// well-formed UTF-8 become \xHH, so a terminal shows them instead of obeying
// them. Everything else is kept as it is, up to MaxPrintedBytes: a longer
// text is cut at a character's end and marked "... (130000 bytes)".
inline constexpr std::size_t MaxPrintedBytes = 1024;
std::string PrintableText(std::string_view raw);

} // namespace halvaro
