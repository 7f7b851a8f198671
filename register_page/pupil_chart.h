#pragma once
// The small chart of a pupil's right answers, one point per game, oldest on the left: inline
// SVG, drawn to scale from 0 to the pupil's best, with each point's date and value as its tooltip.

#include <string>
#include <vector>

#include "register_page/pupil_summary.h"

namespace brivana::register_page {

std::string PupilChartSvg(const std::vector<ChartPoint>& points);

}  // namespace brivana::register_page
