// One race, always the same: a field drawn from a fixed seed, a clock that
// reads 200 ms further at every tick, and the race view drawn into plain
// surfaces at every step, as the window would. Named frames are handed out
// as they are drawn, so tests and the frame-dump tool see the same pictures.
// The clock keeps whole milliseconds and is read in seconds, as the page's
// scripted clock is, so the browser can be stepped to the same readings.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "clock.h"
#include "race_state.h"
#include "surface.h"

namespace trotix::testing {

inline constexpr std::uint64_t kScriptedRaceSeed = 20261209;
inline constexpr double kScriptedStartMilliseconds = 36'000'000.0;  // 10:00 in the morning

// The frames a race is checked by, in the order they come.
inline constexpr std::string_view kScriptedFrames[] = {"start", "running", "final_stretch", "finish_stamp",
                                                      "board"};

// Time as the page's scripted clock keeps it: whole milliseconds, read in
// seconds, starting at 10:00.
class ScriptedClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return static_cast<float>(ms / 1000.0); }
  double ms = kScriptedStartMilliseconds;
};

// `ticks` is how many race ticks have run: 0 for the field at the start.
using FrameSink =
    std::function<void(std::string_view name, const Surface& picture, const RaceState& race, int ticks)>;

// Runs the race from the drawing of the new field to the board, calling
// `frame` with each named frame's picture as it is drawn: the field at the
// start, the first running frame with the pole in the picture, the first
// frame of the final stretch, the frame that stamps the winner's time, and
// the result board. The generator is seeded with `seed` and `fields` fields
// are set up and drawn, the race running the last: 2 is what the window
// does, one field when it loads and a fresh one when Run is pressed.
void RunScriptedRace(const FrameSink& frame, std::uint64_t seed = kScriptedRaceSeed, int fields = 1);

}  // namespace trotix::testing
