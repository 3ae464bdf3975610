#include "blit.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace trotix {

void BitBlt(QImage& dest, int x, int y, int width, int height, const QImage& source, RasterOp op) {
  assert(dest.format() == QImage::Format_RGB32 && source.format() == QImage::Format_RGB32);
  width = std::min(width, source.width());
  height = std::min(height, source.height());
  // The part of the source rectangle that lands on the destination.
  const int src_x = std::max(0, -x);
  const int src_y = std::max(0, -y);
  const int dst_x = std::max(0, x);
  const int dst_y = std::max(0, y);
  const int w = std::min(width - src_x, dest.width() - dst_x);
  const int h = std::min(height - src_y, dest.height() - dst_y);
  if (w <= 0 || h <= 0) return;

  uchar* dest_bits = dest.bits();  // detaches once, not once per row
  const uchar* source_bits = source.constBits();
  const qsizetype dest_stride = dest.bytesPerLine();
  const qsizetype source_stride = source.bytesPerLine();
  for (int row = 0; row < h; ++row) {
    const auto* from = reinterpret_cast<const QRgb*>(source_bits + (src_y + row) * source_stride) + src_x;
    auto* to = reinterpret_cast<QRgb*>(dest_bits + (dst_y + row) * dest_stride) + dst_x;
    switch (op) {
      case RasterOp::kSrcCopy:
        std::memcpy(to, from, static_cast<std::size_t>(w) * sizeof(QRgb));
        break;
      // Source and destination never overlap: the loops may run in vector lanes.
      case RasterOp::kSrcPaint:
#pragma omp simd
        for (int col = 0; col < w; ++col) to[col] |= from[col];
        break;
      case RasterOp::kSrcAnd:
        // Both alphas are 0xff in RGB32, so AND keeps the pixel opaque.
#pragma omp simd
        for (int col = 0; col < w; ++col) to[col] &= from[col];
        break;
    }
  }
}

}  // namespace trotix
