// The chart of one field's figures, as SVG text: for every horse its true
// chance with the 95% interval beside the chance its odds imply, and the
// quinella as a 6 x 6 grid. trotix-sim --svg writes it and the page's lab
// shows it; the same figures give the same bytes in both.
#pragma once

#include <string>

#include "figures.h"

namespace trotix::sim {

// Only the numbers of arithmetic go into it (no logarithms, no locale), so a
// WebAssembly build draws it byte for byte as a native one does. Figures of
// fresh random fields have no one field to draw: only the heading and the
// winner's time.
std::string ChartSvg(const Figures& figures);

}  // namespace trotix::sim
