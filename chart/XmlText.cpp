#include "chart/XmlText.h"

#include "core/Text.h"

namespace halvaro::chart {

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;
constexpr char32_t Ellipsis = 0x2026;

bool XmlAllows(char32_t code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const Utf8Character c = DecodeUtf8(text, at);
        at += c.Length == 0 ? 1 : c.Length;
    }
    return count;
}

// Byte offsets of the characters of a text, and its length last.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();) {
        starts.push_back(at);
        const Utf8Character c = DecodeUtf8(text, at);
        at += c.Length == 0 ? 1 : c.Length;
    }
    starts.push_back(text.size());
    return starts;
}

} // namespace

std::vector<std::string> WrappedLines(std::string_view text, std::size_t maxCharacters)
{
    std::vector<std::string> lines;
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t count = starts.size() - 1;
    const std::size_t width = maxCharacters == 0 ? 1 : maxCharacters;
    std::size_t first = 0; // character index of the line's start
    while (count - first > width) {
        // The last blank that still lets the line fit, else a hard break.
        std::size_t end = first + width;
        while (end > first && text[starts[end]] != ' ') {
            --end;
        }
        const bool atBlank = end > first;
        if (!atBlank) {
            end = first + width;
        }
        lines.emplace_back(text.substr(starts[first], starts[end] - starts[first]));
        first = atBlank ? end + 1 : end;
    }
    lines.emplace_back(text.substr(starts[first]));
    return lines;
}

std::string XmlEscaped(std::string_view text, std::size_t maxCharacters)
{
    const bool cut = maxCharacters != std::string_view::npos && CharacterCount(text) > maxCharacters;
    const std::size_t keep = cut ? (maxCharacters == 0 ? 0 : maxCharacters - 1) : std::string_view::npos;
    std::string out;
    out.reserve(text.size());
    std::size_t kept = 0;
    for (std::size_t at = 0; at < text.size() && kept < keep; ++kept) {
        const Utf8Character c = DecodeUtf8(text, at);
        const std::size_t length = c.Length == 0 ? 1 : c.Length;
        if (c.Length == 0 || !XmlAllows(c.Code)) {
            AppendUtf8(out, ReplacementCharacter);
        } else {
            switch (c.Code) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out.append(text.substr(at, length));
            }
        }
        at += length;
    }
    if (cut && maxCharacters > 0) {
        AppendUtf8(out, Ellipsis);
    }
    return out;
}

} // namespace halvaro::chart
