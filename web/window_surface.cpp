#include "window_surface.h"

#include <algorithm>

namespace trotix::web {

void WindowSurface::Fill(PixelBox box, Rgb colour) {
  const int left = std::max(box.left, 0);
  const int top = std::max(box.top, 0);
  const int right = std::min(box.left + box.width, kWindowWidth);
  const int bottom = std::min(box.top + box.height, kWindowHeight);
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* pixel = bytes_.data() + static_cast<std::size_t>(y * kStride + left * 4);
    for (int x = left; x < right; ++x, pixel += 4) {
      pixel[0] = colour.red;
      pixel[1] = colour.green;
      pixel[2] = colour.blue;
      pixel[3] = 0xFF;
    }
  }
}

void WindowSurface::Bevel(PixelBox box, Rgb light, Rgb dark) {
  Fill({box.left, box.top, box.width, 1}, light);
  Fill({box.left, box.top, 1, box.height}, light);
  Fill({box.left, box.top + box.height - 1, box.width, 1}, dark);
  Fill({box.left + box.width - 1, box.top, 1, box.height}, dark);
}

}  // namespace trotix::web
