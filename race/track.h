// The track and the three views of it, shared by the motion model, the phase
// machine and the race view. Distances along the track are in metres from
// the start; places on the race picture are in twips.
#pragma once

namespace trotix {

inline constexpr double kRaceMetres = 2000.0;

// The race moves one step per tick of the race timer.
inline constexpr double kTickSeconds = 0.2;
inline constexpr int kTickMilliseconds = static_cast<int>(kTickSeconds * 1000.0 + 0.5);

// A race lasts under 920 ticks (2020 m at the shortest stride of 2.222 m,
// plus the two still ticks); one that reaches this many is broken.
inline constexpr int kTickLimit = 1024;
// The race is run out until the last horse is this far down the track.
inline constexpr double kRunOutMetres = 2020.0;

// The running phase's sections, by where the leader stood when the tick
// began: early below 200 m, late beyond 1400 m, middle in between.
inline constexpr double kEarlySectionEndMetres = 200.0;
inline constexpr double kLateSectionStartMetres = 1400.0;

// The start view shows metres 0..50 and the finish view the last 50 metres,
// each across 2475 twips, the horses running from right to left: metre 0 and
// metre 1950 stand at the right, at 2475 twips, metre 50 and the line at 0.
inline constexpr double kEndViewMetres = 50.0;
inline constexpr double kStartViewEndMetres = kEndViewMetres;
inline constexpr double kFinishViewStartMetres = kRaceMetres - kEndViewMetres;
inline constexpr double kEndViewTwips = 2475.0;
// Where every sprite stands before the start: metre 0 of the start view.
inline constexpr float kStartScreenX = static_cast<float>(kEndViewTwips);

// The running view follows the leader at 2700 twips per 100 metres.
inline constexpr double kRunningTwipsPer100Metres = 2700.0;

}  // namespace trotix
