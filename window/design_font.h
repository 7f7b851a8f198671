#pragma once
// Builds the Qt font for a face of the design. The faces are the classic Windows ones; where
// they are missing the metric-compatible Liberation faces stand in (fontconfig alone would
// send MS Sans Serif to the much wider DejaVu Sans). Sizes are points at 96 dots per inch.

#include <QFont>

#include "layout/control_table.h"

namespace brivana::window {

QFont DesignFont(const layout::FontSpec& design);
// The pixel size of a point size at 96 dots per inch.
int PointsToPixels(double points);

}  // namespace brivana::window
