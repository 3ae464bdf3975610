// QT_SCALE_FACTOR, which Qt takes as it comes: a negative one crashed the
// game inside Qt before its window ever showed.
#pragma once

#include <string_view>

namespace trotix {

// The scale factors the game opens with; Qt is given no other.
inline constexpr double kLeastScaleFactor = 0.1;
inline constexpr double kGreatestScaleFactor = 10.0;

// Whether `text`, the variable's value, is a number (spaces around it and a
// leading + allowed, as Qt reads it) from kLeastScaleFactor to
// kGreatestScaleFactor.
bool UsableScaleFactor(std::string_view text);

}  // namespace trotix
