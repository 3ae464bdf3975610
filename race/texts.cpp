#include "texts.h"

#include "numbers.h"

namespace trotix {

namespace {

constexpr std::size_t kStyleGlyphCount = 5;

constexpr std::array<std::string_view, kStyleGlyphCount> SplitAtCommas(std::string_view list) {
  std::array<std::string_view, kStyleGlyphCount> pieces{};
  for (std::size_t k = 0; k < kStyleGlyphCount; ++k) {
    const std::size_t comma = list.find(',');
    pieces[k] = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return pieces;
}
constexpr std::array<std::string_view, kStyleGlyphCount> kStyleGlyphs = SplitAtCommas(kStyleGlyphList);
static_assert(kStyleGlyphs[0] == " " && kStyleGlyphs[4] == "追");

constexpr std::string_view kOddsMark = "x";
constexpr std::string_view kOddsMask = "0.0";
constexpr std::string_view kOpenNumber = "【";
constexpr std::string_view kCloseNumber = "】";
constexpr std::string_view kPlaceMark = "着";
constexpr std::string_view kQuinellaColon = ": ";
constexpr std::string_view kQuinellaOddsGap = "  ";

// Appended piece by piece: g++ 12 at -O3 takes a literal put before a
// temporary string for an overlapping copy and warns.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

}  // namespace

std::string_view StyleGlyph(std::int32_t style) {
  if (style < 0 || style >= static_cast<std::int32_t>(kStyleGlyphCount)) return kStyleGlyphs[0];
  return kStyleGlyphs[static_cast<std::size_t>(style)];
}

std::string ClockText(float elapsed_seconds) { return FormatRaceTime(elapsed_seconds, 2); }
std::string BoardTimeText(float elapsed_seconds) { return FormatRaceTime(elapsed_seconds, 1); }

std::string OddsText(double odds) { return Joined({kOddsMark, OddsNumber(odds)}); }

std::string OddsNumber(double odds) { return FormatMask(odds, kOddsMask); }

std::string HorseNumberText(int index) { return Joined({kOpenNumber, std::to_string(index + 1), kCloseNumber}); }

std::string OddsLineText(int index, double win_odds) {
  return Joined({HorseNumberText(index), " ", OddsText(win_odds)});
}

std::string PlaceText(int place, int index) {
  return Joined({std::to_string(place), kPlaceMark, HorseNumberText(index), " "});
}

std::string QuinellaLineText(const QuinellaEntry& pair) {
  return Joined({kQuinellaName, kQuinellaColon, pair.Label, kQuinellaOddsGap, OddsText(pair.Odds)});
}

std::string FieldListingText(const RaceState& race) {
  std::string text;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const Horse& horse = race.Horses[i];
    text += Joined({HorseNumberText(static_cast<int>(i)), "Sp:", FormatMask(horse.Speed, "000"), "  St:",
                    FormatMask(horse.Stamina, "000"), "  ", StyleGlyph(horse.Style), "  ", OddsText(horse.WinOdds),
                    "\r\n"});
  }
  return text;
}

}  // namespace trotix
