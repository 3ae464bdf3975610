// The main window's layout as every front end builds it: where its controls
// stand, the keys it answers and what its distance bar shows. The desktop
// lays out its widgets from these, the page draws the same window from them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace trotix {

// Places in twips from the top-left of the client area, as the window was
// laid out: the race view above, the distance bar and Run below it.
struct Placement {
  double left, top, width, height;
};
inline constexpr Placement kPicMain{52, 30, 2700, 1800};
inline constexpr Placement kKpbDist{52, 1875, 2130, 360};
inline constexpr Placement kCmdRun{2212, 1890, 540, 330};
inline constexpr double kClientWidth = 2805, kClientHeight = 2250;

// Virtual-key codes of the keys the window answers.
inline constexpr std::int16_t kVkF5 = 116;
inline constexpr std::int16_t kVkF6 = 117;  // the tickets, beside the window
inline constexpr std::int16_t kVkF7 = 118;

// RGB(0, 0, 255) as 0x00BBGGRR: the distance bar's colour before a race.
inline constexpr std::uint32_t kBarBlue = 0x00FF0000;

// The distance bar's caption: the value in whole metres, never below 0 (after
// the winner's finish the distance left goes negative) nor above `maximum`.
inline std::string DistanceCaption(int value, int maximum) { return std::to_string(std::clamp(value, 0, maximum)); }

// How many of the bar's `inside_width` pixels the colour fills: the share
// value / maximum, rounded, an empty bar for a value below 0.
inline int DistanceFill(int inside_width, int value, int maximum) {
  const double share = std::clamp(static_cast<double>(value) / std::max(maximum, 1), 0.0, 1.0);
  return static_cast<int>(inside_width * share + 0.5);
}

}  // namespace trotix
