#include "overlays.h"

#include "palette.h"

#include <gtest/gtest.h>

#include "pixel_area.h"
#include "scene_fixture.h"

namespace trotix {
namespace {

constexpr Pixel kBrown = Rgb(128, 64, 0);

using testing::Area;
using testing::Count;
using testing::SceneFixture;

// The overlays as DrawScene draws them, with the horses out of the picture,
// over the band of the backdrop.
class Overlays : public ::testing::Test {
 protected:
  Overlays() {
    scene.race.Phase = kPhaseRunning;
    scene.race.Scene = kSceneRunning;
    scene.race.StartTime = 36000.0f;
    scene.clock.now = 36075.456f;
    for (Horse& h : scene.race.Horses) h.ScreenX = 5000.0f;
  }
  // A drawing in which horse `leader` is in front.
  void Draw(int leader = 0) {
    for (Horse& h : scene.race.Horses) h.Position = 0.0;
    scene.race.Horses[static_cast<std::size_t>(leader)].Position = 100.0;
    scene.Draw();
  }
  SceneFixture scene;
};

TEST_F(Overlays, GaugeEndsFollowEffort) {
  Horse& h = scene.race.Horses[0];
  h.Speed = 200;  // marker right of the gauge, out of the way
  h.Effort = 0;
  Draw();
  // Effort 0: the green box shrinks to one column that the black box covers.
  EXPECT_EQ(Count(scene.picture, kGreen, Area{55, 8, 110, 10}), 0);
  EXPECT_EQ(Count(scene.picture, kBlack, Area{60, 10, 101, 6}), 101 * 6);

  // Effort 100: green across the gauge; the black box from 2401 back to
  // 2400 twips still takes the last column.
  h.Effort = 100;
  Draw();
  EXPECT_EQ(Count(scene.picture, kGreen, Area{60, 10, 100, 6}), 100 * 6);
  EXPECT_EQ(Count(scene.picture, kBlack, Area{55, 8, 110, 10}), 6);
  EXPECT_EQ(Count(scene.picture, kBlack, Area{160, 10, 1, 6}), 6);

  h.Effort = 50;
  Draw();
  EXPECT_EQ(Count(scene.picture, kGreen, Area{60, 10, 50, 1}), 50);
  EXPECT_EQ(Count(scene.picture, kBlack, Area{110, 10, 51, 1}), 51);
}

TEST_F(Overlays, RatingMarksStandOnePixelBelowTheGauges) {
  Horse& h = scene.race.Horses[0];
  h.Speed = 40;      // 40 x 15 + 901 = 1501 twips: column 100
  h.Stamina = 80;    // column 140
  h.Effort = 10;
  h.StaminaLeft = 10;
  Draw();
  for (int y = 10; y <= 16; ++y) EXPECT_EQ(scene.picture.At(100, y), kRed) << y;
  EXPECT_NE(scene.picture.At(100, 17), kRed);
  for (int y = 20; y <= 26; ++y) EXPECT_EQ(scene.picture.At(140, y), kRed) << y;
  EXPECT_EQ(scene.picture.At(100, 16 - 7), kBrown);
}

TEST_F(Overlays, TheLeadersStyleMarkerIsLit) {
  // Markers at x 60, 70, 80, 90 pixels for styles 4, 3, 2, 1.
  const struct { std::int32_t style; int lit_x; } cases[] = {{1, 90}, {2, 80}, {3, 70}, {4, 60}, {0, -1}, {9, -1}};
  for (const auto& c : cases) {
    scene.race.Horses[3].Style = c.style;
    Draw(3);
    for (int x : {60, 70, 80, 90}) {
      const Area cell{x, 32, 9, 10};  // below the odds line's last row
      EXPECT_EQ(Count(scene.picture, kRed, cell) > 0, x == c.lit_x) << "style " << c.style << " marker " << x;
      EXPECT_EQ(Count(scene.picture, kYellow, cell) > 0, x != c.lit_x) << "style " << c.style << " marker " << x;
    }
    EXPECT_EQ(scene.picture.fore_color, kYellow);
    EXPECT_FALSE(scene.picture.font_bold);
  }
}

TEST_F(Overlays, NothingBeforeTheStart) {
  scene.race.Phase = kPhaseReady;
  Draw();
  EXPECT_TRUE(scene.picture.SamePixels(testing::SharedSprites().Bitmap(801)));
}

TEST_F(Overlays, TheFinalStretchStillShowsTheRunningSet) {
  scene.race.Phase = kPhaseFinalStretch;
  Draw();
  EXPECT_GT(Count(scene.picture, kYellow, Area{0, 0, 90, 30}), 20) << "the live clock and the odds line";
  EXPECT_GT(Count(scene.picture, kGreen, Area{60, 10, 100, 6}), 0) << "the effort gauge";
  EXPECT_EQ(Count(scene.picture, kLightRed, Area{0, 0, 180, 120}), 0);
}

TEST_F(Overlays, WinnersTimeIsStampedOnceAndShownFrozen) {
  scene.race.Phase = kPhaseRunOut;
  scene.race.Scene = kSceneFinish;
  scene.race.WinnerCrossed = kTrue;
  scene.race.Horses[4].WinOdds = 12.25;
  scene.clock.now = 36100.0f;
  Draw(4);
  EXPECT_EQ(scene.race.WinnerCrossed, kFalse);
  EXPECT_EQ(scene.race.FinishTime, 36100.0f);
  EXPECT_EQ(scene.race.WinnerIndex, 4);
  const Surface first = scene.picture;
  EXPECT_GT(Count(first, kLightRed, Area{25, 5, 60, 30}), 20);
  EXPECT_EQ(Count(first, kYellow, Area{0, 0, 180, 120}), 0);

  scene.clock.now = 36101.0f;  // later drawings of the run-out
  Draw(2);
  EXPECT_EQ(scene.race.FinishTime, 36100.0f);
  EXPECT_EQ(scene.race.WinnerIndex, 4);
  EXPECT_TRUE(scene.picture.SamePixels(first));
}

TEST_F(Overlays, RunningClockIsReadFromTheClock) {
  scene.race.StartTime = 86395.0f;  // the race started just before midnight
  scene.clock.now = 3.0f;
  Draw();
  const Surface across_midnight = scene.picture;
  scene.race.StartTime = 100.0f;
  scene.clock.now = 108.0f;
  Draw();
  EXPECT_TRUE(scene.picture.SamePixels(across_midnight)) << "8 seconds either way";
}

}  // namespace
}  // namespace trotix
