#include "motion.h"

#include <array>
#include <cstddef>

#include "at_least.h"
#include "track.h"

namespace trotix {

namespace {

constexpr double kSpeedCapFactor = 1.8;
constexpr double kStaminaCapFactor = 1.2;
constexpr double kEffortCeiling = 100.0;
constexpr double kEffortFloor = 0.0;
constexpr double kEffortStrideFactor = 0.01778;  // metres per point of Effort
constexpr double kBaseStride = 2.222;            // metres
constexpr double kStaminaCostPerEffort = 0.019444;
constexpr double kStaminaCostBase = 0.015;
constexpr double kAllOutBonus = 100.0;

double OpeningBonus(std::int32_t style) {
  switch (style) {
    case 1: return 4.0;
    case 2: return 2.0;
    case 3: return -2.0;
    case 4: return -4.0;
    // A style the random field never makes (only a horse data file brings
    // one) keeps its effort through the opening.
    default: return 0.0;
  }
}

// The middle of the race: each style's three tests are taken in order and
// the last one that holds sets the bonus; then two tests that every style
// shares, waking the slack and easing the clear, replace it.
//
// A horse near a test's threshold flips between bonuses from tick to tick,
// and a branch per test is mispredicted at every flip: a field of closers
// and mid-fielders raced at two thirds of the speed of a field that keeps
// its places. So every test is taken every tick, each makes one bit, and
// the bonus is looked up by the bits: the same bonus as the tests taken one
// by one, without a branch.
struct MiddleBonuses {
  std::array<double, 32> by_tests;  // bit k: test k holds (3 and 4: the shared ones)
};

constexpr MiddleBonuses LastThatHolds(double first, double second, double third) {
  MiddleBonuses bonuses{};
  for (unsigned held = 0; held < 32; ++held) {
    double bonus = 0.0;
    if (held & 1u) bonus = first;
    if (held & 2u) bonus = second;
    if (held & 4u) bonus = third;
    if (held & 8u) bonus = 5.0;    // far back and slack: wake up
    if (held & 16u) bonus = -5.0;  // far clear of the last: ease
    bonuses.by_tests[held] = bonus;
  }
  return bonuses;
}

// By style: 1 逃, 2 先, 3 差, 4 追, and last a style the random field never
// makes (only a horse data file brings one), which has no tests of its own.
constexpr std::array<MiddleBonuses, 5> kMiddleBonuses = {
    LastThatHolds(2.0, -3.0, 2.0), LastThatHolds(-2.0, 2.0, 2.0), LastThatHolds(-2.0, 2.0, -2.0),
    LastThatHolds(-2.0, 3.0, -2.0), LastThatHolds(0.0, 0.0, 0.0)};

constexpr unsigned Tests(bool first, bool second, bool third) {
  return static_cast<unsigned>(first) | static_cast<unsigned>(second) << 1 | static_cast<unsigned>(third) << 2;
}

double MiddleBonus(const Horse& horse, double prev_lead, double prev_tail) {
  const double ahead = horse.Position - prev_tail;
  const double behind = prev_lead - horse.Position;
  // With the whole field level (lead = tail) the place would be 0/0. The
  // horse then counts as the leader, 1; the choice cannot change the bonus,
  // since a level field is less than 50 m from both ends and test 3 of every
  // style replaces whatever the place tests gave.
  const double place = prev_lead > prev_tail ? ahead / (prev_lead - prev_tail) : 1.0;
  const double effort = horse.Effort;
  std::size_t style = 4;
  unsigned held = 0;
  switch (horse.Style) {
    case 1: style = 0; held = Tests(place < 0.8, effort > 70.0, ahead < 50.0); break;
    case 2: style = 1; held = Tests(place > 0.9, place < 0.6, ahead < 50.0); break;
    case 3: style = 2; held = Tests(place > 0.7, place < 0.2, behind < 50.0); break;
    case 4: style = 3; held = Tests(place > 0.3, effort < 30.0, behind < 50.0); break;
    default: break;
  }
  // & rather than &&: both sides are taken, so neither becomes a branch.
  held |= static_cast<unsigned>((effort < 20.0) & (behind > 100.0)) << 3;
  held |= static_cast<unsigned>((effort > 20.0) & (ahead > 100.0)) << 4;
  return kMiddleBonuses[style].by_tests[held];
}

// The late rule: +100 once the leader is past the style's threshold; the
// closer goes first, the front-runner last.
double LateBonus(std::int32_t style, double prev_lead) {
  double threshold = kLateSectionStartMetres;  // style 4: the whole late section
  switch (style) {
    case 1: threshold = 1700.0; break;
    case 2: threshold = 1600.0; break;
    case 3: threshold = 1500.0; break;
    case 4: break;
    default: return 0.0;
  }
  return prev_lead > threshold ? kAllOutBonus : 0.0;
}

}  // namespace

double PacingBonus(const Horse& horse, PacingRule rule, double prev_lead, double prev_tail) {
  switch (rule) {
    case PacingRule::kOpening: return OpeningBonus(horse.Style);
    case PacingRule::kMiddle: return MiddleBonus(horse, prev_lead, prev_tail);
    case PacingRule::kLate: return LateBonus(horse.Style, prev_lead);
    case PacingRule::kAllOut: return kAllOutBonus;
  }
  return 0.0;
}

void MoveHorse(Horse& horse, double bonus, View view, double prev_lead, float r) {
  horse.Effort += bonus;
  if (kSpeedCapFactor * horse.Speed < horse.Effort) horse.Effort = kSpeedCapFactor * horse.Speed;
  if (kStaminaCapFactor * horse.StaminaLeft < horse.Effort) {
    horse.Effort = kStaminaCapFactor * horse.StaminaLeft;
  }
  if (horse.Effort > kEffortCeiling) horse.Effort = kEffortCeiling;
  horse.Effort = AtLeast(horse.Effort, kEffortFloor);

  const double stride =
      static_cast<double>(r) * 13.5 / 10.0 + (horse.Effort * kEffortStrideFactor + kBaseStride);
  horse.Position += stride;
  horse.StaminaLeft -= (horse.Effort / horse.Speed * kStaminaCostPerEffort + kStaminaCostBase) * stride;
  if (horse.StaminaLeft < 0.0) horse.StaminaLeft = 0.0;

  // The sprite's place takes no part in the race: a race nobody sees skips it.
  if (view == View::kNone) return;
  double screen_x = 0.0;
  switch (view) {
    case View::kStart:
      screen_x = kEndViewTwips - horse.Position / kEndViewMetres * kEndViewTwips;
      break;
    case View::kRunning:
      screen_x = (prev_lead - horse.Position) / 100.0 * kRunningTwipsPer100Metres;
      break;
    case View::kFinish:
      screen_x = kEndViewTwips - (horse.Position - kFinishViewStartMetres) / kEndViewMetres * kEndViewTwips;
      break;
    case View::kNone:
      break;
  }
  horse.ScreenX = static_cast<float>(screen_x);
}

}  // namespace trotix
