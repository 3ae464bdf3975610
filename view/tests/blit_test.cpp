#include "blit.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

Surface Filled(int w, int h, Pixel colour) { return Surface(w, h, colour); }

TEST(BitBlt, OperationsWorkOnEachChannel) {
  const struct { RasterOp op; Pixel result; } cases[] = {
      {RasterOp::kSrcCopy, Rgb(0x0f, 0xf0, 0x33)},
      {RasterOp::kSrcPaint, Rgb(0x5f, 0xf5, 0x77)},  // 0x50|0x0f, 0xa5|0xf0, 0x44|0x33
      {RasterOp::kSrcAnd, Rgb(0x00, 0xa0, 0x00)},
  };
  for (const auto& c : cases) {
    Surface dest = Filled(4, 4, Rgb(0x50, 0xa5, 0x44));
    BitBlt(dest, 1, 1, 2, 2, Filled(2, 2, Rgb(0x0f, 0xf0, 0x33)), c.op);
    EXPECT_EQ(dest.At(1, 1), c.result) << static_cast<std::uint32_t>(c.op);
    EXPECT_EQ(dest.At(2, 2), c.result);
    EXPECT_EQ(dest.At(0, 0), Rgb(0x50, 0xa5, 0x44)) << "outside the rectangle";
    EXPECT_EQ(dest.At(3, 3), Rgb(0x50, 0xa5, 0x44));
  }
}

TEST(BitBlt, ClipsAtEveryEdge) {
  // A 4x4 source whose pixel (x, y) has red x and green y, copied to
  // places overlapping each edge of a 6x5 destination.
  Surface source(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source.Set(x, y, Rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200));
  }
  const struct { int x, y; } places[] = {{-2, -3}, {4, 3}, {-3, 2}, {3, -2}, {-10, 0}, {6, 0}, {0, 5}, {0, -4}};
  for (const auto& at : places) {
    Surface dest = Filled(6, 5, Rgb(9, 9, 9));
    BitBlt(dest, at.x, at.y, 4, 4, source, RasterOp::kSrcCopy);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        const int sx = x - at.x, sy = y - at.y;
        const bool inside = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
        EXPECT_EQ(dest.At(x, y), inside ? Rgb(static_cast<std::uint8_t>(sx), static_cast<std::uint8_t>(sy), 200) : Rgb(9, 9, 9))
            << "copy at " << at.x << "," << at.y << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(BitBlt, NeverReadsPastTheSource) {
  Surface dest = Filled(8, 8, Rgb(1, 2, 3));
  BitBlt(dest, 0, 0, 8, 8, Filled(2, 2, Rgb(7, 7, 7)), RasterOp::kSrcCopy);
  EXPECT_EQ(dest.At(1, 1), Rgb(7, 7, 7));
  EXPECT_EQ(dest.At(2, 2), Rgb(1, 2, 3));
}

}  // namespace
}  // namespace trotix
