// The 26 bitmaps, compiled in from their XPM sources in bitmaps/.
#include "bitmap_sources.h"

#include <algorithm>

namespace trotix {

namespace {

#include "bitmaps/101.xpm"
#include "bitmaps/102.xpm"
#include "bitmaps/103.xpm"
#include "bitmaps/201.xpm"
#include "bitmaps/202.xpm"
#include "bitmaps/203.xpm"
#include "bitmaps/301.xpm"
#include "bitmaps/302.xpm"
#include "bitmaps/303.xpm"
#include "bitmaps/304.xpm"
#include "bitmaps/305.xpm"
#include "bitmaps/306.xpm"
#include "bitmaps/351.xpm"
#include "bitmaps/352.xpm"
#include "bitmaps/353.xpm"
#include "bitmaps/354.xpm"
#include "bitmaps/355.xpm"
#include "bitmaps/356.xpm"
#include "bitmaps/401.xpm"
#include "bitmaps/402.xpm"
#include "bitmaps/601.xpm"
#include "bitmaps/602.xpm"
#include "bitmaps/801.xpm"
#include "bitmaps/802.xpm"
#include "bitmaps/851.xpm"
#include "bitmaps/852.xpm"

template <std::size_t N>
constexpr BitmapSource Source(int id, const char* (&lines)[N]) {
  return {id, std::span<const char* const>(lines, N)};
}

constexpr std::array<BitmapSource, kSpriteCount> kSources = {{
    Source(101, bitmap_101),
    Source(102, bitmap_102),
    Source(103, bitmap_103),
    Source(201, bitmap_201),
    Source(202, bitmap_202),
    Source(203, bitmap_203),
    Source(301, bitmap_301),
    Source(302, bitmap_302),
    Source(303, bitmap_303),
    Source(304, bitmap_304),
    Source(305, bitmap_305),
    Source(306, bitmap_306),
    Source(351, bitmap_351),
    Source(352, bitmap_352),
    Source(353, bitmap_353),
    Source(354, bitmap_354),
    Source(355, bitmap_355),
    Source(356, bitmap_356),
    Source(401, bitmap_401),
    Source(402, bitmap_402),
    Source(601, bitmap_601),
    Source(602, bitmap_602),
    Source(801, bitmap_801),
    Source(802, bitmap_802),
    Source(851, bitmap_851),
    Source(852, bitmap_852),
}};

constexpr bool SameIds() {
  std::array<int, kSpriteCount> listed{};
  std::transform(kSources.begin(), kSources.end(), listed.begin(), [](const BitmapSource& s) { return s.id; });
  std::array<int, kSpriteCount> drawn = kAllSpriteIds;
  std::sort(listed.begin(), listed.end());
  std::sort(drawn.begin(), drawn.end());
  return listed == drawn;
}
static_assert(SameIds(), "the bitmaps compiled in are not the ids of sprite_ids.h");

}  // namespace

std::span<const BitmapSource> BitmapSources() { return kSources; }

}  // namespace trotix
