#include "scripted_race.h"

#include "field_setup.h"
#include "phase_machine.h"
#include "result_board.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"
#include "track.h"

namespace trotix::testing {

namespace {

class FrameHost final : public RaceHost, public SceneHost {
 public:
  FrameHost(RaceState& race, ScriptedClock& clock, const FrameSink& frame) : race_(race), clock_(clock), frame_(frame) {}

  void DrawScene() override {
    const bool stamping = race_.WinnerCrossed != kFalse;
    trotix::DrawScene(race_, sprites_, surfaces_, clock_, *this);
    if (race_.Phase == kPhaseReady) {
      if (--fields_to_start == 0) frame_("start", picture_, race_, ticks);
    } else if (race_.Phase == kPhaseRunning && race_.LeadPosition > 240.0 && !running_) {
      running_ = true;
      frame_("running", picture_, race_, ticks);
    } else if (race_.Phase == kPhaseFinalStretch && !final_) {
      final_ = true;
      frame_("final_stretch", picture_, race_, ticks);
    } else if (stamping) {
      frame_("finish_stamp", picture_, race_, ticks);
    }
  }
  void ShowResults() override {
    trotix::ShowResults(race_, sprites_, picture_);
    over = true;
    frame_("board", picture_, race_, ticks);
  }
  void SetDistanceValue(std::int32_t) override {}
  void StopTimer() override {}
  void RestoreNormalPriority() override {}
  void EnableRun() override {}
  void DoEvents() override {}
  void CommitPicture() override {}
  void SetBarColour(std::uint32_t) override {}

  bool over = false;
  int fields_to_start = 1;
  int ticks = 0;

 private:
  RaceState& race_;
  ScriptedClock& clock_;
  const FrameSink& frame_;
  SpriteCatalogue sprites_;
  Surface picture_, work_;
  SceneSurfaces surfaces_{picture_, work_};
  bool running_ = false, final_ = false;
};

}  // namespace

void RunScriptedRace(const FrameSink& frame, std::uint64_t seed, int fields) {
  RaceState race;
  Pcg32Random random(seed);
  ScriptedClock clock;
  FrameHost host(race, clock, frame);
  host.fields_to_start = fields;
  for (int f = 0; f < fields; ++f) {
    SetUpField(race, random, nullptr);
    host.DrawScene();
  }
  race.StartTime = clock.SecondsSinceMidnight();
  for (int tick = 1; !host.over && tick < kTickLimit; ++tick) {
    clock.ms = kScriptedStartMilliseconds + kTickMilliseconds * tick;
    host.ticks = tick;
    RaceTick(race, random, host);
  }
}

}  // namespace trotix::testing
