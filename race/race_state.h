// The race-wide variables: six horses, the finish order, the quinella table
// and the scalars that tie the phase machine, the view, the result board and
// the window together. Plain records and fixed arrays, owned once by the main
// window and worked on in place; nothing here allocates during a race.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "track.h"

namespace trotix {

// Booleans kept in the race data are 16-bit, True = -1 and False = 0.
using Flag16 = std::int16_t;
inline constexpr Flag16 kTrue = -1;
inline constexpr Flag16 kFalse = 0;

inline constexpr std::size_t kHorseCount = 6;

// Places on the race picture are in twips: 15 to a pixel, 2700 x 1800 in all.
inline constexpr double kTwipsPerPixel = 15.0;

struct Horse {
  std::int32_t Index;    // 0..5; shown everywhere as Index + 1
  double Speed;          // rating "Sp"
  double Stamina;        // rating "St"
  double Effort;         // 0..100 after every move
  double StaminaLeft;    // never rises during a race, never below 0 after a move
  std::int32_t Style;    // 1 逃, 2 先, 3 差, 4 追; a horse data file may bring others
  double Position;       // metres run
  float ScreenX;         // sprite's left edge, twips
  float ScreenY;         // sprite's top edge, twips
  double WinOdds;
  std::int32_t Frame;    // gallop frame 1..3
  Flag16 Finished;       // entered in FinishOrder
};

struct FinishEntry {
  std::int32_t HorseIndex;
  double Margin;  // metres to the nearest horse still running when entered; 2000 if none
};

struct QuinellaEntry {
  double Odds;
  std::string Label;  // "1-2" .. "5-6"; short enough never to leave the string itself
};

// Values of RaceState::Phase.
enum : std::int32_t {
  kPhaseReady = 0,
  kPhaseStart = 1,
  kPhaseRunning = 2,
  kPhaseFinalStretch = 3,
  kPhaseRunOut = 4,
  kPhaseOver = 5,
};

// Values of RaceState::Scene: the backdrop.
enum : std::int32_t { kSceneStart = 0, kSceneRunning = 1, kSceneFinish = 2 };

struct RaceState {
  std::array<Horse, kHorseCount> Horses{};
  std::array<FinishEntry, kHorseCount> FinishOrder{};
  std::int32_t FinishCount = 0;
  std::array<std::array<QuinellaEntry, kHorseCount>, kHorseCount> QuinellaTable{};
  std::int32_t Phase = kPhaseReady;
  std::int32_t RaceSection = 0;  // -1 early, 0 middle, +1 late
  double TailPosition = 0.0;
  double LeadPosition = 0.0;
  float StartTime = 0.0f;   // seconds since midnight
  float FinishTime = 0.0f;  // seconds since midnight
  std::int32_t WinnerIndex = 0;
  Flag16 WinnerCrossed = kFalse;
  Flag16 RailToggle = kFalse;
  std::int32_t Scene = kSceneStart;
};

}  // namespace trotix
