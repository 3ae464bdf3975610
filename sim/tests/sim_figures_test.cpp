// From counts to figures: what one race adds to the counts, and the shares,
// odds, returns and bars a report shows for them.
#include <gtest/gtest.h>


#include "field_file.h"
#include "figures.h"
#include "report.h"

namespace trotix::sim {
namespace {

constexpr const char* kSampleField = "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n";

TEST(Tally, PairSlotsFollowTheQuinellaTable) {
  std::size_t expected = 0;
  for (std::size_t a = 0; a < kHorseCount; ++a) {
    for (std::size_t b = a + 1; b < kHorseCount; ++b) {
      EXPECT_EQ(PairSlot(a, b), expected++) << a << "-" << b;
      EXPECT_EQ(PairSlot(b, a), PairSlot(a, b));
    }
  }
}

TEST(Tally, OneRaceCountsPlacesPairAndTheOddsFormula) {
  RaceState race;
  // Strengths 3000, 1000 x 5: implied chances 37.5% and 12.5%; styles 1..4, 1, 2.
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    race.Horses[h].Speed = h == 0 ? 60.0 : 50.0;
    race.Horses[h].Stamina = h == 0 ? 50.0 : 20.0;
    race.Horses[h].WinOdds = 8000.0 / (race.Horses[h].Speed * race.Horses[h].Stamina) * 0.7;
    race.Horses[h].Style = static_cast<std::int32_t>(h % 4) + 1;
    race.FinishOrder[h].HorseIndex = static_cast<std::int32_t>(5 - h);  // horse 6 wins, 5 second
  }
  race.FinishCount = 6;
  Tally tally;
  CountRace(tally, race, 574);

  EXPECT_EQ(tally.races, 1u);
  EXPECT_EQ(tally.places[5][0], 1u);
  EXPECT_EQ(tally.places[0][5], 1u);
  EXPECT_EQ(tally.pairs[PairSlot(4, 5)], 1u);
  EXPECT_EQ(tally.winner_ticks[574], 1u);
  EXPECT_EQ(tally.bin_horses[7], 1u);  // 37.5% falls in 35..40%
  EXPECT_EQ(tally.bin_horses[2], 5u);  // 12.5% in 10..15%
  EXPECT_EQ(tally.bin_wins[2], 1u);
  EXPECT_EQ(tally.favourite_wins, 0u);  // horse 1 was the favourite
  EXPECT_EQ(tally.style_horses[1], 2u);  // horses 2 and 6
  EXPECT_EQ(tally.style_wins[1], 1u);
  EXPECT_EQ(tally.style_chance[0], 500000000u);  // horses 1 and 5: 37.5% + 12.5%
}

// Two horses on the same shortest odds: the favourite is the lower number,
// whichever of the two wins.
TEST(Tally, TheFavouriteOnATieIsTheLowerNumber) {
  const struct { std::int32_t winner; Count favourite_wins; } cases[] = {{1, 1}, {4, 0}, {0, 0}};
  for (const auto& c : cases) {
    RaceState race;
    for (std::size_t h = 0; h < kHorseCount; ++h) {
      race.Horses[h].WinOdds = h == 1 || h == 4 ? 3.5 : 5.25;  // horses 2 and 5 tie for the shortest
      race.Horses[h].Style = 1;
      race.FinishOrder[h].HorseIndex = static_cast<std::int32_t>(h);
    }
    std::swap(race.FinishOrder[0].HorseIndex, race.FinishOrder[static_cast<std::size_t>(c.winner)].HorseIndex);
    race.FinishCount = 6;
    Tally tally;
    CountRace(tally, race, 570);
    EXPECT_EQ(tally.favourite_wins, c.favourite_wins) << "winner " << c.winner + 1;
  }
}

TEST(Figures, SharesOddsAndReturns) {
  RunSetup setup;
  setup.field = ParseFieldFile(kSampleField, true).horses;
  Tally tally;
  tally.races = 1000;
  tally.places[3] = {936, 50, 10, 4, 0, 0};  // horse 4
  tally.places[5] = {64, 900, 36, 0, 0, 0};  // horse 6
  tally.pairs[PairSlot(3, 5)] = 700;
  const Figures f = ComputeFigures(setup, tally);

  struct Row {
    const Chance& chance;
    Count hits;
    double posted;  // as shown, one decimal
    std::optional<double> fair;
  };
  const std::vector<Row> rows = {
      {f.horses[3].win, 936, 3.8, 1000.0 / 936},
      {f.horses[5].win, 64, 3.7, 1000.0 / 64},
      {f.horses[0].win, 0, 3.2, std::nullopt},
      {f.pairs[PairSlot(3, 5)].hit, 700, 9.2, 1000.0 / 700},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.posted);
    const double share = static_cast<double>(row.hits) / 1000.0;
    EXPECT_EQ(row.chance.hits, row.hits);
    EXPECT_DOUBLE_EQ(row.chance.share, share);
    EXPECT_EQ(row.chance.interval.low, WilsonInterval95(row.hits, 1000).low);
    EXPECT_EQ(row.chance.interval.high, WilsonInterval95(row.hits, 1000).high);
    EXPECT_EQ(row.chance.posted_odds, row.posted);
    EXPECT_DOUBLE_EQ(row.chance.stake_return, share * row.posted);
    EXPECT_EQ(row.chance.fair_odds.has_value(), row.fair.has_value());
    if (row.fair) {
      EXPECT_DOUBLE_EQ(*row.chance.fair_odds, *row.fair);
    }
  }
  double implied = 0.0, pair_implied = 0.0;
  for (const HorseFigures& h : f.horses) implied += h.win.implied;
  for (const PairFigures& p : f.pairs) pair_implied += p.hit.implied;
  EXPECT_NEAR(implied, 1.0, 1e-12) << "the odds formula shares out the whole field";
  EXPECT_NEAR(pair_implied, 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.horses[3].win.implied, 4050.0 / 21875.0);  // 45 x 90 of the field's 21,875
  EXPECT_DOUBLE_EQ(f.horses[3].mean_place, (936 + 2 * 50 + 3 * 10 + 4 * 4) / 1000.0);
  EXPECT_EQ(f.pairs[PairSlot(3, 5)].label, "4-6");
  EXPECT_EQ(f.horses[3].style, 4);
}

// The normal approximation said 0.00% ± 0.00% for a horse that never won 100
// races, whose true 95% upper bound is some 3.7%, and 93.00% ± 5.00% where
// the true interval is lopsided. Bounds worked out to 30 digits elsewhere.
TEST(Figures, WilsonIntervalsHoldAtTheEdges) {
  const struct { Count hits; double low; double high; } cases[] = {
      {0, 0.0, 0.0369934982069857},
      {93, 0.862504852609265, 0.965680738932727},
      {100, 0.963006501793014, 1.0},
  };
  for (const auto& c : cases) {
    const Interval i = WilsonInterval95(c.hits, 100);
    EXPECT_NEAR(i.low, c.low, 1e-12) << c.hits;
    EXPECT_NEAR(i.high, c.high, 1e-12) << c.hits;
  }
  EXPECT_EQ(WilsonInterval95(0, 100).low, 0.0) << "exactly the edge";
  EXPECT_EQ(WilsonInterval95(100, 100).high, 1.0) << "exactly the edge";
}

// Only an interval wholly on one side of the implied chance says the odds
// are wrong; one that touches it may be the odds' own.
TEST(Figures, PricingNeedsTheWholeInterval) {
  const struct {
    double low, high, implied;
    Pricing pricing;
  } cases[] = {{0.30, 0.35, 0.25, Pricing::kUnderpriced}, {0.10, 0.20, 0.25, Pricing::kOverpriced},
               {0.20, 0.30, 0.25, Pricing::kWithin},      {0.25, 0.30, 0.25, Pricing::kWithin},
               {0.20, 0.25, 0.25, Pricing::kWithin},      {0.0, 0.1, 0.0, Pricing::kWithin}};
  for (const auto& c : cases) {
    Chance chance;
    chance.interval = {c.low, c.high};
    chance.implied = c.implied;
    EXPECT_EQ(PricingOf(chance), c.pricing) << c.low << "-" << c.high << " against " << c.implied;
  }
}

TEST(Report, BarsInEighthsOfACell) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0.0, ""}, {1.0 / 400, ""}, {1.0 / 160, "▏"}, {0.0625, "█▎"}, {0.5, "██████████"},
      {1.0, "████████████████████"}, {1.5, "████████████████████"}};
  for (const auto& [share, bar] : cases) EXPECT_EQ(Bar(share, 20), bar) << share;
}

}  // namespace
}  // namespace trotix::sim
