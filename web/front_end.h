// The browser's main window: the race state, the handlers the page calls
// and what the race asks of a window, as frmMain has them on the desktop,
// over a window picture that the page shows. The page passes events in and
// pixels out; every decision is taken here or in the race code.
#pragma once

#include <cstdint>

#include "clock.h"
#include "phase_machine.h"
#include "race_state.h"
#include "random_source.h"
#include "window_controls.h"
#include "window_surface.h"

namespace trotix::web {

// Virtual-key codes of the keys the window answers.
inline constexpr std::int16_t kVkF5 = 116;
inline constexpr std::int16_t kVkF7 = 118;

inline constexpr int kTickMilliseconds = 200;

// What the front end asks of the page around it.
class PageHost {
 public:
  virtual ~PageHost() = default;
  // Tick every `interval_ms`, the first tick one interval from now. A tick
  // never starts inside another; a late one runs once, the missed ones are
  // dropped.
  virtual void StartTimer(int interval_ms) = 0;
  virtual void StopTimer() = 0;
  // Show the window's picture as it now stands.
  virtual void Present(const WindowSurface& window) = 0;
};

class FrontEnd final : private RaceHost {
 public:
  FrontEnd(Clock& clock, PageHost& page) : clock_(clock), page_(page) {}

  // The handlers, as the desktop window's; each ends by presenting.
  void Form_Load(std::uint64_t seed);
  void cmdRun_Click();
  void Timer1_Timer();
  void Form_KeyUp(std::int16_t key_code);
  // A click at pixel (x, y) of the window: a Run when it hits the enabled button.
  void Click(int x, int y);

  const RaceState& race() const { return race_; }
  bool run_enabled() const { return run_enabled_; }
  std::int64_t ticks() const { return ticks_; }  // ticks run since loading

 private:
  void NewRace();
  void Present();

  // What the race asks of the window.
  void SetDistanceValue(std::int32_t metres) override { bar_.value = metres; }
  void DrawScene() override;
  void StopTimer() override { page_.StopTimer(); }
  void RestoreNormalPriority() override {}  // a page has no process priority
  void EnableRun() override { run_enabled_ = true; }
  void ShowResults() override;

  Clock& clock_;
  PageHost& page_;
  RaceState race_;
  Pcg32Random random_;
  WindowSurface window_;
  DistanceBarState bar_;
  bool run_enabled_ = true;
  bool in_tick_ = false;  // a tick never starts inside another
  std::int64_t ticks_ = 0;
};

}  // namespace trotix::web
