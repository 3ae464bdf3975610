// The bound a drawing is measured against: its 26 layer copies and its two
// whole-frame copies as plain loops over fixed arrays, with nothing else
// around them, built at -O3.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "mid_race.h"
#include "scene_compositor.h"
#include "sprite_ids.h"
#include "twips.h"

namespace trotix {
namespace {

constexpr int kW = 180, kH = 120;
using Frame = std::array<std::array<std::uint32_t, kW>, kH>;
struct Layer {
  int width = 0, height = 0;
  std::array<std::array<std::uint32_t, 50>, 62> pixels{};
};

Layer LayerOf(int id) {
  const Surface& bitmap = Sprites().Bitmap(id);
  Layer layer;
  layer.width = bitmap.width();
  layer.height = bitmap.height();
  for (int y = 0; y < layer.height; ++y) {
    for (int x = 0; x < layer.width; ++x) layer.pixels[y][x] = bitmap.At(x, y);
  }
  return layer;
}

// One layer's copy, clipped to the frame once and then copied row by row.
template <bool kOr>
void PlainCopy(Frame& dest, const Layer& layer, int at_x, int at_y) {
  const int x0 = std::max(0, -at_x), y0 = std::max(0, -at_y);
  const int x1 = std::min(layer.width, kW - at_x), y1 = std::min(layer.height, kH - at_y);
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* to = &dest[static_cast<std::size_t>(at_y + y)][static_cast<std::size_t>(at_x)];
    const std::uint32_t* from = layer.pixels[static_cast<std::size_t>(y)].data();
    for (int x = x0; x < x1; ++x) {
      if constexpr (kOr) {
        to[x] |= from[x];
      } else {
        to[x] &= from[x];
      }
    }
  }
}

void BM_PlainCopiesBound(benchmark::State& state) {
  static Frame backdrop, work, picture;
  const Surface& running = Sprites().Bitmap(kRunningBackdropAId);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) backdrop[y][x] = running.At(x, y);
  }
  const Layer pole_mask = LayerOf(kPoleSilhouetteId), pole = LayerOf(kPolePictureId);
  const Layer horse_mask = LayerOf(HorseSilhouetteId(2)), horse = LayerOf(HorsePictureId(2));
  const Layer rider_mask = LayerOf(RiderSilhouetteId(true));
  std::array<Layer, kHorseCount> riders;
  for (std::size_t i = 0; i < kHorseCount; ++i) riders[i] = LayerOf(RiderPictureId(static_cast<int>(i) + 1, true));
  const RaceState race = MidRace();
  const int pole_x = TwipsToPixels(static_cast<double>(PoleX(race.LeadPosition)));
  for (auto _ : state) {
    work = backdrop;
    PlainCopy<true>(work, pole_mask, pole_x, 0);
    PlainCopy<false>(work, pole, pole_x, 0);
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      const int x = TwipsToPixels(static_cast<double>(race.Horses[i].ScreenX));
      const int y = TwipsToPixels(static_cast<double>(race.Horses[i].ScreenY));
      PlainCopy<true>(work, horse_mask, x, y);
      PlainCopy<false>(work, horse, x, y);
      PlainCopy<true>(work, rider_mask, x, y);
      PlainCopy<false>(work, riders[i], x, y);
    }
    picture = work;
    benchmark::DoNotOptimize(picture.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainCopiesBound);

}  // namespace
}  // namespace trotix
