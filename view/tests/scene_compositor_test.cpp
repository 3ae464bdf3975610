#include "scene_compositor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blit.h"
#include "palette.h"
#include "pixel_area.h"
#include "scene_fixture.h"
#include "twips.h"

namespace trotix {
namespace {

using testing::Area;
using testing::SceneFixture;
using testing::SharedSprites;

TEST(Backdrop, ChosenBySceneAndRail) {
  EXPECT_EQ(BackdropId(kSceneStart, kTrue), 851);
  EXPECT_EQ(BackdropId(kSceneStart, kFalse), 851);
  EXPECT_EQ(BackdropId(kSceneRunning, kTrue), 801);
  EXPECT_EQ(BackdropId(kSceneRunning, kFalse), 802);
  EXPECT_EQ(BackdropId(kSceneFinish, kTrue), 852);
  EXPECT_EQ(BackdropId(kSceneFinish, kFalse), 852);
}

TEST(DistancePole, MarksEveryTwoHundredMetres) {
  const struct { double lead; float pole_x; int pixel; } cases[] = {
      {200.0, -195.0f, -13}, {170.0, 4395.0f, 293}, {250.5, 1155.0f, 77}, {251.5, 1209.0f, 81},
      {399.4, 5178.0f, 345}, {399.6, -195.0f, -13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PoleX(c.lead), c.pole_x) << c.lead;
    EXPECT_EQ(TwipsToPixels(static_cast<double>(PoleX(c.lead))), c.pixel) << c.lead;
  }
}

TEST(DistancePole, OnlyInTheRunningViewPastOneFiftyMetres) {
  RaceState race;
  const struct { std::int32_t scene; double lead; bool shown; } cases[] = {
      {kSceneRunning, 150.0, false}, {kSceneRunning, 150.01, true}, {kSceneStart, 900.0, false},
      {kSceneFinish, 1990.0, false},
  };
  for (const auto& c : cases) {
    race.Scene = c.scene;
    race.LeadPosition = c.lead;
    EXPECT_EQ(PoleShown(race), c.shown) << c.scene << " " << c.lead;
  }
}

// Pixels of `frame` that differ from the backdrop `id`.
int ChangedPixels(const Surface& frame, int id, Area area) {
  const Surface& backdrop = SharedSprites().Bitmap(id);
  int changed = 0;
  for (int y = area.top; y <= area.bottom(); ++y) {
    for (int x = area.left; x <= area.right(); ++x) changed += frame.At(x, y) != backdrop.At(x, y);
  }
  return changed;
}

TEST(DistancePole, ClippedAtTheLeftEdgeAndInvisibleWhenOutside) {
  SceneFixture scene;
  scene.race.Scene = kSceneRunning;
  for (Horse& h : scene.race.Horses) h.ScreenX = 5000.0f;  // horses out of the picture
  const Area band{0, 0, 180, 62};

  scene.race.LeadPosition = 200.0;  // pole's left edge at pixel -13: its right half shows
  scene.Draw();
  EXPECT_GT(ChangedPixels(scene.work, 801, Area{0, 0, 6, 62}), 10);
  EXPECT_EQ(ChangedPixels(scene.work, 801, Area{13, 0, 167, 62}), 0);

  scene.race.LeadPosition = 170.0;  // pixel 293: wholly outside
  scene.Draw();
  EXPECT_EQ(ChangedPixels(scene.work, 801, band), 0);

  scene.race.LeadPosition = 150.0;  // not yet
  scene.race.Scene = kSceneRunning;
  scene.Draw();
  EXPECT_EQ(ChangedPixels(scene.work, 801, band), 0);
}

TEST(DrawScene, EachHorseIsDrawnFromItsFramesLayers) {
  // Frame 3 advances to 1 (bitmaps 101, 201, rider up 401, 301 + i); frame
  // 1 advances to 2 (102, 202, rider down 402, 351 + i).
  const struct { std::int32_t frame_before; int horse_id; int rider_mask; int rider_base; } cases[] = {
      {3, 101, 401, 301}, {1, 102, 402, 351}, {2, 103, 401, 301},
  };
  for (const auto& c : cases) {
    SceneFixture scene;
    scene.race.Scene = kSceneFinish;
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      scene.race.Horses[i].Frame = c.frame_before;
      scene.race.Horses[i].ScreenX = static_cast<float>(i) * 300.0f;
    }
    scene.Draw();

    Surface expected = SharedSprites().Bitmap(852);
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      const int x = static_cast<int>(i) * 20, y = TwipsToPixels(static_cast<double>(scene.race.Horses[i].ScreenY));
      BitBlt(expected, x, y, 50, 30, SharedSprites().Bitmap(c.horse_id + 100), RasterOp::kSrcPaint);
      BitBlt(expected, x, y, 50, 30, SharedSprites().Bitmap(c.horse_id), RasterOp::kSrcAnd);
      BitBlt(expected, x, y, 50, 30, SharedSprites().Bitmap(c.rider_mask), RasterOp::kSrcPaint);
      BitBlt(expected, x, y, 50, 30, SharedSprites().Bitmap(c.rider_base + static_cast<int>(i)), RasterOp::kSrcAnd);
      EXPECT_EQ(scene.race.Horses[i].Frame, c.frame_before % 3 + 1);
    }
    EXPECT_TRUE(scene.work.SamePixels(expected)) << "frame before " << c.frame_before;
  }
}

// The horse in front is the one the finish stamp names.
TEST(DrawScene, LeaderIsTheFurthestAndTheLowestIndexAmongEquals) {
  const struct { std::array<double, 6> positions; int leader; } cases[] = {
      {{0, 0, 0, 0, 0, 0}, 0},
      {{10, 30, 30, 5, 29, 1}, 1},
      {{10, 20, 30, 40, 50, 60}, 5},
      {{2001, 2001.5, 2000, 1999, 0, 2001.5}, 1},
  };
  for (const auto& c : cases) {
    SceneFixture scene;
    for (std::size_t i = 0; i < kHorseCount; ++i) scene.race.Horses[i].Position = c.positions[i];
    scene.race.WinnerCrossed = kTrue;
    scene.Draw();
    EXPECT_EQ(scene.race.WinnerIndex, c.leader);
  }
}

TEST(DrawScene, AtTheStartOnlyTheHeadsShowInsideTheGate) {
  SceneFixture scene;
  scene.Draw();
  // Left edge at pixel 165: columns 0..164 are the bare start backdrop.
  EXPECT_EQ(ChangedPixels(scene.work, 851, Area{0, 0, 165, 120}), 0);
  EXPECT_GT(ChangedPixels(scene.work, 851, Area{165, 50, 15, 70}), 30);
}

TEST(DistanceBarColour, BlueTurnsRedOverTheSecondHalf) {
  const struct { double lead; int red; int blue; } cases[] = {
      {0, 0, 255}, {999.6, 0, 255}, {1001, 0, 255}, {1002, 1, 255}, {1500, 128, 128},
      {2000, 255, 0}, {2150, 255, 0}, {-20, 0, 255},
  };
  for (const auto& c : cases) {
    const std::uint32_t bgr = DistanceBarColour(c.lead);
    EXPECT_EQ(static_cast<int>(bgr & 0xff), c.red) << c.lead;
    EXPECT_EQ(static_cast<int>((bgr >> 8) & 0xff), 0) << c.lead;
    EXPECT_EQ(static_cast<int>((bgr >> 16) & 0xff), c.blue) << c.lead;
  }
}

// What the window is asked, in order: waiting events after each horse, the
// commit of the finished frame (overlays included), the bar's colour, and
// waiting events once more. The stamp takes the clock as it reads after
// every waiting event of the horses has run.
TEST(DrawScene, CommitsTheFinishedFrameThenColoursTheBar) {
  SceneFixture scene;
  scene.race.Phase = kPhaseRunOut;
  scene.race.Scene = kSceneFinish;
  scene.race.WinnerCrossed = kTrue;
  scene.race.LeadPosition = 1500;
  scene.clock.now = 36000.0f;
  scene.host.on_do_events = [&] { scene.clock.now += 1.0f; };  // handling events takes time
  Surface committed;
  scene.host.on_commit = [&] { committed = scene.picture; };
  scene.Draw();
  EXPECT_EQ(scene.host.calls, "eeeeeecbe");
  EXPECT_EQ(scene.race.FinishTime, 36006.0f);
  EXPECT_EQ(scene.clock.readings, 1);
  EXPECT_TRUE(committed.SamePixels(scene.picture));
  EXPECT_GT(testing::Count(committed, kLightRed, Area{25, 5, 60, 30}), 20) << "the overlays are committed with it";
  EXPECT_EQ(scene.host.bar, 0x00800080u);
}

// Waiting events run after each horse, so each horse's gallop step is taken
// just before it is drawn: an event handled after horse 3 sees horses 1 to 3
// advanced and drawn, and the rest not yet.
TEST(DrawScene, EachHorseStepsItsGallopAndIsDrawnBeforeEventsRun) {
  SceneFixture scene;
  scene.race.Phase = kPhaseReady;
  scene.race.Scene = kSceneFinish;
  for (std::size_t i = 0; i < kHorseCount; ++i) scene.race.Horses[i].ScreenX = static_cast<float>(i) * 300.0f;
  std::vector<std::string> seen;
  scene.host.on_do_events = [&] {
    std::string frames;
    for (const Horse& h : scene.race.Horses) frames += static_cast<char>('0' + h.Frame);
    // The horses on the work surface so far, told by the pixel under each saddle cloth.
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      const int x = static_cast<int>(i) * 20 + 24, y = TwipsToPixels(static_cast<double>(scene.race.Horses[i].ScreenY)) + 13;
      frames += scene.work.At(x, y) == SharedSprites().Bitmap(852).At(x, y) ? '.' : 'h';
    }
    seen.push_back(frames);
  };
  scene.Draw();
  const std::vector<std::string> expected = {"211111h.....", "221111hh....", "222111hhh...", "222211hhhh..",
                                             "222221hhhhh.", "222222hhhhhh", "222222hhhhhh"};
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace trotix
