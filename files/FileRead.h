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

namespace halvaro::files {

// A file read as a stream, a piece at a time (a batch's input, which may be a
// pipe): opened without taking a terminal; a folder is refused. The
// descriptor, or -1 with the reason in `error`.
int OpenToRead(const std::filesystem::path& path, std::string& error);

// Up to `size` bytes, read again when a signal interrupts: how many, 0 at
// the end, -1 when the input cannot be read (errno says why).
long ReadSome(int fd, char* buffer, std::size_t size);

} // namespace halvaro::files
