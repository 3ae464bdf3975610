// One step of the race per timer tick: ready, start, running, final
// stretch, run-out, over.
#pragma once

#include <cstdint>

#include "race_state.h"
#include "random_source.h"
#include "track.h"

namespace trotix {

// What a tick does to the window, kept behind an interface so that a whole
// race runs headless.
class RaceHost {
 public:
  virtual ~RaceHost() = default;
  // The distance bar's value: metres the leader still has to run.
  virtual void SetDistanceValue(std::int32_t metres) = 0;
  // Redraw the race view; called once at the end of every tick of phases 0..4.
  virtual void DrawScene() = 0;
  // The four acts of the last tick, in this order.
  virtual void StopTimer() = 0;
  virtual void RestoreNormalPriority() = 0;
  virtual void EnableRun() = 0;
  virtual void ShowResults() = 0;
  // Whether the horses' sprites are placed: a host that never draws them
  // (the simulator) saves the work. No result of the race depends on it.
  virtual bool PlacesSprites() const { return true; }
};

void RaceTick(RaceState& race, RandomSource& random, RaceHost& host);

}  // namespace trotix
