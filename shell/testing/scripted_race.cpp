#include "scripted_race.h"

#include "main_window_layout.h"
#include "random_source.h"
#include "scripted_platform.h"
#include "track.h"

namespace trotix::testing {

bool DriveRace(frmMain& window, ScriptedClock& clock, const int& interval, const StepSink& step) {
  window.Form_KeyUp(kVkF5, 0);
  if (step) step(window);
  // A race ends within some 700 ticks; the bound only stops a broken one.
  for (int tick = 0; interval > 0 && tick < kTickLimit; ++tick) {
    clock.ms += interval;
    window.Timer1_Timer();
    if (step) step(window);
  }
  return interval == 0;
}

std::vector<std::string> RunScriptedRace(const FrameSink& frame, std::uint64_t seed, int fields,
                                         const StepSink& step) {
  ScriptedPlatform platform;
  Pcg32Random random;
  frmMain window(platform, &random);
  const RaceState& race = window.race();
  window.Form_Load(seed);
  if (step) step(window);
  if (fields < 2) random.Seed(seed);
  bool started = false, running = false, final_stretch = false;
  float stamped = race.FinishTime;
  DriveRace(window, platform.clock, platform.interval, [&](const frmMain& stepped) {
    if (step) step(stepped);
    const int ticks = static_cast<int>(stepped.ticks());
    if (!started) {
      started = true;
      frame("start", stepped.picMain(), race, 0);
    } else if (platform.interval == 0) {
      frame("board", stepped.picMain(), race, ticks);
    } else if (race.Phase == kPhaseRunning && race.LeadPosition > 240.0 && !running) {
      running = true;
      frame("running", stepped.picMain(), race, ticks);
    } else if (race.Phase == kPhaseFinalStretch && !final_stretch) {
      final_stretch = true;
      frame("final_stretch", stepped.picMain(), race, ticks);
    } else if (race.FinishTime != stamped) {
      frame("finish_stamp", stepped.picMain(), race, ticks);
    }
    stamped = race.FinishTime;
  });
  return platform.announcements;
}

}  // namespace trotix::testing
