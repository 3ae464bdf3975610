// The browser's main window: the race state, the handlers the page calls
// and what the race and its drawing ask of a window, as frmMain has them on
// the desktop, over a picture of the whole window that the page shows. The
// page passes events in and pixels out; every decision is taken here or in
// the race code.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "clock.h"
#include "field_file.h"
#include "phase_machine.h"
#include "race_state.h"
#include "random_source.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"
#include "surface.h"
#include "window_controls.h"

namespace trotix::web {

// What the front end asks of the page around it.
class PageHost {
 public:
  virtual ~PageHost() = default;
  // Tick every `interval_ms`, the first tick one interval from now. A tick
  // never starts inside another; a late one runs once, the missed ones are
  // dropped.
  virtual void StartTimer(int interval_ms) = 0;
  virtual void StopTimer() = 0;
  // Show the window's picture as it now stands.
  virtual void Present(const Surface& window) = 0;
  // The F7 listing, in a modal box with an OK button.
  virtual void ShowFieldListing(std::string_view title, std::string_view text) = 0;
  // What the player is told of the horse data file just opened: its refusal,
  // or nothing (empty) when it was taken.
  virtual void ShowFieldFileNotice(std::string_view notice) = 0;
};

class FrontEnd final : private RaceHost, private SceneHost {
 public:
  FrontEnd(Clock& clock, PageHost& page);

  // The handlers, as the desktop window's; each ends by presenting.
  void Form_Load(std::uint64_t seed);
  void cmdRun_Click();
  void Timer1_Timer();
  void Form_KeyUp(std::int16_t key_code);
  // A click at pixel (x, y) of the window: a Run when it hits the enabled button.
  void Click(int x, int y);

  // A horse data file the player opened, dropped or had remembered: its
  // name and first bytes (up to kFieldFileReadLimit + 1), read by the
  // desktop's rules. Taken, it gives the field from the next new race on,
  // as the file beside the desktop game is read at every new race; refused,
  // the field is random. Returns whether it was taken.
  bool OpenFieldFile(std::string_view name, std::string_view first_bytes);
  void ForgetFieldFile() { field_file_.reset(); }
  // A field set up now, from the file if one is open: what the next Run would race.
  void SetUpNow() { NewRace(); Present(); }

  const RaceState& race() const { return race_; }
  const Surface& picture() const { return picMain_; }
  bool run_enabled() const { return run_enabled_; }
  int distance() const { return bar_.value; }  // the distance bar's value, metres
  bool field_from_file() const { return field_from_file_; }  // the field in the window
  std::int64_t ticks() const { return ticks_; }  // ticks run since loading

 private:
  void NewRace();
  void Present();

  // What the race asks of the window.
  void SetDistanceValue(std::int32_t metres) override { bar_.value = metres; }
  void DrawScene() override;
  void StopTimer() override { page_.StopTimer(); }
  void RestoreNormalPriority() override {}  // a page has no process priority
  void EnableRun() override { run_enabled_ = true; }
  void ShowResults() override;
  // What a drawing asks of the window.
  void DoEvents() override;
  // Every handler presents once it is done, the bar and the button with the
  // picture, so a commit in its middle has nothing to add.
  void CommitPicture() override {}
  void SetBarColour(std::uint32_t bgr) override { bar_.bgr = bgr; }

  Clock& clock_;
  PageHost& page_;
  RaceState race_;
  Pcg32Random random_;
  SpriteCatalogue sprites_;
  Surface picMain_;
  Surface picWork_;  // the hidden surface a frame is composed on
  SceneSurfaces surfaces_{picMain_, picWork_};
  Surface window_;
  DistanceBarState bar_;
  std::optional<FieldRecords> field_file_;
  bool field_from_file_ = false;
  bool run_enabled_ = true;
  bool in_tick_ = false;  // a tick never starts inside another
  std::int64_t ticks_ = 0;
};

}  // namespace trotix::web
