// One frame of the race view: composed off screen on the work surface from
// the backdrop, the distance pole and the six horses with their riders,
// presented in one copy, overlaid, committed, and the distance bar recoloured.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

#include "clock.h"
#include "picture_text.h"
#include "race_state.h"
#include "sprite_catalogue.h"

namespace trotix {

// What a drawing needs from the window around it.
class SceneHost {
 public:
  virtual ~SceneHost() = default;
  // Let waiting window events run.
  virtual void DoEvents() = 0;
  // Make the visible picture's current content the one shown on repaint.
  virtual void CommitPicture() = 0;
  // The distance bar's colour, as 0x00BBGGRR.
  virtual void SetBarColour(std::uint32_t bgr) = 0;
};

// The surfaces a drawing works on: the visible race picture with its text
// state, the hidden work surface, and the two hidden holders of one layer.
struct SceneSurfaces {
  QImage& picture;
  PrintState& print;
  QImage& work;
  QImage& horse;
  QImage& pole;
};

// The backdrop for a scene: start, the two running ones by RailToggle, finish.
int BackdropId(std::int32_t scene, Flag16 rail_toggle);

// Left edge of the distance pole in twips (single precision), for a leader
// at `lead_metres`: it marks every 200 metres on the running view's scale.
float PoleX(double lead_metres);

// Whether the pole is drawn at all.
bool PoleShown(const RaceState& race);

// The first of a drawing's two writes to the race: the horse's gallop frame
// moves one step of the cycle 1, 2, 3, 1, ...
void AdvanceGallop(Horse& horse);

// The backdrop for the race's scene and, while running, the distance pole,
// on surfaces.work.
void DrawBackground(const RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces);

// Horse `index` and its rider on surfaces.work: four layers at the horse's
// place, in its gallop frame.
void DrawHorse(const RaceState& race, std::size_t index, const SpriteCatalogue& sprites, SceneSurfaces& surfaces);

// The leading horse, found while the horses are drawn in index order: the
// furthest, and the lowest index among equals; horse 0 when none is past 0.
class LeaderSoFar {
 public:
  void See(const RaceState& race, std::size_t index);
  int index() const { return index_; }

 private:
  double best_ = 0.0;
  int index_ = 0;
};

// Composes the frame on surfaces.work from the race as it stands, letting
// waiting events run after each horse; returns the leading horse.
// DrawScene does the same with each horse's gallop advance just before the
// horse is drawn.
int ComposeFrame(const RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, SceneHost& host);

// The distance bar's colour for a leader at `lead_metres`: blue to 1000 m,
// then fading through purple to red at 2000 m. 0x00BBGGRR.
std::uint32_t DistanceBarColour(double lead_metres);

// The whole drawing, in order: backdrop and pole; each horse's gallop
// advance, its layers and waiting events; present; one clock reading;
// finish stamp; overlays; commit; bar colour; waiting events. The gallop
// advance and the finish stamp are all it writes to the race.
void DrawScene(RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, Clock& clock,
               SceneHost& host);

}  // namespace trotix
