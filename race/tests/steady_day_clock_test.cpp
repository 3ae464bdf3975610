#include "steady_day_clock.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "field_setup.h"
#include "finish_stamp.h"
#include "phase_machine.h"
#include "random_source.h"
#include "recording_host.h"
#include "texts.h"

namespace trotix {
namespace {

// A wall clock and a monotonic clock that read what the script says.
struct ScriptedTime {
  double wall = 36000.0;  // seconds since midnight
  double steady = 1234.5;
  SteadyDayClock clock{[this] { return wall; }, [this] { return steady; }};
};

// Each case starts a race at `wall`, then lets `seconds` pass while the wall
// clock is moved by `wall_step` on the way, and reads the clock again.
TEST(SteadyDayClock, ARaceTakesTheTimeThatPassedWhateverTheWallClockDoes) {
  const struct {
    const char* what;
    double wall, wall_step, seconds;
    float reading;  // the second reading
  } cases[] = {
      {"a steady wall clock", 36000.0, 0.0, 115.2, 36115.2f},
      {"set back one hour mid-race (the end of summer time)", 36000.0, -3600.0, 115.2, 36115.2f},
      {"set forward one hour mid-race", 36000.0, 3600.0, 115.2, 36115.2f},
      {"set back to before midnight", 60.0, -3600.0, 10.0, 70.0f},
      {"a race across midnight", 86395.0, 0.0, 10.0, 5.0f},
      {"a race across midnight, the wall clock set back an hour", 86395.0, -3600.0, 10.0, 5.0f},
      {"a moment before midnight, which single precision rounds up", 86399.99999, 0.0, 0.0, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedTime time;
    time.wall = c.wall;
    const float start = time.clock.SecondsSinceMidnight();
    time.wall += c.wall_step + c.seconds;
    time.steady += c.seconds;
    const float now = time.clock.SecondsSinceMidnight();
    EXPECT_NEAR(now, c.reading, 0.01f);
    EXPECT_NEAR(ElapsedSeconds(start, now), c.seconds, 0.01);
  }
}

// What the window shows of a race whose wall clock is set back one hour
// half-way: every running clock and the board's time are the time the race
// took. With two readings of the wall clock they read "1380:39.8" and
// "1382:04.8", over the gauges and the odds.
struct ClockWatchingHost final : testing::RecordingHost {
  ClockWatchingHost(RaceState& r, Clock& c) : race(r), clock(c) {}
  void DrawScene() override {
    testing::RecordingHost::DrawScene();
    const float now = clock.SecondsSinceMidnight();
    StampFinish(race, LeaderIndex(race), now);
    shown.push_back(ElapsedSeconds(race.StartTime, now));
  }
  RaceState& race;
  Clock& clock;
  std::vector<float> shown;  // the race's time at each drawing
};

TEST(SteadyDayClock, AClockSetBackMidRaceLeavesTheRaceClockAndTheBoardSane) {
  ScriptedTime time;
  Pcg32Random random(20261209);
  RaceState race;
  SetUpField(race, random, nullptr);
  ClockWatchingHost host(race, time.clock);
  race.StartTime = time.clock.SecondsSinceMidnight();
  int ticks = 0;
  for (; host.results == 0 && ticks < 2000; ++ticks) {
    time.steady += 0.2;
    time.wall += ticks == 100 ? 0.2 - 3600.0 : 0.2;
    RaceTick(race, random, host);
  }
  ASSERT_EQ(host.results, 1);
  ASSERT_EQ(host.shown.size(), static_cast<std::size_t>(ticks - 1));  // the last tick draws the board
  const std::regex race_time(R"(\d:\d\d\.\d\d)");
  for (std::size_t k = 0; k < host.shown.size(); ++k) {
    ASSERT_NEAR(host.shown[k], 0.2 * static_cast<double>(k + 1), 0.01) << "tick " << k + 1;
    ASSERT_TRUE(std::regex_match(ClockText(host.shown[k]), race_time)) << ClockText(host.shown[k]);
  }
  const float board = ElapsedSeconds(race.StartTime, race.FinishTime);
  EXPECT_GT(board, 60.0f);
  EXPECT_LT(board, 0.2f * static_cast<float>(ticks));
  EXPECT_TRUE(std::regex_match(BoardTimeText(board), std::regex(R"(\d:\d\d\.\d)"))) << BoardTimeText(board);
}

}  // namespace
}  // namespace trotix
