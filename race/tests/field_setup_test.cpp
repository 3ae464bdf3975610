#include "field_setup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scripted_random.h"

namespace trotix {
namespace {

using testing::ScriptedRandom;

constexpr float kTop = 1.0f - 0x1.0p-24f;  // the largest draw there is

TEST(SetUpField, RandomFieldDrawsSevenNumbersPerHorseInOrder) {
  // Horse i gets draws 0.01 * (7i + 1) .. 0.01 * (7i + 7).
  ScriptedRandom random;
  for (int n = 1; n <= 42; ++n) random.Push(0.01f * static_cast<float>(n));
  RaceState race;
  SetUpField(race, random, nullptr);
  EXPECT_EQ(random.count, 42u);

  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const auto r = [&](int k) { return static_cast<double>(0.01f * static_cast<float>(7 * static_cast<int>(i) + k)); };
    const Horse& h = race.Horses[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(h.Index, static_cast<int>(i));
    EXPECT_DOUBLE_EQ(h.Speed, (r(1) * 90 + r(2) * 90) / 2 + 10);
    EXPECT_DOUBLE_EQ(h.Stamina, (r(3) * 90 + r(4) * 90) / 2 + 10);
    EXPECT_DOUBLE_EQ(h.Effort, r(5) * 30 + 35);
    EXPECT_EQ(h.Style, static_cast<int>(std::floor(r(6) * 4)) + 1);
    EXPECT_EQ(h.Frame, static_cast<int>(std::floor(r(7) * 3)) + 1);
    EXPECT_EQ(h.StaminaLeft, h.Stamina);
  }
}

TEST(SetUpField, RandomFieldStaysInsideItsRanges) {
  const struct { float draw; double rating; double effort; int style; int frame; } ends[] = {
      {0.0f, 10.0, 35.0, 1, 1},
      {kTop, 100.0, 65.0, 4, 3},
  };
  for (const auto& e : ends) {
    ScriptedRandom random{e.draw};
    random.repeat_last = true;
    RaceState race;
    SetUpField(race, random, nullptr);
    for (const Horse& h : race.Horses) {
      if (e.draw == 0.0f) {
        EXPECT_EQ(h.Speed, e.rating);
        EXPECT_EQ(h.Effort, e.effort);
      } else {
        EXPECT_LT(h.Speed, e.rating);
        EXPECT_LT(h.Effort, e.effort);
      }
      EXPECT_EQ(h.Style, e.style);
      EXPECT_EQ(h.Frame, e.frame);
    }
  }
}

TEST(SetUpField, FileFieldDrawsEffortThenFramePerHorse) {
  FieldRecords file{};
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    file[i] = {40.0 + static_cast<double>(i), 70.0 - static_cast<double>(i), 7};
  }
  ScriptedRandom random{0.5f, 0.0f, 0.0f, 0.5f, 0.1f, 0.9f, 0.2f, 0.4f, 0.3f, 0.7f, kTop, kTop};
  RaceState race;
  SetUpField(race, random, &file);
  EXPECT_EQ(random.count, 12u);
  EXPECT_DOUBLE_EQ(race.Horses[0].Effort, 50.0);
  EXPECT_EQ(race.Horses[0].Frame, 1);
  EXPECT_DOUBLE_EQ(race.Horses[1].Effort, 35.0);
  EXPECT_EQ(race.Horses[1].Frame, 2);
  EXPECT_EQ(race.Horses[5].Frame, 3);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    EXPECT_EQ(race.Horses[i].Speed, file[i].Speed);
    EXPECT_EQ(race.Horses[i].Stamina, file[i].Stamina);
    EXPECT_EQ(race.Horses[i].StaminaLeft, file[i].Stamina);
    EXPECT_EQ(race.Horses[i].Style, 7);  // carried unchanged
  }
}

TEST(SetUpField, ResetsTheRaceButKeepsWhatTheLastRaceLeft) {
  RaceState race;
  race.Phase = kPhaseOver;
  race.RailToggle = kFalse;
  race.FinishCount = 6;
  race.LeadPosition = 2050.0;
  race.TailPosition = 2021.0;
  race.Scene = kSceneFinish;
  race.FinishOrder[0] = {4, 3.5};
  race.StartTime = 10.0f;
  race.FinishTime = 110.0f;
  race.WinnerIndex = 4;
  for (Horse& h : race.Horses) {
    h.Position = 2040.0;
    h.Finished = kTrue;
    h.ScreenX = -900.0f;
  }
  ScriptedRandom random{0.3f};
  random.repeat_last = true;
  SetUpField(race, random, nullptr);

  EXPECT_EQ(race.Phase, kPhaseReady);
  EXPECT_EQ(race.RailToggle, kTrue);
  EXPECT_EQ(race.FinishCount, 0);
  EXPECT_EQ(race.LeadPosition, 0.0);
  EXPECT_EQ(race.TailPosition, 0.0);
  const float screen_y[] = {750, 870, 990, 1110, 1230, 1350};
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    EXPECT_EQ(race.Horses[i].Position, 0.0);
    EXPECT_EQ(race.Horses[i].Finished, kFalse);
    EXPECT_EQ(race.Horses[i].ScreenX, 2475.0f);
    EXPECT_EQ(race.Horses[i].ScreenY, screen_y[i]);
  }
  EXPECT_EQ(race.Scene, kSceneFinish);
  EXPECT_EQ(race.FinishOrder[0].HorseIndex, 4);
  EXPECT_EQ(race.FinishOrder[0].Margin, 3.5);
  EXPECT_EQ(race.StartTime, 10.0f);
  EXPECT_EQ(race.FinishTime, 110.0f);
  EXPECT_EQ(race.WinnerIndex, 4);
}

TEST(SetUpField, WinOddsComeFromTheStrengths) {
  FieldRecords file{};
  file[0] = {60.0, 50.0, 1};
  for (std::size_t i = 1; i < kHorseCount; ++i) file[i] = {50.0, 20.0, 2};
  ScriptedRandom random{0.5f};
  random.repeat_last = true;
  RaceState race;
  SetUpField(race, random, &file);
  EXPECT_NEAR(race.Horses[0].WinOdds, 1.8667, 1e-4);
  for (std::size_t i = 1; i < kHorseCount; ++i) EXPECT_DOUBLE_EQ(race.Horses[i].WinOdds, 8.0 * 0.7);
}

}  // namespace
}  // namespace trotix
