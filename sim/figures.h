// The figures a report shows, worked out once from the counts so that the
// table and the JSON cannot disagree.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "race_blocks.h"

namespace trotix::sim {

// The 95% Wilson score interval of a share: unlike the normal
// approximation, it does not shrink to nothing at 0 or all of n, and it is
// lopsided near the edges as the true chance is.
struct Interval {
  double low = 0.0;
  double high = 0.0;
};
Interval WilsonInterval95(Count hits, Count n);

// A share of the races with its 95% interval, fair odds 1 / share, and the
// return of one unit staked at the posted odds, share x odds. The implied
// chance is the one the odds formula gives, 0.7 / odds before rounding: the
// strength's share of the field's, so the six horses' add up to 1, as do the
// fifteen pairs'.
struct Chance {
  Count hits = 0;
  double share = 0.0;
  Interval interval;
  std::optional<double> fair_odds;  // none when it never happened
  double posted_odds = 0.0;         // as the game shows it, to one decimal
  double implied = 0.0;             // 0 when there are no odds
  double stake_return = 0.0;
  // The return's 95% interval: the chance's interval times the posted odds.
  Interval return_interval;
};

// Where the odds stand against the race: a horse (or pair) is underpriced
// when its whole 95% interval lies above its implied chance (the odds are
// longer than its running earns), overpriced when the whole interval lies
// below, and within otherwise.
enum class Pricing { kWithin, kUnderpriced, kOverpriced };
Pricing PricingOf(const Chance& chance);

// Whether a ticket pays on average: it does when one unit staked returns
// more than the unit, share x posted odds above 1. The interval says how sure
// that is; the verdict goes by the share the races gave, by the rule the
// tickets' worth goes by too (PaysOnAverage, odds.h).
enum class Payoff { kPays, kCosts };
Payoff PayoffOf(const Chance& chance);

struct HorseFigures {
  int number = 0;
  double speed = 0.0;
  double stamina = 0.0;
  std::int32_t style = 0;
  Chance win;
  double mean_place = 0.0;
};

struct PairFigures {
  std::string label;  // "1-2" .. "5-6"
  Chance hit;
};

struct TimeFigures {
  float fastest5 = 0.0f;  // seconds, the 5% point
  float median = 0.0f;
  float slowest5 = 0.0f;  // the 95% point
};

struct BinFigures {
  int from_percent = 0;  // implied chance from .. below to
  int to_percent = 0;
  Count horses = 0;
  Count wins = 0;
  std::optional<double> win_rate;
};

struct StyleFigures {
  std::int32_t style = 0;
  Count horses = 0;
  Count wins = 0;
  std::optional<double> win_share;
  std::optional<double> implied_share;
};

struct Figures {
  std::uint64_t seed = 0;
  Count races = 0;
  bool random_fields = false;
  std::array<HorseFigures, kHorseCount> horses{};  // the one field's; empty with random fields
  std::array<PairFigures, kPairCount> pairs{};
  TimeFigures winner_time;
  std::array<BinFigures, kChanceBins> bins{};
  Chance favourite;  // the shortest-priced horse's wins; no odds of its own
  std::array<StyleFigures, kStyleCount> styles{};
};

// The winner's time the board shows with punctual ticks: ticks x 200 ms.
float BoardSeconds(int ticks);

Figures ComputeFigures(const RunSetup& setup, const Tally& tally);

}  // namespace trotix::sim
