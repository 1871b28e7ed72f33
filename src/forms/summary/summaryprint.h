#pragma once

#include "platform/printer.h"
#include "reports/summarylayout.h"

namespace quillary {

// The smallest and the largest point size the summary is printed in. The
// largest that puts every category of a year on one page is chosen.
inline constexpr double kSummaryMinPoints = 8.0;
inline constexpr double kSummaryMaxPoints = 9.5;

// Paints the printout onto the canvas's pages, as many as it needs; false
// when the printer failed.
bool paintSummary(PageCanvas& canvas, const SummaryPrintout& printout);

} // namespace quillary
