#include "scene_compositor.h"

#include <algorithm>
#include <cmath>

#include "blit.h"
#include "numbers.h"
#include "overlays.h"
#include "track.h"
#include "twips.h"

namespace trotix {

namespace {

constexpr double kPoleFromMetres = 150.0;      // no pole before the leader is past this
constexpr double kPoleSpacingMetres = 200.0;
constexpr double kPoleHalfWidthTwips = 195.0;  // 13 pixels

// Loads bitmap `id` into a holder surface and copies it onto the work
// surface at (x, y) pixels with the holder's size.
void PutLayer(QImage& work, QImage& holder, const QImage& bitmap, int x, int y, RasterOp op) {
  holder = bitmap;  // shares the decoded pixels; nothing is copied
  BitBlt(work, x, y, holder.width(), holder.height(), holder, op);
}

void DrawPole(SceneSurfaces& surfaces, const SpriteCatalogue& sprites, double lead) {
  const int x = TwipsToPixels(static_cast<double>(PoleX(lead)));
  PutLayer(surfaces.work, surfaces.pole, sprites.Bitmap(kPoleSilhouetteId), x, 0,
           RasterOp::kSrcPaint);
  PutLayer(surfaces.work, surfaces.pole, sprites.Bitmap(kPolePictureId), x, 0,
           RasterOp::kSrcAnd);
}

// Replaces all of `dest` by `source`. A surface that is already the right
// size and not shared with a committed picture is written over in place,
// so a drawing neither allocates a frame nor copies one it then overwrites.
void CopyWhole(const QImage& source, QImage& dest) {
  if (dest.size() != source.size() || dest.format() != QImage::Format_RGB32 || !dest.isDetached()) {
    dest = QImage(source.size(), QImage::Format_RGB32);
  }
  BitBlt(dest, 0, 0, dest.width(), dest.height(), source, RasterOp::kSrcCopy);
}

// One limb of the gallop cycle 1, 2, 3, 1, ...
std::int32_t NextFrame(std::int32_t frame) { return frame + 1 > kGallopFrames ? 1 : frame + 1; }

std::uint8_t ColourChannel(std::int32_t metres_from_end) {
  // The product is an integer, the quotient a double, rounded half to even.
  const std::int32_t scaled = RoundHalfEven(static_cast<double>(metres_from_end * 512) / 2000.0);
  return static_cast<std::uint8_t>(std::clamp(scaled, 0, 255));
}

}  // namespace

int BackdropId(std::int32_t scene, Flag16 rail_toggle) {
  switch (scene) {
    case kSceneStart: return kStartBackdropId;
    case kSceneRunning:
      return rail_toggle != kFalse ? kRunningBackdropAId : kRunningBackdropBId;
    default: return kFinishBackdropId;
  }
}

float PoleX(double lead_metres) {
  const std::int32_t m = RoundHalfEven(lead_metres) % static_cast<std::int32_t>(kPoleSpacingMetres);
  return static_cast<float>(m / 100.0 * kRunningTwipsPer100Metres - kPoleHalfWidthTwips);
}

bool PoleShown(const RaceState& race) {
  return race.LeadPosition > kPoleFromMetres && race.Scene == kSceneRunning;
}

void AdvanceGallop(Horse& horse) { horse.Frame = NextFrame(horse.Frame); }

void DrawBackground(const RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces) {
  CopyWhole(sprites.Bitmap(BackdropId(race.Scene, race.RailToggle)), surfaces.work);
  if (PoleShown(race)) DrawPole(surfaces, sprites, race.LeadPosition);
}

void DrawHorse(const RaceState& race, std::size_t index, const SpriteCatalogue& sprites, SceneSurfaces& surfaces) {
  const Horse& horse = race.Horses[index];
  const int f = horse.Frame;
  const int x = TwipsToPixels(static_cast<double>(horse.ScreenX));
  const int y = TwipsToPixels(static_cast<double>(horse.ScreenY));
  const int number = static_cast<int>(index) + 1;
  // The rider bobs one pixel lower in the middle frame of the stride.
  const bool low = f == 2;
  PutLayer(surfaces.work, surfaces.horse, sprites.Bitmap(HorseSilhouetteId(f)), x, y, RasterOp::kSrcPaint);
  PutLayer(surfaces.work, surfaces.horse, sprites.Bitmap(HorsePictureId(f)), x, y, RasterOp::kSrcAnd);
  PutLayer(surfaces.work, surfaces.horse, sprites.Bitmap(RiderSilhouetteId(low)), x, y, RasterOp::kSrcPaint);
  PutLayer(surfaces.work, surfaces.horse, sprites.Bitmap(RiderPictureId(number, low)), x, y, RasterOp::kSrcAnd);
}

void LeaderSoFar::See(const RaceState& race, std::size_t index) {
  if (race.Horses[index].Position > best_) {
    best_ = race.Horses[index].Position;
    index_ = static_cast<int>(index);
  }
}

int ComposeFrame(const RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, SceneHost& host) {
  DrawBackground(race, sprites, surfaces);
  LeaderSoFar leader;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    leader.See(race, i);
    DrawHorse(race, i, sprites, surfaces);
    host.DoEvents();
  }
  return leader.index();
}

std::uint32_t DistanceBarColour(double lead_metres) {
  const std::int32_t d = std::clamp(RoundHalfEven(std::clamp(lead_metres, -1.0e9, 1.0e9)), 0, 2000);
  const std::uint32_t red = ColourChannel(d - 1000);
  const std::uint32_t blue = ColourChannel(2000 - d);
  return (blue << 16) | red;
}

void DrawScene(RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, Clock& clock,
               SceneHost& host) {
  DrawBackground(race, sprites, surfaces);
  LeaderSoFar leader_so_far;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    leader_so_far.See(race, i);
    // The first of the drawing's two writes, made horse by horse just
    // before each is drawn, with waiting events let run after each.
    AdvanceGallop(race.Horses[i]);
    DrawHorse(race, i, sprites, surfaces);
    host.DoEvents();
  }
  const int leader = leader_so_far.index();
  // Present: the whole composed frame in one copy, the last overlays with it.
  CopyWhole(surfaces.work, surfaces.picture);
  const float now = clock.SecondsSinceMidnight();
  StampFinish(race, leader, now);
  DrawOverlays(race, leader, surfaces.picture, surfaces.print, now);
  host.CommitPicture();
  host.SetBarColour(DistanceBarColour(race.LeadPosition));
  host.DoEvents();
}

}  // namespace trotix
