// One race, always the same: the main window loaded with a fixed seed, Run
// pressed, and a clock that reads 200 ms further at every tick, on a scripted
// platform. Named frames are handed out as they are shown, so tests and the
// frame-dump tool see the same pictures. The clock keeps whole milliseconds
// and is read in seconds, as the page's scripted clock is, so the browser
// can be stepped to the same readings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frm_main.h"
#include "race_state.h"
#include "scripted_clock.h"
#include "surface.h"

namespace trotix::testing {

inline constexpr std::uint64_t kScriptedRaceSeed = 20261209;

// The frames a race is checked by, in the order they come.
inline constexpr std::string_view kScriptedFrames[] = {"start", "running", "final_stretch", "finish_stamp",
                                                      "board"};

// `ticks` is how many race ticks have run: 0 for the field at the start.
using FrameSink =
    std::function<void(std::string_view name, const Surface& picture, const RaceState& race, int ticks)>;
// The window after each of its handlers: loading, Run, every tick.
using StepSink = std::function<void(const frmMain& window)>;

// Runs one race on a loaded window, as every frame dump does: F5, then a
// tick whenever the scripted clock has moved on by the timer's interval,
// until the timer stops. `interval` is the platform's note of the timer's
// interval, 0 while it is stopped. `step` sees the window after F5 and after
// every tick. Says whether the race ended within kTickLimit ticks.
bool DriveRace(frmMain& window, ScriptedClock& clock, const int& interval, const StepSink& step);

// Runs the race from loading to the board, calling `frame` with each named
// frame's picture: the field at the start, the first running frame with the
// pole in the picture, the first frame of the final stretch, the frame that
// stamps the winner's time, and the result board. `fields` 2 is what the
// window does: one field when it loads and a fresh one when Run is pressed.
// With 1, the race runs the field drawn at loading: the random source is
// seeded afresh before Run, which then draws that field again.
// Returns what the window announced, in order.
std::vector<std::string> RunScriptedRace(const FrameSink& frame, std::uint64_t seed = kScriptedRaceSeed,
                                         int fields = 1, const StepSink& step = {});

}  // namespace trotix::testing
