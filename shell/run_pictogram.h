// The Run button's pictogram, as every front end shows it: a 16 x 16 red
// figure on a grey that is drawn transparent.
#pragma once

#include "surface.h"

namespace trotix {

// The grey around the figure: not drawn, the button's face shows through.
inline constexpr Pixel kPictogramGrey = Rgb(128, 128, 128);

// The pictogram, decoded once from the XPM compiled in.
const Surface& RunPictogram();

}  // namespace trotix
