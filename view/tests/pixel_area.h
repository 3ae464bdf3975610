// A rectangle of pixels for tests to count in: left, top, width, height.
#pragma once

#include "surface.h"

namespace trotix::testing {

struct Area {
  int left, top, width, height;
  int right() const { return left + width - 1; }
  int bottom() const { return top + height - 1; }
};

// Pixels of `colour` inside `area`.
inline int Count(const Surface& surface, Pixel colour, Area area) {
  int n = 0;
  for (int y = area.top; y <= area.bottom(); ++y) {
    for (int x = area.left; x <= area.right(); ++x) n += surface.At(x, y) == colour;
  }
  return n;
}

}  // namespace trotix::testing
