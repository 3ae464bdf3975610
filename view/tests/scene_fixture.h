// A race view to draw into, without a window: the surfaces, a host that
// counts what the drawing asked for, and a field standing at the start.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

#include "fake_clock.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"

namespace trotix::testing {

class CountingSceneHost final : public SceneHost {
 public:
  void DoEvents() override {
    ++do_events;
    if (on_do_events) on_do_events();
  }
  void CommitPicture() override { ++commits; }
  void SetBarColour(std::uint32_t bgr) override { bar = bgr; }
  std::function<void()> on_do_events;  // what a waiting event would see
  int do_events = 0;
  int commits = 0;
  std::uint32_t bar = 0xdeadbeef;
};

inline const SpriteCatalogue& SharedSprites() {
  static const SpriteCatalogue sprites;
  return sprites;
}

struct SceneFixture {
  SceneFixture() {
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      Horse& h = race.Horses[i];
      h.Index = static_cast<std::int32_t>(i);
      h.Speed = 60;
      h.Stamina = 70;
      h.StaminaLeft = 70;
      h.Effort = 50;
      h.Style = static_cast<std::int32_t>(i % 4) + 1;
      h.WinOdds = 4.2;
      h.Frame = 1;
      h.ScreenX = 2475.0f;
      h.ScreenY = static_cast<float>(i) * 120.0f + 750.0f;
    }
    race.RailToggle = kTrue;
  }

  SceneSurfaces Surfaces() { return SceneSurfaces{picture, print, work, horse, pole}; }
  void Draw() {
    SceneSurfaces s = Surfaces();
    DrawScene(race, SharedSprites(), s, clock, host);
  }
  // The gallop advance and the composing, as a drawing does them.
  int Compose() {
    SceneSurfaces s = Surfaces();
    for (Horse& h : race.Horses) AdvanceGallop(h);
    return ComposeFrame(race, SharedSprites(), s, host);
  }

  RaceState race;
  QImage picture, work, horse, pole;
  PrintState print;
  FakeClock clock;
  CountingSceneHost host;
};

}  // namespace trotix::testing
