// The window around the race picture, drawn by the page's own hand on one
// surface of the window's size: the face, the distance bar with its caption
// and the Run button with its pictogram. On the desktop these are the
// toolkit's widgets, placed from the same layout (shell/main_window_layout.h).
#pragma once

#include <cstdint>

#include "main_window_layout.h"
#include "surface.h"
#include "track.h"

namespace trotix::web {

// A place on the window in pixels.
struct PixelBox {
  int left, top, width, height;
};
PixelBox PixelsOf(const Placement& twips);
bool Contains(PixelBox box, int x, int y);

// The whole client area, its face already drawn.
Surface NewWindow();

struct DistanceBarState {
  int maximum = static_cast<int>(kRaceMetres);
  int value = static_cast<int>(kRaceMetres);  // below 0 after the winner's finish: an empty bar
  std::uint32_t bgr = kBarBlue;
};

// The bar fills from the left by value / maximum inside a dark frame; its
// caption is centred, dark over the empty part and white over the bar.
void DrawDistanceBar(Surface& window, const DistanceBarState& bar);
// A raised button with the Run pictogram, greyed while it is disabled.
void DrawRunButton(Surface& window, bool enabled);

}  // namespace trotix::web
