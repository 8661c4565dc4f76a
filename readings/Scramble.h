#pragma once

#include <string>
#include <string_view>

namespace halvaro::modHelp {

// Every byte moved 85 codes up (ScrambleText) or down (UnscrambleText).
// Pure walks over single-byte codes; a code that has no shifted form wraps,
// so callers check before they store (see readings/ReadingFile.h).
std::string ScrambleText(std::string_view text);
std::string UnscrambleText(std::string_view text);

} // namespace halvaro::modHelp
