#include "overlays.h"

#include "clock.h"
#include "palette.h"
#include "picture_text.h"
#include "texts.h"

namespace trotix {

namespace {

// Overlay places in twips on the race picture.
constexpr double kRunningTextX = 75.0;
constexpr double kFinishTextX = 375.0;
constexpr double kClockY = 75.0;
constexpr double kOddsY = 280.0;
constexpr double kGaugeLeft = 900.0;
constexpr double kGaugeRight = 2400.0;
constexpr double kTwipsPerPoint = 15.0;  // a gauge is 100 points across 1500 twips
constexpr double kEffortTop = 150.0, kEffortBottom = 225.0, kEffortMarkBottom = 240.0;
constexpr double kStaminaTop = 300.0, kStaminaBottom = 375.0, kStaminaMarkBottom = 390.0;
constexpr double kMarkerY = 450.0;

// A gauge: `value` in colour from the left, the rest black, and a red mark
// where `mark` stands (the horse's rating, the most the value could be).
void DrawGauge(Surface& picture, double value, double mark, double top, double bottom, double mark_bottom,
               Pixel color) {
  // x values are worked out in double and handed on as single, as the
  // picture takes its coordinates.
  const auto x = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  FillBox(picture, kGaugeLeft, top, x(value * kTwipsPerPoint + kGaugeLeft), bottom, color);
  FillBox(picture, x(value * kTwipsPerPoint + kGaugeLeft + 1.0), top, kGaugeRight, bottom, kBlack);
  const double mark_x = x(mark * kTwipsPerPoint + kGaugeLeft + 1.0);
  DrawLine(picture, mark_x, top, mark_x, mark_bottom, kRed);
}

void DrawRunningSet(const RaceState& race, int leader, Surface& picture, float now) {
  const Horse& horse = race.Horses[static_cast<std::size_t>(leader)];
  picture.fore_color = kYellow;
  PrintText(picture, kRunningTextX, kClockY, ClockText(ElapsedSeconds(race.StartTime, now)));
  PrintText(picture, kRunningTextX, kOddsY, OddsLineText(leader, horse.WinOdds));
  DrawGauge(picture, horse.Effort, horse.Speed, kEffortTop, kEffortBottom, kEffortMarkBottom, kGreen);
  DrawGauge(picture, horse.StaminaLeft, horse.Stamina, kStaminaTop, kStaminaBottom, kStaminaMarkBottom, kBlue);

  // Four style markers, closer on the left to front-runner on the right;
  // the leader's own style is lit. Any other style lights none.
  picture.font_bold = true;
  const struct { double x; std::int32_t style; } markers[] = {{900, 4}, {1050, 3}, {1200, 2}, {1350, 1}};
  for (const auto& marker : markers) {
    picture.fore_color = horse.Style == marker.style ? kRed : kYellow;
    PrintText(picture, marker.x, kMarkerY, ">");
  }
  picture.fore_color = kYellow;
  picture.font_bold = false;
}

void DrawFinishSet(const RaceState& race, Surface& picture) {
  picture.fore_color = kLightRed;
  PrintText(picture, kFinishTextX, kClockY, ClockText(ElapsedSeconds(race.StartTime, race.FinishTime)));
  PrintText(picture, kFinishTextX, kOddsY,
            OddsLineText(race.WinnerIndex, race.Horses[static_cast<std::size_t>(race.WinnerIndex)].WinOdds));
}

}  // namespace

void DrawOverlays(const RaceState& race, int leader, Surface& picture, float now) {
  if (race.Phase <= kPhaseReady) return;  // the field waiting at the start: no panel
  if (race.Phase <= kPhaseFinalStretch) {
    DrawRunningSet(race, leader, picture, now);
  } else {
    DrawFinishSet(race, picture);
  }
}

}  // namespace trotix
