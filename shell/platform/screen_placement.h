// Where the window opens when its stored place cannot be reached. The stored
// position is applied as it stands, but one whose title bar would be on no
// screen (a monitor unplugged since, a smaller screen) would leave the
// window where no one can grab it, a corner of it at best: the window then
// opens on the nearest screen instead. Plain values, no toolkit, so the
// rule is tested with screens that exist nowhere.
#pragma once

#include <span>

namespace trotix {

// Pixels of the desktop, the top-left corner and the size.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

struct FrameMargins { int left = 0, top = 0, right = 0, bottom = 0; };  // what the frame adds, in pixels

// The height of a title bar, and how much of it must show to be grabbed.
inline constexpr int kTitleBarHeight = 20;
inline constexpr int kTitleBarGrip = 32;

// The frame's top-left corner, `frame`, as it opens around a window `width`
// x `height`: unchanged when its title bar (the top kTitleBarHeight pixels)
// lies on a screen, its whole height and at least kTitleBarGrip pixels of
// its width (or all of a narrower one); otherwise moved onto the screen
// nearest that title bar, as little as it takes for the whole frame to lie
// on it, or to its top-left corner when the frame is larger. `screens` are
// the usable areas, the first of equals taken; with none, `frame` stays.
ScreenPoint PlaceOnScreens(ScreenPoint frame, int width, int height, FrameMargins margins,
                           std::span<const ScreenRect> screens);

}  // namespace trotix
