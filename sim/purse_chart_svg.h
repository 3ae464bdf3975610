// The player's record at a glance: the purse after every race of the
// ledger, as SVG text, drawn by the chart code of the lab (its scales,
// text and colours), so it looks the same on the desktop and in the page.
#pragma once

#include <string>
#include <vector>

#include "chart_svg.h"
#include "ledger.h"

namespace trotix::sim {

// One point per ledger line, in order; a refill and a race run with the
// chances seen before it are marked, as the ledger counts them, and an
// unsettled race is told apart. An empty ledger draws the new purse alone.
std::string PurseChartSvg(const std::vector<LedgerEntry>& entries, ChartLayout layout = ChartLayout::kWide);

}  // namespace trotix::sim
