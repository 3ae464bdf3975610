#include "picture_font.h"

#include <algorithm>
#include <iterator>

namespace trotix {

namespace {

constexpr GlyphSource kSources[] = {
#include "bitmaps/picture_font.inc"
};

constexpr Glyph MakeGlyph(const GlyphSource& source) {
  Glyph glyph;
  glyph.code = source.code;
  glyph.bold = source.bold;
  glyph.advance = source.advance;
  glyph.left = source.left;
  glyph.top = source.top;
  glyph.height = source.height;
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      if (source.ink[y * source.width + x] == '#') glyph.rows[static_cast<std::size_t>(y)] |= 1u << x;
    }
  }
  return glyph;
}

constexpr bool Before(const Glyph& a, const Glyph& b) { return a.bold != b.bold ? b.bold : a.code < b.code; }

// Sorted by weight and code point, so a character is found by halving.
constexpr auto kGlyphs = [] {
  std::array<Glyph, std::size(kSources)> glyphs{};
  for (std::size_t i = 0; i < glyphs.size(); ++i) glyphs[i] = MakeGlyph(kSources[i]);
  std::sort(glyphs.begin(), glyphs.end(), Before);
  return glyphs;
}();

constexpr bool FileIsWhole() {
  for (const GlyphSource& s : kSources) {
    if (s.height > kGlyphMaxRows || s.width > 32 || s.width < 0 || s.height < 0) return false;
    if (std::char_traits<char>::length(s.ink) != static_cast<std::size_t>(s.width * s.height)) return false;
  }
  for (bool bold : {false, true}) {
    for (char32_t code : kPictureCharacters) {
      const auto same = [&](const GlyphSource& s) { return s.bold == bold && s.code == code; };
      if (std::count_if(std::begin(kSources), std::end(kSources), same) != 1) return false;
    }
  }
  return std::size(kSources) == 2 * kPictureCharacters.size();
}
static_assert(FileIsWhole(), "picture_font.inc must hold every picture character once in each weight, rows complete");

}  // namespace

const Glyph* FindGlyph(char32_t code, bool bold) {
  Glyph key;
  key.code = code;
  key.bold = bold;
  const auto found = std::lower_bound(kGlyphs.begin(), kGlyphs.end(), key, Before);
  return found != kGlyphs.end() && found->code == code && found->bold == bold ? &*found : nullptr;
}

}  // namespace trotix
