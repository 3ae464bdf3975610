#include "overlays.h"

#include <gtest/gtest.h>

#include "scene_fixture.h"

namespace trotix {
namespace {

using testing::SceneFixture;

TEST(OverlayTexts, ClockAndOddsLine) {
  EXPECT_EQ(ClockText(5.2f), "0:05.20");
  EXPECT_EQ(ClockText(75.456f), "1:15.46");
  EXPECT_EQ(ClockText(600.0f), "10:00.00");
  EXPECT_EQ(OddsLineText(2, 4.46), "【3】 x4.5");
  EXPECT_EQ(OddsLineText(2, 12.26), "【3】 x12.3");
  EXPECT_EQ(OddsLineText(5, 7.0), "【6】 x7.0");
}

int Count(const QImage& image, QRgb colour, QRect area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}

class Overlays : public ::testing::Test {
 protected:
  Overlays() {
    scene.race.Phase = kPhaseRunning;
    scene.race.Scene = kSceneRunning;
    scene.race.StartTime = 36000.0f;
    scene.clock.now = 36075.456f;
  }
  void Draw(int leader = 0) {
    scene.picture = QImage(180, 120, QImage::Format_RGB32);
    scene.picture.fill(qRgb(128, 64, 0));
    // The finish stamp and the overlays, with one clock reading, as a drawing does them.
    const float now = scene.clock.SecondsSinceMidnight();
    StampFinish(scene.race, leader, now);
    DrawOverlays(scene.race, leader, scene.picture, scene.print, now);
  }
  SceneFixture scene;
};

TEST_F(Overlays, GaugeEndsFollowEffort) {
  Horse& h = scene.race.Horses[0];
  h.Speed = 200;  // marker right of the gauge, out of the way
  h.Effort = 0;
  Draw();
  // Effort 0: the green box shrinks to one column that the black box covers.
  EXPECT_EQ(Count(scene.picture, kGreen, QRect(55, 8, 110, 10)), 0);
  EXPECT_EQ(Count(scene.picture, kBlack, QRect(60, 10, 101, 6)), 101 * 6);

  // Effort 100: green across the gauge; the black box from 2401 back to
  // 2400 twips still takes the last column.
  h.Effort = 100;
  Draw();
  EXPECT_EQ(Count(scene.picture, kGreen, QRect(60, 10, 100, 6)), 100 * 6);
  EXPECT_EQ(Count(scene.picture, kBlack, QRect(55, 8, 110, 10)), 6);
  EXPECT_EQ(Count(scene.picture, kBlack, QRect(160, 10, 1, 6)), 6);

  h.Effort = 50;
  Draw();
  EXPECT_EQ(Count(scene.picture, kGreen, QRect(60, 10, 50, 1)), 50);
  EXPECT_EQ(Count(scene.picture, kBlack, QRect(110, 10, 51, 1)), 51);
}

TEST_F(Overlays, RatingMarksStandOnePixelBelowTheGauges) {
  Horse& h = scene.race.Horses[0];
  h.Speed = 40;      // 40 x 15 + 901 = 1501 twips: column 100
  h.Stamina = 80;    // column 140
  h.Effort = 10;
  h.StaminaLeft = 10;
  Draw();
  for (int y = 10; y <= 16; ++y) EXPECT_EQ(scene.picture.pixel(100, y), kRed) << y;
  EXPECT_NE(scene.picture.pixel(100, 17), kRed);
  for (int y = 20; y <= 26; ++y) EXPECT_EQ(scene.picture.pixel(140, y), kRed) << y;
  EXPECT_EQ(scene.picture.pixel(100, 16 - 7), qRgb(128, 64, 0));
}

TEST_F(Overlays, TheLeadersStyleMarkerIsLit) {
  // Markers at x 60, 70, 80, 90 pixels for styles 4, 3, 2, 1.
  const struct { std::int32_t style; int lit_x; } cases[] = {{1, 90}, {2, 80}, {3, 70}, {4, 60}, {0, -1}, {9, -1}};
  for (const auto& c : cases) {
    scene.race.Horses[3].Style = c.style;
    Draw(3);
    for (int x : {60, 70, 80, 90}) {
      const QRect cell(x, 32, 9, 10);  // below the odds line's last row
      EXPECT_EQ(Count(scene.picture, kRed, cell) > 0, x == c.lit_x) << "style " << c.style << " marker " << x;
      EXPECT_EQ(Count(scene.picture, kYellow, cell) > 0, x != c.lit_x) << "style " << c.style << " marker " << x;
    }
    EXPECT_EQ(scene.print.fore_color, kYellow);
    EXPECT_FALSE(scene.print.font_bold);
  }
}

TEST_F(Overlays, NothingBeforeTheStart) {
  scene.race.Phase = kPhaseReady;
  Draw();
  EXPECT_EQ(Count(scene.picture, qRgb(128, 64, 0), QRect(0, 0, 180, 120)), 180 * 120);
}

TEST_F(Overlays, TheFinalStretchStillShowsTheRunningSet) {
  scene.race.Phase = kPhaseFinalStretch;
  Draw();
  EXPECT_GT(Count(scene.picture, kYellow, QRect(0, 0, 90, 30)), 20) << "the live clock and the odds line";
  EXPECT_GT(Count(scene.picture, kGreen, QRect(60, 10, 100, 6)), 0) << "the effort gauge";
  EXPECT_EQ(Count(scene.picture, kLightRed, QRect(0, 0, 180, 120)), 0);
}

TEST_F(Overlays, WinnersTimeIsStampedOnceAndShownFrozen) {
  scene.race.Phase = kPhaseRunOut;
  scene.race.WinnerCrossed = kTrue;
  scene.race.Horses[4].WinOdds = 12.25;
  scene.clock.now = 36100.0f;
  Draw(4);
  EXPECT_EQ(scene.race.WinnerCrossed, kFalse);
  EXPECT_EQ(scene.race.FinishTime, 36100.0f);
  EXPECT_EQ(scene.race.WinnerIndex, 4);
  const QImage first = scene.picture;
  EXPECT_GT(Count(first, kLightRed, QRect(25, 5, 60, 30)), 20);
  EXPECT_EQ(Count(first, kYellow, QRect(0, 0, 180, 120)), 0);

  scene.clock.now = 36101.0f;  // later drawings of the run-out
  Draw(2);
  EXPECT_EQ(scene.race.FinishTime, 36100.0f);
  EXPECT_EQ(scene.race.WinnerIndex, 4);
  EXPECT_EQ(scene.picture, first);
}

TEST_F(Overlays, RunningClockIsReadFromTheClock) {
  scene.race.StartTime = 86395.0f;  // the race started just before midnight
  scene.clock.now = 3.0f;
  Draw();
  const QImage across_midnight = scene.picture;
  scene.race.StartTime = 100.0f;
  scene.clock.now = 108.0f;
  Draw();
  EXPECT_EQ(scene.picture, across_midnight) << "8 seconds either way";
}

}  // namespace
}  // namespace trotix
