#include "race_card.h"

#include <gtest/gtest.h>

#include "field_setup.h"
#include "odds.h"
#include "scripted_random.h"

namespace trotix {
namespace {

using testing::ScriptedRandom;

void ExpectSameField(const RaceCard& card, const RaceState& race) {
  const RaceCard raced = CardOf(race);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(card.horses[i].Speed, race.Horses[i].Speed);
    EXPECT_EQ(card.horses[i].Stamina, race.Horses[i].Stamina);
    EXPECT_EQ(card.horses[i].Style, race.Horses[i].Style);
    EXPECT_EQ(card.horses[i].WinOdds, race.Horses[i].WinOdds);
    for (std::size_t j = 0; j < kHorseCount; ++j) EXPECT_EQ(card.quinella[i][j], raced.quinella[i][j]);
  }
}

TEST(NextCard, IsTheFieldTheNextSetUpDrawsAndDrawsNothing) {
  for (const bool from_file : {false, true}) {
    SCOPED_TRACE(from_file);
    ScriptedRandom random;
    for (int n = 1; n <= 84; ++n) random.Push(0.011f * static_cast<float>(n));
    FieldRecords file{};
    for (std::size_t i = 0; i < kHorseCount; ++i) file[i] = {40.0 + static_cast<double>(i), 70.0, 2};
    const FieldRecords* chosen = from_file ? &file : nullptr;

    const RaceCard card = NextCard(random, chosen);
    EXPECT_EQ(random.count, 0u);
    RaceState race;
    SetUpField(race, random, chosen);
    ExpectSameField(card, race);
    EXPECT_EQ(NextCard(random, chosen).horses[0].Speed == card.horses[0].Speed, from_file);
  }
}

TEST(NextCard, QuinellaOddsAreTheBoards) {
  Pcg32Random random(11);
  const RaceCard card = NextCard(random, nullptr);
  RaceState race;
  SetUpField(race, random, nullptr);
  ComputeQuinellaOdds(race);  // as the board does
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    for (std::size_t j = 0; j < kHorseCount; ++j) {
      if (i != j) {
        EXPECT_EQ(card.quinella[i][j], race.QuinellaTable[i][j].Odds);
      }
    }
  }
}

TEST(CardText, ListsTheHorsesThenTheFifteenPairs) {
  RaceCard card;
  for (std::size_t i = 0; i < kHorseCount; ++i) card.horses[i] = {78, 39, 1, 3.04};
  for (std::size_t i = 0; i < kHorseCount; ++i)
    for (std::size_t j = 0; j < kHorseCount; ++j) card.quinella[i][j] = 7.45;
  const std::string text = CardText(card);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "【1】Sp:078  St:039  逃  x3.0");
  EXPECT_NE(text.find("\r\n馬連: 1-2  x7.5\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\r\n馬連: 5-6  x7.5\r\n"));
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 1)) ++lines;
  EXPECT_EQ(lines, 21u);
}

}  // namespace
}  // namespace trotix
