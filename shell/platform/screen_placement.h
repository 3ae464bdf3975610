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

// The height of a title bar, and how much of it must show to be grabbed.
inline constexpr int kTitleBarHeight = 20;
inline constexpr int kTitleBarGrip = 32;

// The window's top-left corner, `frame`, as it opens: unchanged when its
// title bar (the top kTitleBarHeight pixels of a window `width` x `height`)
// lies on a screen, its whole height and at least kTitleBarGrip pixels of
// its width (or all of a narrower one); otherwise moved onto the screen
// nearest to that title bar, as little as it takes to lie wholly on it, or
// to that screen's top-left corner when the window is larger than it.
// `screens` are the screens' usable areas, the first of equals is taken;
// with none known, `frame` stays.
ScreenPoint PlaceOnScreens(ScreenPoint frame, int width, int height, std::span<const ScreenRect> screens);

}  // namespace trotix
