#include "core/Text.h"

#include "core/FixedText.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace halvaro {

std::string_view TrimmedBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string TrimBlanks(std::string_view text)
{
    return std::string(TrimmedBlanks(text));
}

std::string ShortestDecimalText(double value)
{
    std::array<char, 32> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

std::string DecimalText(long long value)
{
    FixedText<24> text;
    if (value < 0) {
        text.append('-');
        // The size of the most negative value does not fit its own type.
        text.appendNumber(0ULL - static_cast<unsigned long long>(value));
    } else {
        text.appendNumber(static_cast<unsigned long long>(value));
    }
    return text.str();
}

Utf8Character DecodeUtf8(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1FU;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0FU;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07U;
        lowest = 0x10000;
    } else {
        return {};
    }
    if (text.size() - pos < length) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0U) != 0x80U) {
            return {};
        }
        code = (code << 6U) | (next & 0x3FU);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    return {code, length};
}

void AppendUtf8(std::string& out, char32_t code)
{
    const auto put = [&](unsigned value) { out.push_back(static_cast<char>(static_cast<unsigned char>(value))); };
    if (code < 0x80U) {
        put(code);
    } else if (code < 0x800U) {
        put(0xC0U | (code >> 6U));
        put(0x80U | (code & 0x3FU));
    } else if (code < 0x10000U) {
        put(0xE0U | (code >> 12U));
        put(0x80U | ((code >> 6U) & 0x3FU));
        put(0x80U | (code & 0x3FU));
    } else {
        put(0xF0U | (code >> 18U));
        put(0x80U | ((code >> 12U) & 0x3FU));
        put(0x80U | ((code >> 6U) & 0x3FU));
        put(0x80U | (code & 0x3FU));
    }
}

bool IsUtf8(std::string_view text)
{
    for (std::size_t pos = 0, size = 0; pos < text.size(); pos += size) {
        if ((size = DecodeUtf8(text, pos).Length) == 0) {
            return false;
        }
    }
    return true;
}

std::string PrintableText(std::string_view raw)
{
    constexpr std::string_view hexDigits = "0123456789abcdef";
    std::string out;
    out.reserve(std::min(raw.size(), MaxPrintedBytes));
    std::size_t pos = 0;
    while (pos < raw.size()) {
        if (pos >= MaxPrintedBytes) {
            return out + "... (" + DecimalText(static_cast<long long>(raw.size())) + " bytes)";
        }
        const Utf8Character c = DecodeUtf8(raw, pos);
        const bool control = c.Length != 0 && (c.Code < 0x20U || (c.Code >= 0x7FU && c.Code < 0xA0U));
        if (c.Length != 0 && !control) {
            out.append(raw.substr(pos, c.Length));
            pos += c.Length;
            continue;
        }
        // A control character byte by byte, or one stray byte.
        for (std::size_t end = pos + (c.Length == 0 ? 1 : c.Length); pos < end; ++pos) {
            const auto byte = static_cast<unsigned char>(raw[pos]);
            out += "\\x";
            out += hexDigits[byte >> 4U];
            out += hexDigits[byte & 0x0FU];
        }
    }
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace halvaro
