// The main window: it owns the race state, the random source, the sprites
// and the drawing surfaces, Run's enabled state and the distance bar, and its
// five handlers are the only ways into the program. The handlers are thin:
// they sequence the procedures that act on the race. Plain C++: a platform
// (the Qt window, the page, a test) turns its events into the handlers and
// carries out what the window asks of it (window_platform.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "field_file.h"
#include "phase_machine.h"
#include "race_card.h"
#include "race_state.h"
#include "random_source.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"
#include "surface.h"
#include "window_platform.h"

namespace trotix {

// What became of a horse data file the player has just chosen.
enum class FieldFileTaken {
  kRefused = 0,    // the player is told why; the field is made up at random
  kSetUpNow = 1,   // no race was running: the field is the file's from now on
  kNextRace = 2,   // a race is running: the file's field comes at the next Run
};

class frmMain final : private RaceHost, private SceneHost {
 public:
  // `draws` replaces the window's own random source, for tests that script it.
  explicit frmMain(WindowPlatform& platform, RandomSource* draws = nullptr);

  // The handlers.
  void Form_Load(std::uint64_t seed);
  void Form_Unload(std::int16_t& cancel);
  void cmdRun_Click();
  void Timer1_Timer();
  void Form_KeyUp(std::int16_t key_code, std::int16_t shift);

  // A press of the Run button: a disabled button takes no clicks.
  void PressRun();
  // The player chose a new horse data file, or none (Forget): the platform
  // now gives it. Between races the field on show becomes the one the next
  // Run races, the file's or, refused or forgotten, a random one.
  FieldFileTaken FieldFileChosen();
  // Whether the horse file chosen last waits for the next Run: a good file
  // chosen while a race runs, until that Run. A file chosen before the
  // window has loaded, or between races, never waits.
  bool FieldFileWaitsForRun() const { return field_file_waits_; }

  // Whether F7 would list the field now: before a race and on the board.
  bool ListingOffered() const;
  // The race card: the field the next Run races, the horse data file's as
  // it now reads or the random one drawn on a copy of the random source;
  // while a race runs, the field that races. Draws nothing and tells nothing.
  RaceCard Card();
  // The card a ticket is bought on: the next Run's, between races; none
  // while a race runs, when the tickets are locked on the card that races.
  std::optional<RaceCard> CardForTickets() {
    if (CardIsRacing()) return std::nullopt;
    return Card();
  }
  // Whether the card is the field racing now, rather than the next Run's.
  bool CardIsRacing() const { return timer_on_; }
  // Whether that card is the horse data file's field: while a race runs,
  // whether the race's field came from it; between races, whether the file
  // as it now reads will be the next Run's.
  bool CardFromFile();
  // The result board as lines of text, "" unless the board is showing.
  std::string BoardText() const;

  const RaceState& race() const { return race_; }
  RaceState& race() { return race_; }  // for tests
  const Surface& picMain() const { return picMain_; }
  Surface& picMain() { return picMain_; }
  const ControlsState& controls() const { return controls_; }
  bool run_enabled() const { return controls_.run_enabled; }
  bool field_from_file() const { return field_from_file_; }  // the field now in the window
  bool timer_on() const { return timer_on_; }
  bool unloaded() const { return unloaded_; }
  std::int64_t ticks() const { return ticks_; }  // ticks run since loading

 private:
  void NewRace();
  void SetUpRace(const FieldRecords* file);
  std::optional<FieldRecords> ReadFieldFile();
  // The file as the next Run will read it, told nothing: none when absent or refused.
  std::optional<FieldRecords> NextFieldFile();
  FieldFileTaken TakeFieldFile();
  void RaceTick();
  void AnnounceProgress(std::int32_t metres_before, std::int32_t phase_before);
  void DrawScene() override;    // also what each tick asks of the window
  void ShowResults() override;  // the race's last act
  void ShowFieldListing();
  void Present();

  // What the race asks of the window.
  void SetDistanceValue(std::int32_t metres) override { controls_.bar_value = metres; }
  void StopTimer() override;
  void RestoreNormalPriority() override;
  void EnableRun() override { controls_.run_enabled = true; }
  // What a drawing asks of the window.
  void DoEvents() override { platform_.DoEvents(); }
  // Every handler presents once it is done, the controls with the picture,
  // so a commit in a drawing's middle has nothing to add.
  void CommitPicture() override {}
  void SetBarColour(std::uint32_t bgr) override { controls_.bar_colour = bgr; }

  WindowPlatform& platform_;
  Pcg32Random own_random_;
  RandomSource& random_;
  RaceState race_;
  SpriteCatalogue sprites_;
  Surface picMain_;
  Surface picWork_;  // the hidden surface a frame is composed on
  SceneSurfaces surfaces_{picMain_, picWork_};
  ControlsState controls_;

  bool timer_on_ = false;
  bool in_tick_ = false;  // a tick never starts inside another
  bool loaded_ = false;
  bool unloaded_ = false;
  bool board_showing_ = false;
  bool field_from_file_ = false;
  bool field_file_waits_ = false;
  std::int64_t ticks_ = 0;
};

}  // namespace trotix
