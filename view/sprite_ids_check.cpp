// Compiled with TROTIX_RESOURCE_BITMAP_IDS, the ids view/CMakeLists.txt puts
// into the program's resources: the build stops when that list and the ids
// the view draws from part ways.
#include <algorithm>

#include "sprite_ids.h"

namespace trotix {
namespace {

constexpr int kResourceIds[] = {TROTIX_RESOURCE_BITMAP_IDS};

constexpr bool SameIds() {
  if (std::size(kResourceIds) != kAllSpriteIds.size()) return false;
  std::array<int, kSpriteCount> listed{};
  std::copy(std::begin(kResourceIds), std::end(kResourceIds), listed.begin());
  std::array<int, kSpriteCount> drawn = kAllSpriteIds;
  std::sort(listed.begin(), listed.end());
  std::sort(drawn.begin(), drawn.end());
  return listed == drawn;
}
static_assert(SameIds(), "the bitmaps listed in view/CMakeLists.txt are not the ids of sprite_ids.h");

}  // namespace
}  // namespace trotix
