#include "result_board.h"

#include <cmath>

#include "blit.h"
#include "clock.h"
#include "numbers.h"
#include "odds.h"
#include "palette.h"
#include "picture_text.h"
#include "texts.h"

namespace trotix {

namespace {

constexpr double kLengthMetres = 12.5;
constexpr double kPlaceX = 510.0;
constexpr double kGapX = 1200.0;
constexpr double kOddsX = 1800.0;
constexpr double kLineSpacing = 225.0;
constexpr double kQuinellaY = 1590.0;

}  // namespace

MarginTerm MarginTermOf(double metres) {
  if (metres < kLengthMetres / 8) return MarginTerm::kNose;
  if (metres < kLengthMetres / 4) return MarginTerm::kHead;
  if (metres < kLengthMetres / 2) return MarginTerm::kNeck;
  if (metres < 37.5 / 4) return MarginTerm::kHalfLength;
  if (metres < kLengthMetres) return MarginTerm::kThreeQuarterLength;
  return MarginTerm::kLengths;
}

std::string MarginLengthsText(double metres) { return FormatMask(std::floor(metres / kLengthMetres), "0"); }

std::string MarginText(double metres) {
  switch (MarginTermOf(metres)) {
    case MarginTerm::kNose: return std::string(kMarginNose);
    case MarginTerm::kHead: return std::string(kMarginHead);
    case MarginTerm::kNeck: return std::string(kMarginNeck);
    case MarginTerm::kHalfLength: return std::string(kMarginHalf);
    case MarginTerm::kThreeQuarterLength: return std::string(kMarginThreeQuarters);
    case MarginTerm::kLengths: break;
  }
  return MarginLengthsText(metres);
}

std::vector<BoardText> ResultBoardTexts(const RaceState& race) {
  std::vector<BoardText> texts;
  for (std::size_t r = 0; r < kHorseCount; ++r) {
    const auto h = static_cast<std::size_t>(race.FinishOrder[r].HorseIndex);
    const double y = static_cast<double>(r + 1) * kLineSpacing;
    texts.push_back({kPlaceX, y, kOrange, true, PlaceText(static_cast<int>(r) + 1, static_cast<int>(h))});
    // The winner's line carries the time; every other line the margin by
    // which the horse ahead beat it.
    const std::string gap = r == 0 ? BoardTimeText(ElapsedSeconds(race.StartTime, race.FinishTime))
                                   : MarginText(race.FinishOrder[r - 1].Margin);
    texts.push_back({kGapX, y, kOrange, true, gap});
    texts.push_back({kOddsX, y, kOrange, true, OddsText(race.Horses[h].WinOdds)});
  }
  const auto a = static_cast<std::size_t>(race.FinishOrder[0].HorseIndex);
  const auto b = static_cast<std::size_t>(race.FinishOrder[1].HorseIndex);
  texts.push_back({kPlaceX, kQuinellaY, kLightGrey, false, QuinellaLineText(race.QuinellaTable[a][b])});
  return texts;
}

std::string ResultBoardText(const RaceState& race) {
  std::string text;
  double row = -1.0;
  for (const BoardText& piece : ResultBoardTexts(race)) {
    if (piece.y != row && row >= 0.0) text += '\n';
    else if (row >= 0.0) text += ' ';
    text += piece.text.substr(0, piece.text.find_last_not_of(' ') + 1);
    row = piece.y;
  }
  return text.empty() ? text : text + '\n';
}

void ShowResults(RaceState& race, const SpriteCatalogue& sprites, Surface& picture) {
  ComputeQuinellaOdds(race);
  // The finish backdrop becomes the picture's background, in place.
  const Surface& backdrop = sprites.Bitmap(kFinishBackdropId);
  if (picture.width() != backdrop.width() || picture.height() != backdrop.height()) {
    picture = Surface(backdrop.width(), backdrop.height());
  }
  BitBlt(picture, 0, 0, backdrop.width(), backdrop.height(), backdrop, RasterOp::kSrcCopy);
  for (const BoardText& text : ResultBoardTexts(race)) {
    picture.fore_color = text.color;
    picture.font_bold = text.bold;
    PrintText(picture, text.x, text.y, text.text);
  }
  picture.fore_color = kYellow;
  picture.font_bold = false;
}

}  // namespace trotix
