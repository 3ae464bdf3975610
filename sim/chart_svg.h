// The chart of one field's figures, as SVG text: for every horse its true
// chance with the 95% interval beside the chance its odds imply, and the
// quinella as a 6 x 6 grid. trotix-sim --svg writes it and the page's lab
// shows it; the same figures give the same bytes in both.
#pragma once

#include <string>

#include "figures.h"

namespace trotix::sim {

// The wide chart, 640 wide, for a desktop; the narrow one, 360 wide, for a
// phone: shown at that width its smallest text is 12 CSS px.
enum class ChartLayout { kWide, kNarrow };

// Only the numbers of arithmetic go into it (no logarithms, no locale), so a
// WebAssembly build draws it byte for byte as a native one does. Figures of
// fresh random fields have no one field to draw: only the heading and the
// winner's time. The game's Japanese in it is marked lang="ja", and notes
// under the chart say in plain words what its terms mean.
std::string ChartSvg(const Figures& figures, ChartLayout layout = ChartLayout::kWide);

}  // namespace trotix::sim
