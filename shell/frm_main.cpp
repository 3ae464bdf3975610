#include "frm_main.h"

#include "clock.h"
#include "field_setup.h"
#include "finish_stamp.h"
#include "main_window_layout.h"
#include "priority_class.h"
#include "result_board.h"
#include "spoken_board.h"
#include "spoken_text.h"
#include "texts.h"
#include "track.h"
#include "twips.h"

namespace trotix {

frmMain::frmMain(WindowPlatform& platform, RandomSource* draws)
    : platform_(platform),
      random_(draws != nullptr ? *draws : own_random_),
      picMain_(TwipsToPixels(kPicMain.width), TwipsToPixels(kPicMain.height)) {
  controls_.bar_value = static_cast<std::int32_t>(kRaceMetres);
  controls_.bar_colour = kBarBlue;
}

// ---- The handlers ----

void frmMain::Form_Load(std::uint64_t seed) {
  random_.Seed(seed);
  platform_.LoadWindowPosition();
  loaded_ = true;
  NewRace();
  Present();
}

void frmMain::Form_Unload(std::int16_t& /*cancel: left as it is, so unloading always proceeds*/) {
  platform_.SaveWindowPosition();
  // The window is gone: a race under way is abandoned, no tick comes again.
  unloaded_ = true;
  StopTimer();
}

void frmMain::cmdRun_Click() {
  platform_.SetPriorityClass(kRealtimePriorityClass);
  field_file_waits_ = false;  // this Run reads the file
  NewRace();
  if (unloaded_) return;  // closed while the new field was drawn: no race starts
  controls_.run_enabled = false;
  timer_on_ = true;
  platform_.StartTimer(kTickMilliseconds);
  race_.StartTime = platform_.SecondsSinceMidnight();
  platform_.Announce(SpokenStart());
  platform_.RaceStarted(race_);
  Present();
}

void frmMain::Timer1_Timer() {
  if (in_tick_ || unloaded_ || !timer_on_) return;
  in_tick_ = true;
  ++ticks_;
  RaceTick();
  in_tick_ = false;
  Present();
}

void frmMain::Form_KeyUp(std::int16_t key_code, std::int16_t /*shift: modifiers do not matter*/) {
  if (key_code == kVkF7 && ListingOffered()) {
    ShowFieldListing();
    return;
  }
  if (key_code == kVkF6) {
    platform_.ToggleTickets();
    return;
  }
  if (key_code == kVkF5) PressRun();
}

void frmMain::PressRun() {
  if (controls_.run_enabled && !unloaded_) cmdRun_Click();
}

FieldFileTaken frmMain::FieldFileChosen() {
  const FieldFileTaken taken = TakeFieldFile();
  // Only a good file chosen while a race runs waits; any later choice, or
  // the next Run, ends the wait.
  field_file_waits_ = taken == FieldFileTaken::kNextRace;
  return taken;
}

FieldFileTaken frmMain::TakeFieldFile() {
  const std::optional<FieldRecords> file = ReadFieldFile();
  if (file) platform_.ShowFieldFileNotice({});
  if (loaded_ && !timer_on_ && !unloaded_) {
    // No race runs: the chosen field is set up and shown at once.
    SetUpRace(file ? &*file : nullptr);
    Present();
    return file ? FieldFileTaken::kSetUpNow : FieldFileTaken::kRefused;
  }
  if (!file) return FieldFileTaken::kRefused;
  // Before the window has loaded, loading sets the file's field up.
  return loaded_ ? FieldFileTaken::kNextRace : FieldFileTaken::kSetUpNow;
}

bool frmMain::ListingOffered() const { return race_.Phase == kPhaseReady || race_.Phase == kPhaseOver; }

std::optional<FieldRecords> frmMain::NextFieldFile() {
  const FieldFileBytes bytes = platform_.FieldFile();
  if (bytes.status != FieldFileStatus::kRead) return std::nullopt;
  const FieldFileParse parsed = ParseFieldFileStart(bytes.first_bytes);
  if (!parsed.ok) return std::nullopt;
  return parsed.horses;
}

RaceCard frmMain::Card() {
  if (timer_on_) return CardOf(race_);
  // The file as NewRace will read it; a refused one races a random field.
  const std::optional<FieldRecords> file = NextFieldFile();
  return NextCard(random_, file ? &*file : nullptr);
}

bool frmMain::CardFromFile() { return timer_on_ ? field_from_file_ : NextFieldFile().has_value(); }

std::string frmMain::BoardText() const { return board_showing_ ? ResultBoardText(race_) : std::string(); }

// ---- The procedures ----

// The horse data file as the platform gives it now, read by the game's
// rules; a refusal is told and the field is made up at random.
std::optional<FieldRecords> frmMain::ReadFieldFile() {
  const FieldFileBytes file = platform_.FieldFile();
  if (file.status == FieldFileStatus::kAbsent) return std::nullopt;
  std::string refusal = file.message;
  if (file.status == FieldFileStatus::kRead) {
    const FieldFileParse parsed = ParseFieldFileStart(file.first_bytes);
    if (parsed.ok) return parsed.horses;
    refusal = FieldFileRefusal(file.name, parsed);
  }
  platform_.ShowFieldFileNotice(refusal + "; " + std::string(kRandomFieldNote));
  return std::nullopt;
}

void frmMain::NewRace() {
  const std::optional<FieldRecords> file = ReadFieldFile();
  SetUpRace(file ? &*file : nullptr);
}

void frmMain::SetUpRace(const FieldRecords* file) {
  SetUpField(race_, random_, file);
  field_from_file_ = file != nullptr;
  board_showing_ = false;
  controls_.bar_colour = kBarBlue;
  DrawScene();
}

void frmMain::RaceTick() {
  const std::int32_t metres_before = controls_.bar_value;
  const std::int32_t phase_before = race_.Phase;
  trotix::RaceTick(race_, random_, *this);
  AnnounceProgress(metres_before, phase_before);
}

// What a listener hears as the race goes: the distance at each mark the
// leader passes, with the leader's number, and the winner at the line.
void frmMain::AnnounceProgress(std::int32_t metres_before, std::int32_t phase_before) {
  for (const std::int32_t mark : kSpokenDistances) {
    if (metres_before > mark && controls_.bar_value <= mark) {
      platform_.Announce(SpokenDistance(mark, LeaderIndex(race_)));
    }
  }
  if (phase_before == kPhaseFinalStretch && race_.Phase == kPhaseRunOut) {
    platform_.Announce(SpokenFinish(race_.WinnerIndex, ElapsedSeconds(race_.StartTime, race_.FinishTime)));
  }
}

void frmMain::DrawScene() { trotix::DrawScene(race_, sprites_, surfaces_, platform_, *this); }

void frmMain::ShowResults() {
  trotix::ShowResults(race_, sprites_, picMain_);
  board_showing_ = true;
  platform_.Announce(SpokenBoard(race_));
  platform_.BoardShown(race_);
}

void frmMain::ShowFieldListing() { platform_.ShowListing(kFieldListingTitle, FieldListingText(race_)); }

void frmMain::StopTimer() {
  timer_on_ = false;
  platform_.StopTimer();
}

void frmMain::RestoreNormalPriority() { platform_.SetPriorityClass(kNormalPriorityClass); }

void frmMain::Present() { platform_.Present(picMain_, controls_); }

}  // namespace trotix
