#include "race_state.h"

namespace trotix {

const char* StyleGlyph(std::int32_t style) {
  static constexpr std::array<const char*, 5> kGlyphs = {" ", "逃", "先", "差", "追"};
  if (style < 0 || style >= static_cast<std::int32_t>(kGlyphs.size())) return kGlyphs[0];
  return kGlyphs[static_cast<std::size_t>(style)];
}

}  // namespace trotix
