#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace halvaro::chart {

// A UTF-8 text made safe for XML character data and attribute values: the
// five markup characters as entities, and every byte sequence XML 1.0 cannot
// hold (malformed UTF-8, control characters) as U+FFFD. A text longer than
// maxCharacters is cut to one less and ends in an ellipsis.
std::string XmlEscaped(std::string_view text, std::size_t maxCharacters = std::string_view::npos);

// A text broken into lines of at most maxCharacters characters, at blanks
// where it has them (the blank dropped), inside a longer word where not.
// Nothing is cut; an empty text is one empty line.
std::vector<std::string> WrappedLines(std::string_view text, std::size_t maxCharacters);

} // namespace halvaro::chart
