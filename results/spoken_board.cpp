#include "spoken_board.h"

#include <string_view>

#include "clock.h"
#include "result_board.h"
#include "spoken_text.h"
#include "texts.h"

namespace trotix {

namespace {

constexpr std::string_view kPlaceWords[kHorseCount] = {"First", "second", "third", "fourth", "fifth", "sixth"};

}  // namespace

std::string SpokenMargin(double metres) {
  switch (MarginTermOf(metres)) {
    case MarginTerm::kNose: return "a nose";
    case MarginTerm::kHead: return "a head";
    case MarginTerm::kNeck: return "a neck";
    case MarginTerm::kHalfLength: return "half a length";
    case MarginTerm::kThreeQuarterLength: return "three quarters of a length";
    case MarginTerm::kLengths: break;
  }
  const std::string lengths = MarginLengthsText(metres);
  return lengths + (lengths == "1" ? " length" : " lengths");
}

std::string SpokenBoard(const RaceState& race) {
  std::string text;
  for (std::size_t r = 0; r < kHorseCount; ++r) {
    const auto h = static_cast<std::size_t>(race.FinishOrder[r].HorseIndex);
    text += std::string(kPlaceWords[r]) + ", " + SpokenHorse(static_cast<int>(h)) + ", ";
    text += r == 0 ? "in " + SpokenTime(ElapsedSeconds(race.StartTime, race.FinishTime))
                   : SpokenMargin(race.FinishOrder[r - 1].Margin) + " behind";
    text += ", at odds of " + OddsNumber(race.Horses[h].WinOdds) + "; ";
  }
  // The pair as the board labels it, "4-6", said "4 and 6".
  const auto a = static_cast<std::size_t>(race.FinishOrder[0].HorseIndex);
  const auto b = static_cast<std::size_t>(race.FinishOrder[1].HorseIndex);
  const QuinellaEntry& pair = race.QuinellaTable[a][b];
  std::string label = pair.Label;
  if (const std::size_t dash = label.find('-'); dash != std::string::npos) label.replace(dash, 1, " and ");
  return text + "quinella " + label + " at " + OddsNumber(pair.Odds) + ".";
}

}  // namespace trotix
