#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro {

// Writes the bytes through a temporary file in the target's folder, renamed
// over the target when complete: an existing file is never left damaged, and
// a file the user may not write is left alone. A symbolic link's target is
// replaced, not the link. Nothing on success, or the reason in words
// ("the folder "x" does not exist").
std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// A path in double quotes, for messages.
std::string QuotedPath(const std::filesystem::path& path);

// The words of an errno value, or "unknown error" for none.
std::string ErrnoText(int error);

} // namespace halvaro
