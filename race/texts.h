// Every text the game shows, in one place: the window's and the listing's
// titles, the running styles, the margins, the labels of the result board,
// and the formats of the clock, the odds and the listing's lines. A new
// front end or a new language finds them all here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "race_state.h"

namespace trotix {

inline constexpr std::string_view kWindowTitle = "Trotix";
inline constexpr std::string_view kFieldListingTitle = "データ";

// Said after the refusal of a horse data file (FieldFileRefusal).
inline constexpr std::string_view kRandomFieldNote = "the field is made up at random";

// Running styles 1..4, front-runner to deep closer; piece 0 of the list is a
// blank. A style outside 0..4 (only a horse data file brings one) shows a
// blank too.
inline constexpr std::string_view kStyleGlyphList = " ,逃,先,差,追";
std::string_view StyleGlyph(std::int32_t style);

// Margins in the traditional terms: nose, head, neck, half and three
// quarters of a length; whole lengths are written as a number.
inline constexpr std::string_view kMarginNose = "ﾊﾅ";
inline constexpr std::string_view kMarginHead = "ｱﾀﾏ";
inline constexpr std::string_view kMarginNeck = "ｸﾋﾞ";
inline constexpr std::string_view kMarginHalf = "1/2";
inline constexpr std::string_view kMarginThreeQuarters = "3/4";

// The quinella, as the board names it.
inline constexpr std::string_view kQuinellaName = "馬連";

// The running clock, "M:SS.SS", and the winner's time on the board, "m:ss.s".
std::string ClockText(float elapsed_seconds);
std::string BoardTimeText(float elapsed_seconds);

// Odds as shown everywhere: "x" and one decimal; OddsNumber without the
// "x", as the odds are said.
std::string OddsText(double odds);
std::string OddsNumber(double odds);
// Horse index `index` as the game numbers it: "【k】", k = index + 1.
std::string HorseNumberText(int index);
// The leader panel's line for horse index `index`: "【k】 x0.0".
std::string OddsLineText(int index, double win_odds);

// The board's first column for place `place` (1..6) won by horse index
// `index`: "1着【4】 ".
std::string PlaceText(int place, int index);
// The board's last line: "馬連: 1-4  x7.5".
std::string QuinellaLineText(const QuinellaEntry& pair);

// The F7 listing: six lines "【n】Sp:000  St:000  g  x0.0", each ended by CR LF.
std::string FieldListingText(const RaceState& race);

}  // namespace trotix
