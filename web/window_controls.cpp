#include "window_controls.h"

#include <algorithm>

namespace trotix::web {

namespace {

constexpr Rgb kFace{240, 240, 240};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kShadow{160, 160, 160};
constexpr Rgb kDark{105, 105, 105};
constexpr Rgb kRunRed{204, 0, 0};
constexpr Rgb kGreyedRed{170, 150, 150};

}  // namespace

bool Contains(PixelBox box, int x, int y) {
  return x >= box.left && x < box.left + box.width && y >= box.top && y < box.top + box.height;
}

void DrawFace(WindowSurface& window) {
  const PixelBox pic = kPicMain;
  window.Fill({0, 0, kWindowWidth, pic.top}, kFace);
  window.Fill({0, pic.top, pic.left, pic.height}, kFace);
  window.Fill({pic.left + pic.width, pic.top, kWindowWidth - pic.left - pic.width, pic.height}, kFace);
  window.Fill({0, pic.top + pic.height, kWindowWidth, kWindowHeight - pic.top - pic.height}, kFace);
}

void DrawDistanceBar(WindowSurface& window, const DistanceBarState& bar) {
  const PixelBox frame = kKpbDist;
  const PixelBox inside{frame.left + 1, frame.top + 1, frame.width - 2, frame.height - 2};
  window.Fill(inside, kWhite);
  window.Bevel(frame, kDark, kDark);
  const double share = std::clamp(static_cast<double>(bar.value) / std::max(bar.maximum, 1), 0.0, 1.0);
  window.Fill({inside.left, inside.top, static_cast<int>(inside.width * share + 0.5), inside.height}, FromBgr(bar.bgr));
}

void DrawRunButton(WindowSurface& window, bool enabled) {
  const PixelBox button = kCmdRun;
  window.Fill(button, kFace);
  window.Bevel(button, kWhite, kShadow);
  // The pictogram, 16 x 16 in the middle: a red "play" triangle, until the
  // desktop's own (shell/images/run.xpm) is decoded without a toolkit.
  const int left = button.left + (button.width - 16) / 2;
  const int top = button.top + (button.height - 16) / 2;
  const Rgb ink = enabled ? kRunRed : kGreyedRed;
  for (int row = 0; row < 14; ++row) {
    const int reach = row < 7 ? row + 1 : 14 - row;
    window.Fill({left + 3, top + 1 + row, reach * 10 / 7, 1}, ink);
  }
}

}  // namespace trotix::web
