// A race host for tests: remembers what the phase machine asked of the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "phase_machine.h"

namespace trotix::testing {

class RecordingHost : public RaceHost {
 public:
  void SetDistanceValue(std::int32_t metres) override {
    distance = metres;
    calls.push_back("distance");
  }
  void DrawScene() override { calls.push_back("draw"); ++draws; }
  void StopTimer() override { calls.push_back("stop-timer"); }
  void RestoreNormalPriority() override { calls.push_back("normal-priority"); }
  void EnableRun() override { calls.push_back("enable-run"); }
  void ShowResults() override { calls.push_back("show-results"); ++results; }

  void Clear() { calls.clear(); }

  std::vector<std::string> calls;
  std::int32_t distance = 2000;
  int draws = 0;
  int results = 0;
};

}  // namespace trotix::testing
