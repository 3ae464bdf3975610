// The window around the race picture, drawn by the page's own hand: the
// face, the distance bar and the Run button. On the desktop these are the
// toolkit's widgets; here they are pixels in the window's picture.
#pragma once

#include <cstdint>

#include "window_surface.h"

namespace trotix::web {

// The desktop window's places, from twips at 15 to a pixel (none falls on a
// half, so plain rounding agrees with the desktop's).
constexpr int Pixels(double twips) { return static_cast<int>(twips / 15.0 + 0.5); }
inline constexpr PixelBox kPicMain{Pixels(52), Pixels(30), Pixels(2700), Pixels(1800)};
inline constexpr PixelBox kKpbDist{Pixels(52), Pixels(1875), Pixels(2130), Pixels(360)};
inline constexpr PixelBox kCmdRun{Pixels(2212), Pixels(1890), Pixels(540), Pixels(330)};

// RGB(0, 0, 255) as 0x00BBGGRR: the colour of a race that has not begun.
inline constexpr std::uint32_t kBarBlue = 0x00FF0000;

struct DistanceBarState {
  int maximum = 2000;
  int value = 2000;  // below 0 after the winner's finish: an empty bar
  std::uint32_t bgr = kBarBlue;
};

bool Contains(PixelBox box, int x, int y);

// Everything outside the race picture.
void DrawFace(WindowSurface& window);
// The bar fills from the left by value / maximum, inside a dark frame.
void DrawDistanceBar(WindowSurface& window, const DistanceBarState& bar);
// A raised button with the red Run pictogram, greyed while disabled.
void DrawRunButton(WindowSurface& window, bool enabled);

}  // namespace trotix::web
