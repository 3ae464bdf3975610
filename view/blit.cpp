#include "blit.h"

#include <algorithm>
#include <cstring>

namespace trotix {

void BitBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, RasterOp op) {
  width = std::min(width, source.width());
  height = std::min(height, source.height());
  // The part of the source rectangle that lands on the destination, worked
  // out in 64 bits so that no far-off place overflows.
  const std::int64_t src_x = std::max<std::int64_t>(0, -static_cast<std::int64_t>(x));
  const std::int64_t src_y = std::max<std::int64_t>(0, -static_cast<std::int64_t>(y));
  const std::int64_t dst_x = std::max(0, x);
  const std::int64_t dst_y = std::max(0, y);
  const std::int64_t w = std::min(width - src_x, dest.width() - dst_x);
  const std::int64_t h = std::min(height - src_y, dest.height() - dst_y);
  if (w <= 0 || h <= 0) return;

  for (std::int64_t row = 0; row < h; ++row) {
    const Pixel* from = source.Row(static_cast<int>(src_y + row)) + src_x;
    Pixel* to = dest.Row(static_cast<int>(dst_y + row)) + dst_x;
    switch (op) {
      case RasterOp::kSrcCopy:
        std::memcpy(to, from, static_cast<std::size_t>(w) * sizeof(Pixel));
        break;
      // Source and destination never overlap: the loops may run in vector lanes.
      case RasterOp::kSrcPaint:
#pragma omp simd
        for (std::int64_t col = 0; col < w; ++col) to[col] |= from[col];
        break;
      case RasterOp::kSrcAnd:
        // Both fourth bytes are 0xff, so AND keeps the pixel opaque.
#pragma omp simd
        for (std::int64_t col = 0; col < w; ++col) to[col] &= from[col];
        break;
    }
  }
}

}  // namespace trotix
