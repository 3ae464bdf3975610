// The colours the race view and the result board draw in, by use.
#pragma once

#include "surface.h"

namespace trotix {

inline constexpr Pixel kWhite = Rgb(255, 255, 255);
inline constexpr Pixel kBlack = Rgb(0, 0, 0);
inline constexpr Pixel kLightRed = Rgb(255, 128, 128);  // the winner's frozen time and odds
inline constexpr Pixel kGreen = Rgb(0, 255, 0);         // effort gauge
inline constexpr Pixel kBlue = Rgb(0, 0, 255);          // stamina gauge
inline constexpr Pixel kRed = Rgb(255, 0, 0);           // rating marks, the lit style marker
inline constexpr Pixel kOrange = Rgb(255, 160, 0);      // the board's placing lines
inline constexpr Pixel kLightGrey = Rgb(204, 204, 204); // the board's quinella line

}  // namespace trotix
