// A race view to draw into, without a window: the surfaces, a host that
// counts what the drawing asked for, and a field standing at the start.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "fake_clock.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"

namespace trotix::testing {

// Notes what the drawing asked of the window, in order: "e" for waiting
// events let run, "c" for the commit, "b" for the bar's colour.
class CountingSceneHost final : public SceneHost {
 public:
  void DoEvents() override {
    ++do_events;
    calls += 'e';
    if (on_do_events) on_do_events();
  }
  void CommitPicture() override {
    ++commits;
    calls += 'c';
    if (on_commit) on_commit();
  }
  void SetBarColour(std::uint32_t bgr) override {
    bar = bgr;
    calls += 'b';
  }
  std::function<void()> on_do_events;  // what a waiting event would see
  std::function<void()> on_commit;     // what the window shows when it repaints
  int do_events = 0;
  int commits = 0;
  std::uint32_t bar = 0xdeadbeef;
  std::string calls;
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

  void Draw() { DrawScene(race, SharedSprites(), surfaces, clock, host); }

  RaceState race;
  Surface picture, work;
  SceneSurfaces surfaces{picture, work};
  FakeClock clock;
  CountingSceneHost host;
};

}  // namespace trotix::testing
