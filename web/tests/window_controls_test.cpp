// The page's own drawing of the window around the race picture: the Run
// button keeps inside its box, shows the pictogram in colour exactly while
// Run is enabled, and the distance bar fills to the value it is given.
#include "window_controls.h"

#include <gtest/gtest.h>

#include "run_pictogram.h"

namespace trotix::web {
namespace {

constexpr Pixel kMarker = Rgb(1, 2, 3);  // what was there before the drawing

bool IsGrey(Pixel p) { return RedOf(p) == GreenOf(p) && GreenOf(p) == BlueOf(p); }

TEST(RunButton, IsDrawnInsideItsBoxWithItsDarkEdgesOnItsLastRowAndColumn) {
  const PixelBox button = PixelsOf(kCmdRun);
  for (const bool enabled : {true, false}) {
    Surface window(187, 150, kMarker);
    DrawRunButton(window, enabled);
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        if (!Contains(button, x, y)) {
          ASSERT_EQ(window.At(x, y), kMarker) << x << "," << y << " enabled " << enabled;
        }
      }
    }
    const int bottom = button.top + button.height - 1;
    const int right = button.left + button.width - 1;
    const Pixel shadow = window.At(right, bottom);
    EXPECT_LT(RedOf(shadow), RedOf(window.At(button.left + 2, button.top + 2))) << "darker than the face";
    for (int x = button.left; x <= right; ++x) EXPECT_EQ(window.At(x, bottom), shadow) << x;
    for (int y = button.top + 1; y <= bottom; ++y) EXPECT_EQ(window.At(right, y), shadow) << y;
  }
}

TEST(RunButton, ShowsThePictogramInColourExactlyWhileRunIsEnabled) {
  const PixelBox button = PixelsOf(kCmdRun);
  const Surface& pictogram = RunPictogram();
  ASSERT_EQ(pictogram.width(), 16);
  const int left = button.left + (button.width - pictogram.width()) / 2;
  const int top = button.top + (button.height - pictogram.height()) / 2;
  Surface enabled = NewWindow(), disabled = NewWindow();
  DrawRunButton(enabled, true);
  DrawRunButton(disabled, false);
  int figure = 0;
  for (int y = 0; y < pictogram.height(); ++y) {
    for (int x = 0; x < pictogram.width(); ++x) {
      const Pixel p = pictogram.At(x, y);
      if (p == kPictogramGrey) {
        EXPECT_EQ(enabled.At(left + x, top + y), disabled.At(left + x, top + y)) << "the grey is not drawn";
        continue;
      }
      ++figure;
      EXPECT_EQ(enabled.At(left + x, top + y), p) << x << "," << y;
      EXPECT_TRUE(IsGrey(disabled.At(left + x, top + y))) << x << "," << y;
    }
  }
  EXPECT_GT(figure, 0);
}

TEST(DistanceBar, FillsToTheValueAndNoFurther) {
  const PixelBox frame = PixelsOf(kKpbDist);
  const int inside = frame.width - 2;
  const std::uint32_t red = 0x000000FF;
  const struct { int value, filled; } cases[] = {{2000, inside}, {1000, inside / 2}, {0, 0}, {-50, 0}, {2500, inside}};
  for (const auto& c : cases) {
    Surface window = NewWindow();
    DrawDistanceBar(window, {2000, c.value, red});
    const int row = frame.top + 2;  // above the caption
    for (int x = 0; x < inside; ++x) {
      EXPECT_EQ(window.At(frame.left + 1 + x, row) == Rgb(255, 0, 0), x < c.filled) << "value " << c.value << " column " << x;
    }
  }
}

}  // namespace
}  // namespace trotix::web
