// The 26 bitmaps the race view is drawn from, addressed by numeric id (the
// ids are named in sprite_ids.h): three gallop frames of the horse and their
// silhouettes, a rider in six silks in two positions, the rider's
// silhouettes, the distance pole, and four backdrops. Each is decoded once
// from its compiled-in source and kept.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sprite_ids.h"
#include "surface.h"

namespace trotix {

class SpriteCatalogue {
 public:
  // Every id there is (sprite_ids.h names each by its layer).
  static constexpr const std::array<int, kSpriteCount>& kIds = kAllSpriteIds;

  // Decodes every bitmap. One that does not decode ends the program with one
  // line on standard error, in every build: the program was built broken.
  SpriteCatalogue();

  // The bitmap with `id`; every id in kIds exists.
  const Surface& Bitmap(int id) const;

 private:
  std::vector<Surface> bitmaps_;
  std::array<std::int8_t, kLargestSpriteId + 1> slot_{};  // id -> place in bitmaps_ + 1; 0 for none
};

}  // namespace trotix
