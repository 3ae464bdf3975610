// What the drawing benchmarks share: a field in mid-race, with the pole in
// the picture, the bitmaps, and the clock and window a drawing asks for.
#pragma once

#include <cstdint>

#include "clock.h"
#include "race_state.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"

namespace trotix {

RaceState MidRace();
const SpriteCatalogue& Sprites();

// A clock 200 ms further at every reading.
class DrawingClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return now += 0.2f; }
  float now = 40000.0f;
};

// A window that does nothing but add up the bar colours it is given, so no
// drawing is optimised away.
class DrawingHost final : public SceneHost {
 public:
  void DoEvents() override {}
  void CommitPicture() override {}
  void SetBarColour(std::uint32_t bgr) override { colours += bgr; }
  std::uint64_t colours = 0;
};

}  // namespace trotix
