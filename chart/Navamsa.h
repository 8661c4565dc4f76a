#pragma once

#include "chart/ChartData.h"

namespace halvaro::chart {

// The Navamsa (D9) chart of a Rasi chart: each graha and the Lagna in its
// Navamsa sign, with the Rasi chart's caption and retrograde marks.
ChartData NavamsaChart(const ChartData& rasi);

} // namespace halvaro::chart
