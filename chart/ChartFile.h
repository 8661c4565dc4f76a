#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::chart {

// Saves a picture's bytes, replacing an existing file only once the new one
// is complete. Nothing when saved, or the message for the user.
std::optional<std::string> SaveChartFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace halvaro::chart
