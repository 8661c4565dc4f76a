#include "readings/Scramble.h"

namespace halvaro::modHelp {

namespace {

// Byte arithmetic modulo 256: a code with no shifted form wraps instead of
// failing, which keeps both walks total; the reading file refuses such codes
// before it scrambles anything.
std::string ShiftBytes(std::string_view text, unsigned shift)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const unsigned code = static_cast<unsigned char>(c);
        result.push_back(static_cast<char>(static_cast<unsigned char>((code + shift) & 0xFFU)));
    }
    return result;
}

} // namespace

std::string ScrambleText(std::string_view text)
{
    return ShiftBytes(text, 85U);
}

std::string UnscrambleText(std::string_view text)
{
    return ShiftBytes(text, 256U - 85U);
}

} // namespace halvaro::modHelp
