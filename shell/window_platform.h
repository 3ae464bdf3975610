// What a platform gives the main window: its timer, its controls on screen,
// waiting events, the listing box, the process priority, the horse data
// file, the window position store and the clock. The Qt window and the page
// each carry this out; tests script it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "clock.h"
#include "field_file_reader.h"
#include "surface.h"

namespace trotix {

// The controls' state as the window shows it next to the race picture.
struct ControlsState {
  bool run_enabled = true;
  std::int32_t bar_value = 0;    // metres the leader still has to run; below 0 after the winner's finish
  std::uint32_t bar_colour = 0;  // 0x00BBGGRR
};

class WindowPlatform : public Clock {
 public:
  // Timer1: ticks every `interval_ms`, the first one interval from now.
  virtual void StartTimer(int interval_ms) = 0;
  virtual void StopTimer() = 0;
  // Show picMain and the controls as they now stand; the end of every handler.
  virtual void Present(const Surface& picture, const ControlsState& controls) = 0;
  // Let waiting window events run, here, inside the handler that is drawing.
  virtual void DoEvents() = 0;
  // The modal listing box: title, text of several lines, one OK button.
  virtual void ShowListing(std::string_view title, std::string_view text) = 0;
  // kRealtimePriorityClass or kNormalPriorityClass (priority_class.h).
  virtual void SetPriorityClass(std::uint32_t priority_class) = 0;
  // The horse data file as it now stands: absent, unreadable, or its name
  // and first bytes (up to kFieldFileReadLimit + 1 of them).
  virtual FieldFileBytes FieldFile() = 0;
  // What the player is told of the horse data file: why it was refused, or
  // nothing (empty) once one is taken.
  virtual void ShowFieldFileNotice(std::string_view notice) = 0;
  // Say a line to the player who listens rather than looks, in English
  // words: the start, the distance as the race goes, the finish, the board.
  virtual void Announce(std::string_view text) = 0;
  // The window position store.
  virtual void LoadWindowPosition() = 0;
  virtual void SaveWindowPosition() = 0;
};

}  // namespace trotix
