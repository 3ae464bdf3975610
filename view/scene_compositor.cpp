#include "scene_compositor.h"

#include <algorithm>

#include "blit.h"
#include "finish_stamp.h"
#include "numbers.h"
#include "overlays.h"
#include "track.h"
#include "twips.h"

namespace trotix {

namespace {

constexpr double kPoleFromMetres = 150.0;      // no pole before the leader is past this
constexpr double kPoleSpacingMetres = 200.0;
constexpr double kPoleHalfWidthTwips = 195.0;  // 13 pixels

// Loads a bitmap into a holder surface and copies it onto the work surface
// at (x, y) pixels with the holder's size.
void PutLayer(Surface& work, const Surface*& holder, const Surface& bitmap, int x, int y, RasterOp op) {
  holder = &bitmap;  // the decoded bitmap itself: nothing is copied
  BitBlt(work, x, y, holder->width(), holder->height(), *holder, op);
}

// Replaces all of `dest` by `source`, taking its size.
void CopyWhole(const Surface& source, Surface& dest) {
  if (dest.width() != source.width() || dest.height() != source.height()) {
    dest = Surface(source.width(), source.height());
  }
  BitBlt(dest, 0, 0, dest.width(), dest.height(), source, RasterOp::kSrcCopy);
}

void DrawBackground(const RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces) {
  CopyWhole(sprites.Bitmap(BackdropId(race.Scene, race.RailToggle)), surfaces.work);
  if (!PoleShown(race)) return;
  const int x = TwipsToPixels(static_cast<double>(PoleX(race.LeadPosition)));
  PutLayer(surfaces.work, surfaces.pole, sprites.Bitmap(kPoleSilhouetteId), x, 0, RasterOp::kSrcPaint);
  PutLayer(surfaces.work, surfaces.pole, sprites.Bitmap(kPolePictureId), x, 0, RasterOp::kSrcAnd);
}

// The first of a drawing's two writes to the race: the horse's gallop frame
// moves one step of the cycle 1, 2, 3, 1, ...
void AdvanceGallop(Horse& horse) { horse.Frame = horse.Frame + 1 > kGallopFrames ? 1 : horse.Frame + 1; }

// Horse `index` and its rider: four layers at the horse's place, in its
// gallop frame, the rider one pixel lower in the middle of the stride.
void DrawHorse(const RaceState& race, std::size_t index, const SpriteCatalogue& sprites, SceneSurfaces& surfaces) {
  const Horse& horse = race.Horses[index];
  const int f = horse.Frame;
  const int x = TwipsToPixels(static_cast<double>(horse.ScreenX));
  const int y = TwipsToPixels(static_cast<double>(horse.ScreenY));
  const int number = static_cast<int>(index) + 1;
  const bool low = f == 2;
  Surface& work = surfaces.work;
  PutLayer(work, surfaces.horse, sprites.Bitmap(HorseSilhouetteId(f)), x, y, RasterOp::kSrcPaint);
  PutLayer(work, surfaces.horse, sprites.Bitmap(HorsePictureId(f)), x, y, RasterOp::kSrcAnd);
  PutLayer(work, surfaces.horse, sprites.Bitmap(RiderSilhouetteId(low)), x, y, RasterOp::kSrcPaint);
  PutLayer(work, surfaces.horse, sprites.Bitmap(RiderPictureId(number, low)), x, y, RasterOp::kSrcAnd);
}

std::uint8_t ColourChannel(std::int32_t metres_from_end) {
  // The product is an integer, the quotient a double, rounded half to even.
  const std::int32_t scaled = RoundHalfEven(static_cast<double>(metres_from_end * 512) / kRaceMetres);
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

std::uint32_t DistanceBarColour(double lead_metres) {
  constexpr auto kRace = static_cast<std::int32_t>(kRaceMetres);
  const std::int32_t d = std::clamp(RoundHalfEven(std::clamp(lead_metres, -1.0e9, 1.0e9)), 0, kRace);
  const std::uint32_t red = ColourChannel(d - kRace / 2);
  const std::uint32_t blue = ColourChannel(kRace - d);
  return (blue << 16) | red;
}

void DrawScene(RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, Clock& clock,
               SceneHost& host) {
  DrawBackground(race, sprites, surfaces);
  LeaderSoFar leader;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    leader.See(race, i);
    AdvanceGallop(race.Horses[i]);
    DrawHorse(race, i, sprites, surfaces);
    host.DoEvents();
  }
  // Present: the whole composed frame in one copy, the last overlays with it.
  CopyWhole(surfaces.work, surfaces.picture);
  const float now = clock.SecondsSinceMidnight();
  StampFinish(race, leader.index(), now);
  DrawOverlays(race, leader.index(), surfaces.picture, now);
  host.CommitPicture();
  host.SetBarColour(DistanceBarColour(race.LeadPosition));
  host.DoEvents();
}

}  // namespace trotix
