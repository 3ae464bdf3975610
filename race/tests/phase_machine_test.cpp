#include "phase_machine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "recording_host.h"
#include "scripted_random.h"

namespace trotix {
namespace {

using testing::RecordingHost;
using testing::ScriptedRandom;

// With no stamina left a horse runs at effort 0, and with r = 0 its stride
// is exactly 2.222 m: the tests below place horses to land on exact marks.
constexpr double kIdleStride = 2.222;

double Before(double mark) {
  double p = mark - kIdleStride;
  for (int n = 0; n < 8 && p + kIdleStride != mark; ++n) {
    p = std::nextafter(p, p + kIdleStride < mark ? mark : 0.0);
  }
  EXPECT_EQ(p + kIdleStride, mark) << "no start lands exactly on " << mark;
  return p;
}

// A host that also notes what the drawing saw.
class SnapshotHost : public RecordingHost {
 public:
  explicit SnapshotHost(const RaceState& race) : race_(race) {}
  void DrawScene() override {
    RecordingHost::DrawScene();
    phase_at_draw = race_.Phase;
    scene_at_draw = race_.Scene;
  }
  std::int32_t phase_at_draw = -1;
  std::int32_t scene_at_draw = -1;

 private:
  const RaceState& race_;
};

class PhaseMachine : public ::testing::Test {
 protected:
  PhaseMachine() : host(race) {
    random.Push(0.0f);
    random.repeat_last = true;
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      Horse& h = race.Horses[i];
      h.Index = static_cast<std::int32_t>(i);
      h.Speed = 60.0;
      h.Stamina = 60.0;
      h.StaminaLeft = 0.0;
      h.Style = 1;
      h.Frame = 1;
    }
    race.RailToggle = kTrue;
  }

  // Puts the field at `positions` (before this tick's moves) in `phase`.
  void Place(std::int32_t phase, std::initializer_list<double> positions) {
    race.Phase = phase;
    race.FinishCount = 0;
    for (Horse& h : race.Horses) h.Finished = kFalse;
    std::size_t i = 0;
    for (double p : positions) race.Horses[i++].Position = p;
    race.LeadPosition = race.TailPosition = race.Horses[0].Position;
    for (const Horse& h : race.Horses) {
      race.LeadPosition = std::max(race.LeadPosition, h.Position);
      race.TailPosition = std::min(race.TailPosition, h.Position);
    }
  }

  void Tick() { RaceTick(race, random, host); }

  RaceState race;
  ScriptedRandom random;
  SnapshotHost host;
};

TEST_F(PhaseMachine, FirstTickOnlyShowsTheFieldAtTheStart) {
  race.Scene = kSceneFinish;  // left over from the last race
  Tick();
  EXPECT_EQ(race.Phase, kPhaseStart);
  EXPECT_EQ(race.Scene, kSceneStart);
  EXPECT_EQ(random.count, 0u);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"draw"}));
  EXPECT_EQ(host.phase_at_draw, kPhaseStart);
  for (const Horse& h : race.Horses) EXPECT_EQ(h.Position, 0.0);
}

TEST_F(PhaseMachine, EachExitTestHasItsExactStrictness) {
  const struct { std::int32_t phase; double lead_after; double tail_after; std::int32_t next; } cases[] = {
      {kPhaseStart, 50.0, 10.0, kPhaseStart},
      {kPhaseStart, 50.5, 10.0, kPhaseRunning},
      {kPhaseRunning, 1950.0, 1900.0, kPhaseRunning},
      {kPhaseRunning, 1950.5, 1900.0, kPhaseFinalStretch},
      {kPhaseFinalStretch, 1999.5, 1900.0, kPhaseFinalStretch},
      {kPhaseFinalStretch, 2000.0, 1900.0, kPhaseRunOut},
      {kPhaseRunOut, 2100.0, 2020.0, kPhaseRunOut},
      {kPhaseRunOut, 2100.0, 2020.5, kPhaseOver},
  };
  for (const auto& c : cases) {
    Place(c.phase, {Before(c.lead_after), Before(c.tail_after), Before(c.tail_after), Before(c.tail_after),
                    Before(c.tail_after), Before(c.tail_after)});
    host.Clear();
    Tick();
    EXPECT_EQ(race.Phase, c.next) << "phase " << c.phase << " lead " << c.lead_after << " tail " << c.tail_after;
    EXPECT_EQ(race.LeadPosition, c.lead_after);
    EXPECT_EQ(race.TailPosition, c.tail_after);
    EXPECT_EQ(host.calls.back(), "draw");
  }
}

TEST_F(PhaseMachine, DistanceLeftIsRoundedHalfToEven) {
  // The running case also shows the bar set from the lead after this
  // tick's moves (1200), not from where the leader stood before (1202).
  const struct { std::int32_t phase; double lead_after; std::int32_t value; } cases[] = {
      {kPhaseStart, 2.5, 1998}, {kPhaseStart, 3.5, 1996}, {kPhaseStart, 10.25, 1990},
      {kPhaseRunning, 800.0, 1200}, {kPhaseRunOut, 2001.5, -2}, {kPhaseRunOut, 2080.0, -80},
  };
  for (const auto& c : cases) {
    Place(c.phase, {Before(c.lead_after), 0, 0, 0, 0, 0});
    for (Horse& h : race.Horses) h.Finished = kTrue;
    Tick();
    EXPECT_EQ(host.distance, c.value) << c.lead_after;
  }
}

TEST_F(PhaseMachine, TransitionTicksDrawTheNewPhaseWithTheOldScene) {
  Place(kPhaseStart, {Before(51.0), 30, 30, 30, 30, 30});
  Tick();
  EXPECT_EQ(host.phase_at_draw, kPhaseRunning);
  EXPECT_EQ(host.scene_at_draw, kSceneStart);

  Place(kPhaseRunning, {Before(1951.0), 1900, 1900, 1900, 1900, 1900});
  race.RailToggle = kTrue;
  Tick();
  EXPECT_EQ(host.phase_at_draw, kPhaseFinalStretch);
  EXPECT_EQ(host.scene_at_draw, kSceneRunning);
  EXPECT_EQ(race.RailToggle, kFalse) << "the last running tick still flips the rail";

  Tick();
  EXPECT_EQ(host.scene_at_draw, kSceneFinish);
  EXPECT_EQ(race.RailToggle, kFalse);
}

TEST_F(PhaseMachine, RailTogglesInEveryRunningTickAndNoOther) {
  Place(kPhaseRunning, {500, 490, 480, 470, 460, 450});
  for (int n = 0; n < 5; ++n) {
    const Flag16 before = race.RailToggle;
    Tick();
    EXPECT_NE(race.RailToggle, before);
  }
  for (std::int32_t phase : {kPhaseReady, kPhaseStart, kPhaseFinalStretch, kPhaseRunOut, kPhaseOver}) {
    if (phase < kPhaseFinalStretch) {
      Place(phase, {20, 10, 10, 10, 10, 10});
    } else {
      Place(phase, {1960, 1955, 1955, 1955, 1955, 1955});
    }
    const Flag16 before = race.RailToggle;
    Tick();
    EXPECT_EQ(race.RailToggle, before) << phase;
  }
}

TEST_F(PhaseMachine, SectionsAreChosenByTheLeadAtTheStartOfTheTick) {
  const struct { double prev_lead; std::int32_t section; double effort_change; } cases[] = {
      {199.5, -1, 4.0},    // opening: a front-runner presses on
      {200.0, 0, 2.0},     // middle: place 0.4 and 20 m clear of the tail
      {1400.0, 0, 2.0},
      {1400.5, 1, 0.0},    // late, but a front-runner waits until 1700
      {1700.5, 1, 40.0},   // late and past 1700: all the caps allow
  };
  for (const auto& c : cases) {
    // Horse 1 is the subject: 30 m behind the leader, 20 m ahead of the tail.
    Place(kPhaseRunning, {c.prev_lead, c.prev_lead - 30, c.prev_lead - 50, c.prev_lead - 50,
                          c.prev_lead - 50, c.prev_lead - 50});
    Horse& h = race.Horses[1];
    h.StaminaLeft = 50.0;  // caps effort at 60
    h.Effort = 20.0;
    Tick();
    EXPECT_EQ(race.RaceSection, c.section) << c.prev_lead;
    EXPECT_DOUBLE_EQ(h.Effort, 20.0 + c.effort_change) << c.prev_lead;
  }
}

TEST_F(PhaseMachine, TwoHorsesOnOneTickArePlacedByIndexWithMarginsAsTheyStand) {
  Place(kPhaseFinalStretch, {1990, 1990, 1999.0, 1980, 1999.5, 1990});
  for (Horse& h : race.Horses) h.StaminaLeft = 0.0;
  Tick();
  ASSERT_EQ(race.FinishCount, 2);
  EXPECT_EQ(race.FinishOrder[0].HorseIndex, 2) << "lower index first, though 4 ran further";
  EXPECT_EQ(race.FinishOrder[1].HorseIndex, 4);
  // Horse 2 is measured against horse 4 before horse 4 has moved.
  EXPECT_NEAR(race.FinishOrder[0].Margin, (1999.0 + kIdleStride) - 1999.5, 1e-9);
  // Horse 4 against the nearest unfinished horse: 0 and 1, which have moved.
  EXPECT_NEAR(race.FinishOrder[1].Margin, 1999.5 - 1990.0, 1e-9);
  EXPECT_EQ(race.Phase, kPhaseRunOut);
  EXPECT_EQ(race.WinnerCrossed, kTrue);
  EXPECT_EQ(race.Horses[2].Finished, kTrue);
  EXPECT_EQ(race.Horses[0].Finished, kFalse);
}

TEST_F(PhaseMachine, AMoveEndingOnTheLineIsEnteredAndMeasuredUpToTheLastNumberedHorse) {
  Place(kPhaseFinalStretch, {Before(2000.0), 1900, 1900, 1900, 1900, 1990});
  Tick();
  ASSERT_EQ(race.FinishCount, 1);
  EXPECT_EQ(race.FinishOrder[0].HorseIndex, 0);
  EXPECT_EQ(race.FinishOrder[0].Margin, 10.0) << "horse 6 at 1990, not yet moved, is the nearest";
}

TEST_F(PhaseMachine, LastHorseHomeHasMarginTwoThousandAndNobodyIsEnteredTwice) {
  Place(kPhaseRunOut, {2050, 2040, 2030, 2010, 2020, 1999});
  for (std::size_t i = 0; i < 5; ++i) {
    race.Horses[i].Finished = kTrue;
    race.FinishOrder[i] = {static_cast<std::int32_t>(i), 1.0};
  }
  race.FinishCount = 5;
  Tick();
  ASSERT_EQ(race.FinishCount, 6);
  EXPECT_EQ(race.FinishOrder[5].HorseIndex, 5);
  EXPECT_EQ(race.FinishOrder[5].Margin, 2000.0);
  Tick();
  EXPECT_EQ(race.FinishCount, 6);
}

TEST_F(PhaseMachine, LastTickHandsBackTheWindowAndShowsTheBoard) {
  Place(kPhaseOver, {2100, 2090, 2080, 2070, 2060, 2050});
  host.Clear();
  Tick();
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"stop-timer", "normal-priority", "enable-run", "show-results"}));
  EXPECT_EQ(race.Phase, kPhaseOver);
  EXPECT_EQ(random.count, 0u);
  EXPECT_EQ(race.Horses[0].Position, 2100.0);
}

}  // namespace
}  // namespace trotix
