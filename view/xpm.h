// XPM pictures as the bitmaps are kept: C source text that the program
// compiles in, decoded here into surfaces without any toolkit.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "surface.h"

namespace trotix {

// Decodes the strings of an XPM array: "width height colours chars-per-pixel",
// one "key c #RRGGBB" line per colour, then the pixel rows. Nothing when the
// strings are not such a picture.
std::optional<Surface> DecodeXpm(std::span<const char* const> lines);

}  // namespace trotix
