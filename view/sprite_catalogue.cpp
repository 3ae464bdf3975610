#include "sprite_catalogue.h"

#include <string>

#include "bitmap_sources.h"
#include "invariant.h"
#include "xpm.h"

namespace trotix {

SpriteCatalogue::SpriteCatalogue() {
  bitmaps_.reserve(kSpriteCount);
  for (const BitmapSource& source : BitmapSources()) {
    std::optional<Surface> bitmap = DecodeXpm(source.xpm);
    const std::string what = "the bitmap " + std::to_string(source.id) + " does not decode";
    TROTIX_CHECK(bitmap.has_value(), what.c_str());
    bitmaps_.push_back(std::move(*bitmap));
    slot_[static_cast<std::size_t>(source.id)] = static_cast<std::int8_t>(bitmaps_.size());
  }
}

const Surface& SpriteCatalogue::Bitmap(int id) const {
  const bool known = id >= 0 && id <= kLargestSpriteId && slot_[static_cast<std::size_t>(id)] != 0;
  TROTIX_CHECK(known, "a sprite id outside the catalogue was drawn");
  return bitmaps_[static_cast<std::size_t>(slot_[static_cast<std::size_t>(id)] - 1)];
}

}  // namespace trotix
