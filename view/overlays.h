// The race clock and the panel about the leading horse, drawn straight onto
// the visible race picture in every drawing; after the winner has reached
// the line, the winner's frozen time and odds instead.
#pragma once

#include <QImage>

#include <string>

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

// The second of a drawing's two writes to the race: in the drawing after
// the phase machine has set WinnerCrossed, the winner's time (`now`, this
// drawing's clock reading) and the horse in front (`leader`) are stamped,
// once, and the flag is cleared.
void StampFinish(RaceState& race, int leader, float now);

// Draws the set for the current phase: the running clock at `now` with the
// panel about `leader` (the horse in front in this drawing), or the
// winner's frozen time and odds.
void DrawOverlays(const RaceState& race, int leader, QImage& picture, PrintState& print, float now);

}  // namespace trotix
