#include "chart/ChartFile.h"

#include "files/FileReplace.h"

namespace halvaro::chart {

std::optional<std::string> SaveChartFile(const std::filesystem::path& path, std::string_view bytes)
{
    if (auto reason = files::ReplaceFileContents(path, bytes)) {
        return "The chart could not be saved to " + files::QuotedPath(path) + ": " + *reason + ".";
    }
    return std::nullopt;
}

} // namespace halvaro::chart
