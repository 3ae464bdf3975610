#include "motion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace trotix {
namespace {

Horse MakeHorse(std::int32_t style, double effort, double position = 0.0) {
  Horse h{};
  h.Speed = 90.0;
  h.Stamina = 95.0;
  h.StaminaLeft = 95.0;
  h.Style = style;
  h.Effort = effort;
  h.Position = position;
  return h;
}

TEST(MoveHorse, WorkedMoveInTheStartView) {
  Horse h = MakeHorse(2, 60.0);
  h.Speed = 50.0;
  h.StaminaLeft = 80.0;
  const double bonus = PacingBonus(h, PacingRule::kOpening, 0.0, 0.0);
  EXPECT_EQ(bonus, 2.0);
  MoveHorse(h, bonus, View::kStart, 0.0, 0.5f);
  EXPECT_EQ(h.Effort, 62.0);
  EXPECT_NEAR(h.Position, 3.99936, 1e-12);
  EXPECT_NEAR(h.StaminaLeft, 79.84358, 1e-5);
  EXPECT_DOUBLE_EQ(h.StaminaLeft, 80.0 - (62.0 / 50.0 * 0.019444 + 0.015) * h.Position);
  EXPECT_EQ(h.ScreenX, 2277.0317f);
}

TEST(MoveHorse, StrideRunsFromEffortAndOneDraw) {
  const struct { double effort; float r; double stride; } cases[] = {
      {100.0, 0.0f, 4.0},
      {0.0, 0.0f, 2.222},
      {0.0, 0.5f, 2.222 + 0.675},
  };
  for (const auto& c : cases) {
    Horse h = MakeHorse(1, c.effort);
    MoveHorse(h, 0.0, View::kStart, 0.0, c.r);
    EXPECT_NEAR(h.Position, c.stride, 1e-12) << c.effort << " " << c.r;
  }
}

TEST(MoveHorse, CapsActInOrderSpeedStaminaCeilingFloor) {
  const struct { double speed; double stamina_left; double effort; double bonus; double capped; } cases[] = {
      {20.0, 95.0, 30.0, 100.0, 36.0},   // speed cap 1.8 x 20
      {90.0, 10.0, 30.0, 100.0, 12.0},   // stamina cap 1.2 x 10
      {90.0, 95.0, 30.0, 100.0, 100.0},  // ceiling
      {90.0, 95.0, 3.0, -4.0, 0.0},      // floor
      {90.0, 0.0, 50.0, 100.0, 0.0},     // no stamina left: no effort at all
      {-5.0, 95.0, 50.0, 0.0, 0.0},      // a negative speed from a file ends on the floor
  };
  for (const auto& c : cases) {
    Horse h = MakeHorse(1, c.effort);
    h.Speed = c.speed;
    h.StaminaLeft = c.stamina_left;
    MoveHorse(h, c.bonus, View::kStart, 0.0, 0.25f);
    EXPECT_EQ(h.Effort, c.capped) << c.speed << " " << c.stamina_left;
  }
}

TEST(MoveHorse, StaminaIsHeldAtExactlyZero) {
  Horse h = MakeHorse(1, 80.0);
  h.StaminaLeft = 0.04;  // less than even the base cost of one stride
  MoveHorse(h, 100.0, View::kStart, 0.0, 0.9f);
  EXPECT_EQ(h.StaminaLeft, 0.0);
  MoveHorse(h, 100.0, View::kStart, 0.0, 0.9f);
  EXPECT_EQ(h.Effort, 0.0);
  EXPECT_EQ(h.StaminaLeft, 0.0);
}

TEST(MoveHorse, SpritePlaceInEachView) {
  const struct { View view; double from; double prev_lead; float screen_x; } cases[] = {
      {View::kFinish, 2000.0 - 2.222, 0.0, 0.0f},
      {View::kFinish, 2020.0 - 2.222, 0.0, -990.0f},
      {View::kFinish, 1950.0 - 2.222, 0.0, 2475.0f},
      {View::kStart, 50.0 - 2.222, 0.0, 0.0f},
      {View::kRunning, 500.0 - 2.222, 500.0, 0.0f},
      {View::kRunning, 480.0 - 2.222, 500.0, 540.0f},
      {View::kRunning, 510.0 - 2.222, 500.0, -270.0f},
  };
  for (const auto& c : cases) {
    Horse h = MakeHorse(1, 0.0, c.from);
    h.StaminaLeft = 0.0;  // effort 0: the stride is 2.222 with r = 0
    MoveHorse(h, 0.0, c.view, c.prev_lead, 0.0f);
    EXPECT_NEAR(h.ScreenX, c.screen_x, 1e-3) << static_cast<int>(c.view) << " " << c.from;
  }
}

TEST(MoveHorse, UnseenMoveIsTheSameMoveWithTheSpriteLeftAlone) {
  for (const View view : {View::kStart, View::kRunning, View::kFinish}) {
    Horse seen = MakeHorse(3, 55.0, 1200.0);
    Horse unseen = seen;
    unseen.ScreenX = 123.0f;
    MoveHorse(seen, 2.0, view, 1250.0, 0.37f);
    MoveHorse(unseen, 2.0, View::kNone, 1250.0, 0.37f);
    EXPECT_EQ(unseen.Position, seen.Position);
    EXPECT_EQ(unseen.Effort, seen.Effort);
    EXPECT_EQ(unseen.StaminaLeft, seen.StaminaLeft);
    EXPECT_EQ(unseen.ScreenX, 123.0f);
  }
}

TEST(PacingBonus, OpeningDependsOnStyleAlone) {
  const struct { std::int32_t style; double bonus; } cases[] = {
      {1, 4.0}, {2, 2.0}, {3, -2.0}, {4, -4.0}, {0, 0.0}, {7, 0.0}, {-3, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PacingBonus(MakeHorse(c.style, 50.0), PacingRule::kOpening, 0.0, 0.0), c.bonus) << c.style;
  }
}

TEST(PacingBonus, ACloserSinksToTheFloorInItsNinthOpeningTick) {
  Horse h = MakeHorse(4, 35.0);
  for (int tick = 1; tick <= 12; ++tick) {
    MoveHorse(h, PacingBonus(h, PacingRule::kOpening, 0.0, 0.0), View::kStart, 0.0, 0.5f);
    if (tick < 9) {
      EXPECT_GT(h.Effort, 0.0) << tick;
    } else {
      EXPECT_EQ(h.Effort, 0.0) << tick;
    }
  }
}

TEST(PacingBonus, MiddleRuleLastTestThatHoldsWins) {
  // Tail at 1000, lead at 1100: place = (pos - 1000) / 100, and nobody is
  // more than 100 m from either end, so tests 4 and 5 stay quiet.
  const double lead = 1100.0, tail = 1000.0;
  const struct { const char* why; std::int32_t style; double effort; double position; double bonus; } cases[] = {
      {"front-runner behind: +2", 1, 50, 1070, 2},
      {"front-runner working hard: -3", 1, 75, 1085, -3},
      {"front-runner hard but near the back: test 3 replaces test 2", 1, 75, 1040, 2},
      {"front-runner in front and easy: 0", 1, 50, 1090, 0},
      {"stalker in front: -2", 2, 50, 1095, -2},
      {"stalker behind: +2", 2, 50, 1055, 2},
      {"stalker close to the back: +2", 2, 50, 1020, 2},
      {"mid-fielder ahead: -2", 3, 50, 1075, -2},
      {"mid-fielder near the back: +2", 3, 50, 1010, 2},
      {"mid-fielder near the leader: -2 by test 3 alone", 3, 50, 1065, -2},
      {"closer too far up: -2", 4, 50, 1040, -2},
      {"closer slack: +3", 4, 25, 1020, 3},
      {"closer at the back and keen: 0", 4, 50, 1020, 0},
      {"closer at effort exactly 30: test 2 holds back", 4, 30, 1020, 0},
      {"front-runner exactly 100 m clear of the last: not eased", 1, 50, 1100, 0},
      {"a style without rules: nothing", 7, 50, 1050, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PacingBonus(MakeHorse(c.style, c.effort, c.position), PacingRule::kMiddle, lead, tail), c.bonus)
        << c.why;
  }
}

TEST(PacingBonus, MiddleRuleWakesTheSlackAndEasesTheClear) {
  // Lead 1500, tail 1000: a horse 300 m clear of the last one eases off.
  for (std::int32_t style : {1, 2, 3, 4, 9}) {
    EXPECT_EQ(PacingBonus(MakeHorse(style, 25.0, 1300.0), PacingRule::kMiddle, 1500.0, 1000.0), -5.0) << style;
    EXPECT_EQ(PacingBonus(MakeHorse(style, 15.0, 1020.0), PacingRule::kMiddle, 1500.0, 1000.0), 5.0) << style;
  }
  // An effort of exactly 20 is neither slack nor easing: only the style's tests count.
  EXPECT_EQ(PacingBonus(MakeHorse(1, 20.0, 1200.0), PacingRule::kMiddle, 1500.0, 1000.0), 2.0);
}

TEST(PacingBonus, LevelFieldGivesADefinedBonus) {
  const struct { std::int32_t style; double bonus; } cases[] = {{1, 2}, {2, 2}, {3, -2}, {4, -2}, {0, 0}};
  for (const auto& c : cases) {
    const double bonus = PacingBonus(MakeHorse(c.style, 50.0, 600.0), PacingRule::kMiddle, 600.0, 600.0);
    EXPECT_EQ(bonus, c.bonus) << c.style;
  }
}

TEST(PacingBonus, LateRuleThresholdsByStyle) {
  const struct { double prev_lead; std::int32_t style; double bonus; } cases[] = {
      {1550, 1, 0}, {1550, 2, 0}, {1550, 3, 100}, {1550, 4, 100},
      {1700, 1, 0}, {1700.5, 1, 100}, {1600, 2, 0}, {1600.5, 2, 100},
      {1500, 3, 0}, {1400.5, 4, 100}, {1900, 8, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PacingBonus(MakeHorse(c.style, 50.0, 1300.0), PacingRule::kLate, c.prev_lead, 1000.0), c.bonus)
        << c.prev_lead << " style " << c.style;
  }
}

TEST(PacingBonus, AllOutIsAHundredForEveryone) {
  for (std::int32_t style : {1, 2, 3, 4, 0, 12}) {
    EXPECT_EQ(PacingBonus(MakeHorse(style, 10.0), PacingRule::kAllOut, 1990.0, 1900.0), 100.0);
  }
}


// The middle rule as it reads, each test a branch: the table the game looks
// the bonus up in must give the same bonus for every combination of tests.
double MiddleBonusTestByTest(const Horse& h, double lead, double tail) {
  const double ahead = h.Position - tail, behind = lead - h.Position;
  const double place = lead > tail ? ahead / (lead - tail) : 1.0;
  double bonus = 0.0;
  const auto tests = [&](bool a, double ba, bool b, double bb, bool c, double bc) {
    if (a) bonus = ba;
    if (b) bonus = bb;
    if (c) bonus = bc;
  };
  switch (h.Style) {
    case 1: tests(place < 0.8, 2, h.Effort > 70, -3, ahead < 50, 2); break;
    case 2: tests(place > 0.9, -2, place < 0.6, 2, ahead < 50, 2); break;
    case 3: tests(place > 0.7, -2, place < 0.2, 2, behind < 50, -2); break;
    case 4: tests(place > 0.3, -2, h.Effort < 30, 3, behind < 50, -2); break;
    default: break;
  }
  if (h.Effort < 20 && behind > 100) bonus = 5;
  if (h.Effort > 20 && ahead > 100) bonus = -5;
  return bonus;
}

TEST(PacingBonus, MiddleRuleTableAgreesWithTheTestsTakenOneByOne) {
  int compared = 0;
  for (const std::int32_t style : {1, 2, 3, 4, 0, 5}) {
    for (const double effort : {0.0, 19.5, 20.0, 25.0, 30.0, 45.0, 70.0, 85.0}) {
      for (const double span : {0.0, 40.0, 90.0, 160.0, 400.0}) {
        for (int step = 0; step <= 20; ++step) {
          const double tail = 800.0, lead = tail + span;
          const Horse h = MakeHorse(style, effort, tail + span * step / 20.0);
          ASSERT_EQ(PacingBonus(h, PacingRule::kMiddle, lead, tail), MiddleBonusTestByTest(h, lead, tail))
              << "style " << style << " effort " << effort << " span " << span << " step " << step;
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 6 * 8 * 5 * 21);
}

}  // namespace
}  // namespace trotix
