// Raster copies between surfaces, per channel, as the race view composes its
// frames: a sprite's silhouette (white on black) is ORed in to whiten its
// footprint, then its picture (colour on white) is ANDed in.
#pragma once

#include <cstdint>

#include "surface.h"

namespace trotix {

enum class RasterOp : std::uint32_t {
  kSrcCopy = 0x00CC0020,   // destination = source
  kSrcPaint = 0x00EE0086,  // destination = destination OR source
  kSrcAnd = 0x008800C6,    // destination = destination AND source
};

// Copies the width x height rectangle at the top-left of `source` to (x, y)
// on `dest`, clipped at every edge of both; positions may be negative or
// beyond the edge. The two are distinct surfaces.
void BitBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, RasterOp op);

}  // namespace trotix
