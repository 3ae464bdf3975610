// A platform for driving the main window in tests and tools: the clock
// reads what the test sets, the timer and the boxes only take notes, and an
// event the test queues runs at the next point where a drawing lets waiting
// events run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scripted_clock.h"
#include "window_platform.h"

namespace trotix::testing {

class ScriptedPlatform final : public WindowPlatform {
 public:
  float SecondsSinceMidnight() override { return clock.SecondsSinceMidnight(); }
  void StartTimer(int interval_ms) override { interval = interval_ms; }
  void StopTimer() override { interval = 0; }
  void Present(const Surface& picture, const ControlsState& controls) override {
    ++presents;
    shown = controls;
    if (on_present) on_present(picture, controls);
  }
  void DoEvents() override {
    if (!waiting) return;
    const std::function<void()> event = std::move(waiting);
    waiting = nullptr;
    event();
  }
  void ShowListing(std::string_view title, std::string_view text) override {
    listing_title.assign(title);
    listings.emplace_back(text);
  }
  void SetPriorityClass(std::uint32_t priority_class) override { priority_calls.push_back(priority_class); }
  FieldFileBytes FieldFile() override { return field_file; }
  void ShowFieldFileNotice(std::string_view notice) override { notices.emplace_back(notice); }
  void Announce(std::string_view text) override { announcements.emplace_back(text); }
  void LoadWindowPosition() override { ++position_loads; }
  void SaveWindowPosition() override { ++position_saves; }

  ScriptedClock clock;
  int interval = 0;  // the timer's interval while it runs, else 0
  int presents = 0;
  ControlsState shown;  // as last presented
  std::function<void(const Surface&, const ControlsState&)> on_present;
  std::function<void()> waiting;  // an event waiting to be handled
  std::string listing_title;
  std::vector<std::string> listings;
  std::vector<std::uint32_t> priority_calls;
  FieldFileBytes field_file;  // absent unless a test puts one
  std::vector<std::string> notices;
  std::vector<std::string> announcements;
  int position_loads = 0;
  int position_saves = 0;
};

}  // namespace trotix::testing
