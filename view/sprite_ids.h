// The ids of the 26 bitmaps the race view is drawn from, written here and
// nowhere else: each layer is named by gallop frame and horse number. The
// build holds the bitmaps compiled in (bitmap_sources.cpp) against
// kAllSpriteIds.
#pragma once

#include <array>
#include <cstddef>

#include "race_state.h"

namespace trotix {

inline constexpr int kGallopFrames = 3;  // the gallop cycle 1, 2, 3, 1, ...

// The horse in gallop frame 1..3, and its silhouette.
constexpr int HorsePictureId(int frame) { return 100 + frame; }
constexpr int HorseSilhouetteId(int frame) { return 200 + frame; }
// The rider in the silks of horse number 1..6, upper or one pixel lower, and
// the silhouette that fits every rider in that position.
constexpr int RiderPictureId(int number, bool low) { return (low ? 350 : 300) + number; }
constexpr int RiderSilhouetteId(bool low) { return low ? 402 : 401; }

inline constexpr int kPolePictureId = 601;
inline constexpr int kPoleSilhouetteId = 602;

// Backdrops by scene.
inline constexpr int kRunningBackdropAId = 801;  // RailToggle True
inline constexpr int kRunningBackdropBId = 802;  // RailToggle False: posts half a spacing on
inline constexpr int kStartBackdropId = 851;
inline constexpr int kFinishBackdropId = 852;
inline constexpr int kLargestSpriteId = kFinishBackdropId;

inline constexpr std::size_t kSpriteCount = 2 * kGallopFrames + 2 * kHorseCount + 2 + 2 + 4;

// Every id, by layer.
constexpr std::array<int, kSpriteCount> AllSpriteIds() {
  std::array<int, kSpriteCount> ids{};
  std::size_t n = 0;
  for (int frame = 1; frame <= kGallopFrames; ++frame) ids[n++] = HorsePictureId(frame);
  for (int frame = 1; frame <= kGallopFrames; ++frame) ids[n++] = HorseSilhouetteId(frame);
  for (bool low : {false, true}) {
    for (int number = 1; number <= static_cast<int>(kHorseCount); ++number) ids[n++] = RiderPictureId(number, low);
  }
  for (bool low : {false, true}) ids[n++] = RiderSilhouetteId(low);
  for (int id : {kPolePictureId, kPoleSilhouetteId, kRunningBackdropAId, kRunningBackdropBId, kStartBackdropId,
                 kFinishBackdropId}) {
    ids[n++] = id;
  }
  return ids;
}
inline constexpr std::array<int, kSpriteCount> kAllSpriteIds = AllSpriteIds();

}  // namespace trotix
