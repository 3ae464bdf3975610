// The race clock and the panel about the leading horse, drawn straight onto
// the visible race picture in every drawing; after the winner has reached
// the line, the winner's frozen time and odds instead.
#pragma once

#include <QImage>

#include <string>

#include "clock.h"
#include "picture_text.h"
#include "race_state.h"

namespace trotix {

inline constexpr QRgb kLightRed = qRgb(255, 128, 128);
inline constexpr QRgb kGreen = qRgb(0, 255, 0);
inline constexpr QRgb kBlue = qRgb(0, 0, 255);
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kRed = qRgb(255, 0, 0);

// "M:SS.SS"
std::string ClockText(float elapsed_seconds);
// "【k】 x0.0" for horse index `index`.
std::string OddsLineText(int index, double win_odds);

// Stamps the winner's time once when the phase machine has asked for it,
// then draws the set for the current phase. `leader` is the index of the
// horse in front in this drawing.
void DrawOverlays(RaceState& race, int leader, QImage& picture, PrintState& print, Clock& clock);

}  // namespace trotix
