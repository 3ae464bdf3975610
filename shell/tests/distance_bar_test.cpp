#include "distance_bar.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

// Columns of the bar's inside filled with the bar colour, on its middle row.
int FilledColumns(DistanceBar& bar) {
  const QImage image = bar.grab().toImage();
  const QRgb colour = qRgb(static_cast<int>(bar.fwcolor() & 0xff), static_cast<int>((bar.fwcolor() >> 8) & 0xff),
                           static_cast<int>((bar.fwcolor() >> 16) & 0xff));
  int filled = 0;
  for (int x = 0; x < image.width(); ++x) filled += image.pixel(x, 2) == colour;  // above the caption
  return filled;
}

TEST(DistanceBar, ShowsTheDistanceLeftAndAnEmptyBarPastTheLine) {
  DistanceBar bar;
  bar.resize(142, 24);
  bar.setMaximum(2000);
  bar.setFwcolor(0x00FF0000);  // blue
  const struct { int value; int filled; const char* caption; } cases[] = {
      {2000, 140, "2000"}, {1000, 70, "1000"}, {0, 0, "0"}, {-37, 0, "0"}, {2150, 140, "2000"}, {1500, 105, "1500"},
  };
  for (const auto& c : cases) {
    bar.setValue(c.value);
    EXPECT_EQ(bar.value(), c.value) << "the bar keeps what it is given";
    EXPECT_EQ(FilledColumns(bar), c.filled) << c.value;
    EXPECT_EQ(bar.caption(), c.caption) << c.value;
  }
}

TEST(DistanceBar, TakesItsColourAsBlueGreenRed) {
  DistanceBar bar;
  bar.resize(142, 24);
  bar.setValue(2000);
  bar.setFwcolor(0x00000080);  // red 128
  const QImage image = bar.grab().toImage();
  EXPECT_EQ(image.pixel(10, 2), qRgb(128, 0, 0));
}

}  // namespace
}  // namespace trotix
