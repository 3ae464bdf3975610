// Text, boxes and lines on a surface, placed in twips. Text is printed from
// the picture font's glyphs in the surface's text colour and weight, without
// a background, the top-left of its first character cell at the cursor.
#pragma once

#include <string_view>

#include "surface.h"

namespace trotix {

void PrintText(Surface& surface, double x_twips, double y_twips, std::string_view utf8_text);

// How many whole pixels printing `utf8_text` in the given weight moves the
// pen: the width a caption is centred by.
int TextWidth(std::string_view utf8_text, bool bold);

// A box filled in `color` between two corners, both included, whichever
// comes first; and a line between two points, both ends included.
void FillBox(Surface& surface, double x1, double y1, double x2, double y2, Pixel color);
void DrawLine(Surface& surface, double x1, double y1, double x2, double y2, Pixel color);

}  // namespace trotix
