#include "chart/ChartFile.h"

#include "core/FileReplace.h"

namespace halvaro::chart {

std::optional<std::string> SaveChartFile(const std::filesystem::path& path, std::string_view bytes)
{
    if (auto reason = ReplaceFileContents(path, bytes)) {
        return "The chart could not be saved to " + QuotedPath(path) + ": " + *reason + ".";
    }
    return std::nullopt;
}

} // namespace halvaro::chart
