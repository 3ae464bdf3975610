#include "scripted_race.h"

#include "random_source.h"
#include "scripted_platform.h"
#include "track.h"

namespace trotix::testing {

void RunScriptedRace(const FrameSink& frame, std::uint64_t seed, int fields, const StepSink& step) {
  ScriptedPlatform platform;
  Pcg32Random random;
  frmMain window(platform, &random);
  const RaceState& race = window.race();
  const auto stepped = [&] {
    if (step) step(window);
  };
  window.Form_Load(seed);
  stepped();
  if (fields < 2) random.Seed(seed);
  window.cmdRun_Click();
  stepped();
  frame("start", window.picMain(), race, 0);
  bool running = false, final_stretch = false;
  for (int tick = 1; platform.interval > 0 && tick < kTickLimit; ++tick) {
    platform.clock.ms = kScriptedStartMilliseconds + kTickMilliseconds * tick;
    const float stamped_before = race.FinishTime;
    window.Timer1_Timer();
    stepped();
    const int ticks = static_cast<int>(window.ticks());
    if (platform.interval == 0) {
      frame("board", window.picMain(), race, ticks);
    } else if (race.Phase == kPhaseRunning && race.LeadPosition > 240.0 && !running) {
      running = true;
      frame("running", window.picMain(), race, ticks);
    } else if (race.Phase == kPhaseFinalStretch && !final_stretch) {
      final_stretch = true;
      frame("final_stretch", window.picMain(), race, ticks);
    } else if (race.FinishTime != stamped_before) {
      frame("finish_stamp", window.picMain(), race, ticks);
    }
  }
}

}  // namespace trotix::testing
