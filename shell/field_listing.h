// The F7 listing: every horse's number, ratings, style and win odds.
#pragma once

#include <string>

#include "race_state.h"

namespace trotix {

inline constexpr const char* kFieldListingTitle = "データ";

// Six lines "【n】Sp:000  St:000  g  x0.0", each ended by CR LF.
std::string FieldListingText(const RaceState& race);

}  // namespace trotix
