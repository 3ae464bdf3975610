#include "surface.h"

#include <algorithm>

#include "invariant.h"

namespace trotix {

Surface::Surface(int width, int height, Pixel fill) : width_(width), height_(height) {
  TROTIX_CHECK(width >= 0 && height >= 0 && width <= 4096 && height <= 4096, "a surface of an impossible size");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Surface::Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

void Surface::FillBetween(int left, int top, int right, int bottom, Pixel p) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_ - 1);
  bottom = std::min(bottom, height_ - 1);
  if (left > right) return;
  const int width = right - left + 1;
  for (int y = top; y <= bottom; ++y) {
    Pixel* row = Row(y) + left;
    // A plain loop, marked for vector lanes: std::fill of 32-bit pixels is not vectorised at -O2.
#pragma omp simd
    for (int x = 0; x < width; ++x) row[x] = p;
  }
}

bool Surface::SamePixels(const Surface& other) const {
  return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

}  // namespace trotix
