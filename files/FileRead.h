#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace halvaro::files {

enum class ReadFault { None, CannotRead, NotPlainFile, TooLarge };

struct ReadFileResult {
    ReadFault Fault = ReadFault::None;
    std::string Bytes;
    int Error = 0; // the system's error number, for CannotRead
};

// Reads a whole plain file of at most maxBytes. The path is opened without
// waiting on a pipe or taking a terminal, and the opened file itself is
// checked, so a special file swapped in after any earlier look is refused.
// Symbolic links are followed.
ReadFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

} // namespace halvaro::files
