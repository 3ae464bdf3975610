// One frame of the race view: composed off screen on the work surface from
// the backdrop, the distance pole and the six horses with their riders,
// presented in one copy, overlaid, committed, and the distance bar recoloured.
#pragma once

#include <cstddef>
#include <cstdint>

#include "clock.h"
#include "race_state.h"
#include "sprite_catalogue.h"
#include "surface.h"

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
// state and the hidden work surface, which the window keeps, and the two
// hidden holders of one layer at a time, which show the bitmap last loaded.
struct SceneSurfaces {
  Surface& picture;
  Surface& work;
  const Surface* horse = nullptr;
  const Surface* pole = nullptr;
};

// The backdrop for a scene: start, the two running ones by RailToggle, finish.
int BackdropId(std::int32_t scene, Flag16 rail_toggle);

// Left edge of the distance pole in twips (single precision), for a leader
// at `lead_metres`: it marks every 200 metres on the running view's scale.
float PoleX(double lead_metres);

// Whether the pole is drawn at all.
bool PoleShown(const RaceState& race);

// The distance bar's colour for a leader at `lead_metres`: blue to half way,
// then fading through purple to red at the line. 0x00BBGGRR.
std::uint32_t DistanceBarColour(double lead_metres);

// The whole drawing, in order: backdrop and pole; for each horse in index
// order, whether it leads so far, its gallop advance, its four layers and
// waiting events; present; one clock reading; finish stamp; overlays;
// commit; bar colour; waiting events. The gallop advance and the finish
// stamp are all it writes to the race.
void DrawScene(RaceState& race, const SpriteCatalogue& sprites, SceneSurfaces& surfaces, Clock& clock,
               SceneHost& host);

}  // namespace trotix
