// The race picture's font, as glyph bitmaps compiled into the program:
// IPAPGothic at 9 point, which is 12 pixels at the design resolution of 15
// twips a pixel, regular and bold, drawn without smoothing so the text sits
// crisply with the pixel art. The glyphs were rendered once from the font
// (qt_reference/), so neither the font nor a toolkit is needed to draw them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace trotix {

inline constexpr const char* kPictureFontFamily = "IPAPGothic";
inline constexpr int kPictureFontPixels = 12;

// Every character the race picture and the result board can show.
inline constexpr std::u32string_view kPictureCharacters =
    U" 0123456789:.x>-/【】逃先差追ﾊﾅｱﾀﾏｸﾋﾞ着馬連";

// One glyph as the file lists it: the pen moves `advance` pixels; the ink is
// a `width` x `height` box whose top-left stands `left` pixels right of the
// pen and `top` pixels below the top of the character cell. `ink` holds its
// rows from the top, '#' for an inked pixel and '.' for a clear one.
struct GlyphSource {
  bool bold;
  char32_t code;
  int advance;
  int left;
  int top;
  int width;
  int height;
  const char* ink;
};

inline constexpr int kGlyphMaxRows = 16;

// A glyph ready to draw: each ink row as a bit mask, bit c for column c.
struct Glyph {
  char32_t code = 0;
  bool bold = false;
  int advance = 0;
  int left = 0;
  int top = 0;
  int height = 0;
  std::array<std::uint32_t, kGlyphMaxRows> rows{};
};

// The glyph of `code` in the given weight, or null for a character the
// picture never shows.
const Glyph* FindGlyph(char32_t code, bool bold);

}  // namespace trotix
