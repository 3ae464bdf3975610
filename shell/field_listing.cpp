#include "field_listing.h"

#include "numbers.h"

namespace trotix {

std::string FieldListingText(const RaceState& race) {
  std::string text;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const Horse& horse = race.Horses[i];
    text += "【" + std::to_string(i + 1) + "】";
    text += "Sp:" + FormatMask(horse.Speed, "000") + "  ";
    text += "St:" + FormatMask(horse.Stamina, "000") + "  ";
    text += StyleGlyph(horse.Style);
    text += "  x" + FormatMask(horse.WinOdds, "0.0") + "\r\n";
  }
  return text;
}

}  // namespace trotix
