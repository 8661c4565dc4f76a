#pragma once

#include "chart/ChartData.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvaro::chart {

// South Indian: the signs fixed in a square of four by four, Pisces at the
// top left and on clockwise. North Indian: the diamond, houses counted from
// the Lagna counter-clockwise from the top, each with its sign's number.
enum class ChartStyle { South, North };

// "south" or "north", as the command line spells them.
std::optional<ChartStyle> ChartStyleNamed(std::string_view name);

// The picture of a chart in its varga as a standalone SVG document, UTF-8. Its viewBox lets any
// viewer scale it; every text from the reading is escaped.
std::string ChartSvg(const ChartData& chart, ChartStyle style);

} // namespace halvaro::chart
