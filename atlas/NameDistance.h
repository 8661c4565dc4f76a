#pragma once

#include <cstddef>
#include <string_view>

namespace halvaro::atlas {

// The Levenshtein distance between two texts, byte by byte: the fewest
// insertions, deletions and replacements that turn one into the other. For
// the closest names offered when a name is unknown.
std::size_t EditDistance(std::string_view a, std::string_view b);

} // namespace halvaro::atlas
