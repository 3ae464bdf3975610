#include "result_board.h"

#include <QPainter>

#include <cmath>

#include "clock.h"
#include "numbers.h"
#include "odds.h"

namespace trotix {

namespace {

constexpr double kLengthMetres = 12.5;
constexpr double kPlaceX = 510.0;
constexpr double kGapX = 1200.0;
constexpr double kOddsX = 1800.0;
constexpr double kLineSpacing = 225.0;
constexpr double kQuinellaY = 1590.0;

// "x4.2". Appended rather than prefixed: g++ 12 at -O3 takes a literal put
// before a temporary string for an overlapping copy and warns.
std::string OddsText(double odds) {
  std::string text = "x";
  text += FormatMask(odds, "0.0");
  return text;
}

}  // namespace

std::string MarginText(double metres) {
  if (metres < kLengthMetres / 8) return "ﾊﾅ";
  if (metres < kLengthMetres / 4) return "ｱﾀﾏ";
  if (metres < kLengthMetres / 2) return "ｸﾋﾞ";
  if (metres < 37.5 / 4) return "1/2";
  if (metres < kLengthMetres) return "3/4";
  return FormatMask(std::floor(metres / kLengthMetres), "0");
}

std::vector<BoardText> ResultBoardTexts(const RaceState& race) {
  std::vector<BoardText> texts;
  for (std::size_t r = 0; r < kHorseCount; ++r) {
    const auto h = static_cast<std::size_t>(race.FinishOrder[r].HorseIndex);
    const double y = static_cast<double>(r + 1) * kLineSpacing;
    texts.push_back({kPlaceX, y, kOrange, true, std::to_string(r + 1) + "着【" + std::to_string(h + 1) + "】 "});
    // The winner's line carries the time; every other line the margin by
    // which the horse ahead beat it.
    const std::string gap = r == 0 ? FormatRaceTime(ElapsedSeconds(race.StartTime, race.FinishTime), 1)
                                   : MarginText(race.FinishOrder[r - 1].Margin);
    texts.push_back({kGapX, y, kOrange, true, gap});
    texts.push_back({kOddsX, y, kOrange, true, OddsText(race.Horses[h].WinOdds)});
  }
  const auto a = static_cast<std::size_t>(race.FinishOrder[0].HorseIndex);
  const auto b = static_cast<std::size_t>(race.FinishOrder[1].HorseIndex);
  const QuinellaEntry& pair = race.QuinellaTable[a][b];
  texts.push_back({kPlaceX, kQuinellaY, kLightGrey, false,
                   "馬連: " + pair.Label + "  " + OddsText(pair.Odds)});
  return texts;
}

void ShowResults(RaceState& race, const SpriteCatalogue& sprites, QImage& picture, PrintState& print) {
  ComputeQuinellaOdds(race);
  picture = sprites.Bitmap(kFinishBackdropId).copy();
  QPainter painter(&picture);
  for (const BoardText& text : ResultBoardTexts(race)) {
    print.fore_color = text.color;
    print.font_bold = text.bold;
    PrintText(painter, print, text.x, text.y, text.text);
  }
  print.fore_color = kYellow;
  print.font_bold = false;
}

}  // namespace trotix
