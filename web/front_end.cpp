#include "front_end.h"

#include "field_setup.h"
#include "stand_in_picture.h"

namespace trotix::web {

void FrontEnd::Form_Load(std::uint64_t seed) {
  random_.Seed(seed);
  NewRace();
  Present();
}

void FrontEnd::cmdRun_Click() {
  NewRace();
  run_enabled_ = false;
  page_.StartTimer(kTickMilliseconds);
  race_.StartTime = clock_.SecondsSinceMidnight();
  Present();
}

void FrontEnd::Timer1_Timer() {
  if (in_tick_) return;
  in_tick_ = true;
  ++ticks_;
  RaceTick(race_, random_, *this);
  in_tick_ = false;
  Present();
}

void FrontEnd::Form_KeyUp(std::int16_t key_code) {
  if (key_code == kVkF7 && (race_.Phase == kPhaseReady || race_.Phase == kPhaseOver)) {
    // The field listing joins here once its text is built outside the
    // desktop's shell.
    return;
  }
  if (key_code == kVkF5 && run_enabled_) cmdRun_Click();
}

void FrontEnd::Click(int x, int y) {
  if (Contains(kCmdRun, x, y) && run_enabled_) cmdRun_Click();
}

// No horse data file yet: the field is random.
void FrontEnd::NewRace() {
  SetUpField(race_, random_, nullptr);
  bar_.bgr = kBarBlue;
  DrawScene();
}

void FrontEnd::DrawScene() { DrawStandInScene(race_, window_); }

void FrontEnd::ShowResults() { DrawStandInBoard(race_, window_); }

void FrontEnd::Present() {
  DrawFace(window_);
  DrawDistanceBar(window_, bar_);
  DrawRunButton(window_, run_enabled_);
  page_.Present(window_);
}

}  // namespace trotix::web
