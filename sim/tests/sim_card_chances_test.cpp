// The card's field raced by the lab: the chances the desk takes are the
// figures' own, and the worth the desk shows is the return the lab reports.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "card_chances.h"
#include "random_source.h"
#include "simulation.h"

namespace trotix::sim {
namespace {

TEST(CardChances, TheDesksWorthIsTheLabsReturnForEveryTicket) {
  const Pcg32Random random(7);
  const RaceCard card = NextCard(random, nullptr);
  const RunSetup setup = CardRunSetup(card, 11, 2 * kBlockRaces);
  Tally tally;
  RaceState race;
  for (std::uint64_t b = 0; b < BlockCount(setup); ++b) SimulateBlock(setup, b, race, tally);
  const Figures f = ComputeFigures(setup, tally);
  const CardChances c = CardChancesOf(card, f);
  EXPECT_TRUE(SameCard(c.card, card));
  EXPECT_EQ(c.races, 2 * kBlockRaces);

  for (std::size_t a = 0; a < kHorseCount; ++a) {
    Ticket win;
    win.first = win.second = static_cast<int>(a);
    EXPECT_EQ(OddsTenthsOn(card, win), std::llround(f.horses[a].win.posted_odds * 10.0)) << "the lab's odds";
    const Worth w = WorthOf(win, OddsTenthsOn(card, win), c);
    EXPECT_DOUBLE_EQ(w.mean, f.horses[a].win.stake_return) << a;
    EXPECT_DOUBLE_EQ(w.high, f.horses[a].win.return_interval.high) << a;
    for (std::size_t b = a + 1; b < kHorseCount; ++b) {
      const Chance& hit = f.pairs[PairSlot(a, b)].hit;
      Ticket pair;
      pair.kind = TicketKind::kQuinella;
      pair.first = static_cast<int>(a);
      pair.second = static_cast<int>(b);
      EXPECT_DOUBLE_EQ(WorthOf(pair, OddsTenthsOn(card, pair), c).mean, hit.stake_return) << a << "-" << b;
      EXPECT_DOUBLE_EQ(c.pair[b][a].low, hit.interval.low) << "either order";
    }
  }
}

// The numbers as the page reads them off the lab's JSON: the races, then
// the horses' wins and the pairs, in the order the JSON lists them.
TEST(CardChances, TheNumbersThePageHandsAcrossAreTheFiguresOwnAndNothingElse) {
  const Pcg32Random random(7);
  const RaceCard card = NextCard(random, nullptr);
  const RunSetup setup = CardRunSetup(card, 11, kBlockRaces);
  Tally tally;
  RaceState race;
  SimulateBlock(setup, 0, race, tally);
  const Figures f = ComputeFigures(setup, tally);
  std::vector<double> numbers{static_cast<double>(f.races)};
  for (const HorseFigures& h : f.horses) numbers.insert(numbers.end(), {h.win.share, h.win.interval.low, h.win.interval.high});
  for (const PairFigures& p : f.pairs) numbers.insert(numbers.end(), {p.hit.share, p.hit.interval.low, p.hit.interval.high});
  ASSERT_EQ(numbers.size(), kCardChancesNumbers);

  const std::optional<CardChances> read = CardChancesOfNumbers(card, numbers.data());
  ASSERT_TRUE(read);
  const CardChances own = CardChancesOf(card, f);
  EXPECT_EQ(read->races, own.races);
  for (std::size_t a = 0; a < kHorseCount; ++a) {
    EXPECT_EQ(read->win[a].share, own.win[a].share) << a;
    for (std::size_t b = 0; b < kHorseCount; ++b) EXPECT_EQ(read->pair[a][b].high, own.pair[a][b].high) << a << b;
  }

  // What cannot be a measurement is refused whole.
  const struct { std::size_t at; double value; } bad[] = {
      {0, 0.0}, {0, 2.5}, {1, 1.5}, {2, -0.1}, {3, std::nan("")}, {1 + 3 * kHorseCount, 2.0}};
  for (const auto& b : bad) {
    std::vector<double> wrong = numbers;
    wrong[b.at] = b.value;
    EXPECT_FALSE(CardChancesOfNumbers(card, wrong.data())) << b.at << " = " << b.value;
  }
}

TEST(CardChances, AMeasurementStoppedEndsEarlyAndSaysSo) {
  const RunSetup setup = CardRunSetup(NextCard(Pcg32Random(7), nullptr), kCardChancesSeed, kCardChancesRaces);
  std::stop_source stop;
  stop.request_stop();
  const RunResult run = Simulate(setup, 2, {}, stop.get_token());
  EXPECT_TRUE(run.stopped);
  EXPECT_LT(run.tally.races, setup.races);
  const RunSetup short_run = CardRunSetup(NextCard(Pcg32Random(7), nullptr), 1, kBlockRaces);
  EXPECT_FALSE(Simulate(short_run, 2, {}).stopped);
}

}  // namespace
}  // namespace trotix::sim
