// The XPM source of every bitmap the race view is drawn from, compiled into
// the program; the build holds their ids against sprite_ids.h.
#pragma once

#include <span>

#include "sprite_ids.h"

namespace trotix {

struct BitmapSource {
  int id;
  std::span<const char* const> xpm;
};

std::span<const BitmapSource> BitmapSources();

}  // namespace trotix
