#include "picture_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>

#include "picture_font.h"
#include "twips.h"
#include "utf8.h"

namespace trotix {

namespace {

void DrawGlyph(Surface& surface, const Glyph& glyph, int x, int y, Pixel color) {
  for (int r = 0; r < glyph.height; ++r) {
    const int py = y + glyph.top + r;
    if (py < 0 || py >= surface.height()) continue;
    Pixel* row = surface.Row(py);
    for (std::uint32_t ink = glyph.rows[static_cast<std::size_t>(r)]; ink != 0; ink &= ink - 1) {
      const int px = x + glyph.left + std::countr_zero(ink);
      if (px >= 0 && px < surface.width()) row[px] = color;
    }
  }
}

}  // namespace

void PrintText(Surface& surface, double x_twips, double y_twips, std::string_view utf8_text) {
  const int y = TwipsToPixels(y_twips);
  // The pen moves in 64ths of a pixel, as the font's advances are kept, and
  // each glyph is drawn at the whole pixel the pen has reached.
  std::int64_t pen = static_cast<std::int64_t>(TwipsToPixels(x_twips)) * 64;
  for (std::size_t at = 0; at < utf8_text.size();) {
    const Glyph* glyph = FindGlyph(NextUtf8(utf8_text, at), surface.font_bold);
    if (glyph == nullptr) continue;  // no character of the picture's: nothing to draw
    const std::int64_t x = pen >= 0 ? pen / 64 : -((-pen + 63) / 64);
    if (x > surface.width()) break;
    DrawGlyph(surface, *glyph, static_cast<int>(x), y, surface.fore_color);
    pen += glyph->advance;
  }
}

int TextWidth(std::string_view utf8_text, bool bold) {
  std::int64_t pen = 0;
  for (std::size_t at = 0; at < utf8_text.size();) {
    if (const Glyph* glyph = FindGlyph(NextUtf8(utf8_text, at), bold)) pen += glyph->advance;
  }
  return static_cast<int>(pen / 64);
}

void FillBox(Surface& surface, double x1, double y1, double x2, double y2, Pixel color) {
  surface.FillBetween(TwipsToPixels(std::min(x1, x2)), TwipsToPixels(std::min(y1, y2)),
                      TwipsToPixels(std::max(x1, x2)), TwipsToPixels(std::max(y1, y2)), color);
}

void DrawLine(Surface& surface, double x1, double y1, double x2, double y2, Pixel color) {
  const int x = TwipsToPixels(x1), y = TwipsToPixels(y1);
  const int to_x = TwipsToPixels(x2), to_y = TwipsToPixels(y2);
  if (x == to_x || y == to_y) {  // straight: a box one pixel across
    surface.FillBetween(std::min(x, to_x), std::min(y, to_y), std::max(x, to_x), std::max(y, to_y), color);
    return;
  }
  // Slanted: one pixel for each step along the longer axis, taken only over
  // the steps that can land on the surface, however far off the ends are.
  const double ax = x, ay = y, bx = to_x, by = to_y;
  if (std::abs(bx - ax) >= std::abs(by - ay)) {
    const int first = std::max(std::min(x, to_x), 0), last = std::min(std::max(x, to_x), surface.width() - 1);
    for (int px = first; px <= last; ++px) {
      const double py = std::round(ay + (px - ax) * (by - ay) / (bx - ax));
      if (py >= 0 && py < surface.height()) surface.Set(px, static_cast<int>(py), color);
    }
  } else {
    const int first = std::max(std::min(y, to_y), 0), last = std::min(std::max(y, to_y), surface.height() - 1);
    for (int py = first; py <= last; ++py) {
      const double px = std::round(ax + (py - ay) * (bx - ax) / (by - ay));
      if (px >= 0 && px < surface.width()) surface.Set(static_cast<int>(px), py, color);
    }
  }
}

}  // namespace trotix
