// The phase machine's ticks, for any random source and any host: RaceTick
// runs them through the two interfaces, as the game does; the simulator
// runs them on its own generator and a host that draws nothing, both known
// to the compiler, so that the host's acts and the random draws are inlined
// into a race's loop instead of being a call through a vtable at every tick.
// The rules are the same ones, written once, here.
#pragma once

#include <cmath>
#include <cstddef>

#include "motion.h"
#include "numbers.h"
#include "race_state.h"
#include "track.h"

namespace trotix::ticks {

// The view the sprites are placed in, or none when the host shows none.
template <class Host>
View Seen(const Host& host, View view) { return host.PlacesSprites() ? view : View::kNone; }

template <class Random>
void MoveField(RaceState& race, Random& random, PacingRule rule, View view,
               double prev_lead, double prev_tail) {
  for (Horse& horse : race.Horses) {
    MoveHorse(horse, PacingBonus(horse, rule, prev_lead, prev_tail), view, prev_lead, random.Next());
  }
}

inline void TrackLeadAndTail(RaceState& race) {
  double lead = race.Horses[0].Position;
  double tail = lead;
  for (const Horse& horse : race.Horses) {
    if (horse.Position > lead) lead = horse.Position;
    if (horse.Position < tail) tail = horse.Position;
  }
  race.LeadPosition = lead;
  race.TailPosition = tail;
}

template <class Host>
void ShowDistanceLeft(const RaceState& race, Host& host) {
  host.SetDistanceValue(RoundHalfEven(kRaceMetres - race.LeadPosition));
}

// Enters horse i as the next place. The margin is measured to the nearest
// horse not yet finished as the field stands at this moment of the tick:
// lower-numbered horses have made this tick's move, higher ones have not.
inline void EnterFinish(RaceState& race, std::size_t i) {
  const auto k = static_cast<std::size_t>(race.FinishCount);
  FinishEntry& entry = race.FinishOrder[k];
  entry.HorseIndex = static_cast<std::int32_t>(i);
  double margin = kRaceMetres;
  for (std::size_t j = 0; j < kHorseCount; ++j) {
    if (j == i || race.Horses[j].Finished != kFalse) continue;
    const double d = std::fabs(race.Horses[i].Position - race.Horses[j].Position);
    if (d < margin) margin = d;
  }
  entry.Margin = margin;
  race.FinishCount = static_cast<std::int32_t>(k + 1);
  race.Horses[i].Finished = kTrue;
}

template <class Host>
void ReadyTick(RaceState& race, Host& host) {
  race.Scene = kSceneStart;
  race.Phase = kPhaseStart;
  host.DrawScene();
}

template <class Random, class Host>
void StartTick(RaceState& race, Random& random, Host& host) {
  MoveField(race, random, PacingRule::kOpening, Seen(host, View::kStart), race.LeadPosition, race.TailPosition);
  TrackLeadAndTail(race);
  ShowDistanceLeft(race, host);
  if (race.LeadPosition > kStartViewEndMetres) race.Phase = kPhaseRunning;
  host.DrawScene();
}

template <class Random, class Host>
void RunningTick(RaceState& race, Random& random, Host& host) {
  const double prev_lead = race.LeadPosition;
  const double prev_tail = race.TailPosition;
  race.Scene = kSceneRunning;
  race.RaceSection = prev_lead < kEarlySectionEndMetres ? -1 : (prev_lead > kLateSectionStartMetres ? 1 : 0);
  const PacingRule rule = race.RaceSection < 0   ? PacingRule::kOpening
                          : race.RaceSection > 0 ? PacingRule::kLate
                                                 : PacingRule::kMiddle;
  MoveField(race, random, rule, Seen(host, View::kRunning), prev_lead, prev_tail);
  TrackLeadAndTail(race);
  ShowDistanceLeft(race, host);
  race.RailToggle = race.RailToggle != kFalse ? kFalse : kTrue;
  if (race.LeadPosition > kFinishViewStartMetres) race.Phase = kPhaseFinalStretch;
  host.DrawScene();
}

// Phases 3 and 4: everyone all out in the finish view; horses are entered
// as they reach the line, in index order within the tick.
template <class Random, class Host>
void FinishTick(RaceState& race, Random& random, Host& host) {
  race.Scene = kSceneFinish;
  const View view = Seen(host, View::kFinish);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    Horse& horse = race.Horses[i];
    MoveHorse(horse, PacingBonus(horse, PacingRule::kAllOut, race.LeadPosition, race.TailPosition),
              view, race.LeadPosition, random.Next());
    if (horse.Position >= kRaceMetres && horse.Finished == kFalse) EnterFinish(race, i);
  }
  TrackLeadAndTail(race);
  ShowDistanceLeft(race, host);
  if (race.LeadPosition >= kRaceMetres && race.Phase == kPhaseFinalStretch) {
    race.WinnerCrossed = kTrue;
    race.Phase = kPhaseRunOut;
  } else if (race.TailPosition > kRunOutMetres && race.Phase == kPhaseRunOut) {
    race.Phase = kPhaseOver;
  }
  host.DrawScene();
}

template <class Host>
void OverTick(Host& host) {
  host.StopTimer();
  host.RestoreNormalPriority();
  host.EnableRun();
  host.ShowResults();
}

// One tick of the race, as RaceTick describes it.
template <class Random, class Host>
void Tick(RaceState& race, Random& random, Host& host) {
  switch (race.Phase) {
    case kPhaseReady: ReadyTick(race, host); break;
    case kPhaseStart: StartTick(race, random, host); break;
    case kPhaseRunning: RunningTick(race, random, host); break;
    case kPhaseFinalStretch:
    case kPhaseRunOut: FinishTick(race, random, host); break;
    default: OverTick(host); break;
  }
}

}  // namespace trotix::ticks
