#include "screen_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace trotix {

namespace {

// Along one axis: how far [begin, end) lies outside [lo, hi), 0 when they meet.
std::int64_t Gap(std::int64_t begin, std::int64_t end, std::int64_t lo, std::int64_t hi) {
  return begin >= hi ? begin - hi + 1 : end <= lo ? lo - end + 1 : 0;
}

std::int64_t Overlap(std::int64_t begin, std::int64_t end, std::int64_t lo, std::int64_t hi) {
  return std::max<std::int64_t>(0, std::min(end, hi) - std::max(begin, lo));
}

int Fit(int at, int size, int lo, int room) {
  if (size >= room) return lo;
  return static_cast<int>(std::clamp<std::int64_t>(at, lo, std::int64_t{lo} + room - size));
}

}  // namespace

ScreenPoint PlaceOnScreens(ScreenPoint frame, int window_width, int window_height, FrameMargins margins,
                           std::span<const ScreenRect> screens) {
  const int width = std::max(0, margins.left) + window_width + std::max(0, margins.right);
  const int height = std::max(0, margins.top) + window_height + std::max(0, margins.bottom);
  const std::int64_t left = frame.x, right = left + width, top = frame.y;
  const std::int64_t bar = std::min(height, kTitleBarHeight), grip = std::min(width, kTitleBarGrip);
  const ScreenRect* nearest = nullptr;
  double nearest_distance = std::numeric_limits<double>::infinity();
  for (const ScreenRect& s : screens) {
    const std::int64_t s_right = std::int64_t{s.left} + s.width, s_bottom = std::int64_t{s.top} + s.height;
    if (Overlap(left, right, s.left, s_right) >= grip && Overlap(top, top + bar, s.top, s_bottom) >= bar) return frame;
    const auto dx = static_cast<double>(Gap(left, right, s.left, s_right));
    const auto dy = static_cast<double>(Gap(top, top + bar, s.top, s_bottom));
    const double distance = dx * dx + dy * dy;
    if (distance < nearest_distance) {
      nearest = &s;
      nearest_distance = distance;
    }
  }
  if (nearest == nullptr) return frame;
  return {Fit(frame.x, width, nearest->left, nearest->width), Fit(frame.y, height, nearest->top, nearest->height)};
}

}  // namespace trotix
