#include "surface.h"

#include <algorithm>

#include "invariant.h"

namespace trotix {

Surface::Surface(int width, int height, Pixel fill) : width_(width), height_(height) {
  TROTIX_CHECK(width >= 0 && height >= 0 && width <= 4096 && height <= 4096, "a surface of an impossible size");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Surface::Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

bool Surface::SamePixels(const Surface& other) const {
  return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

}  // namespace trotix
