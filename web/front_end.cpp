#include "front_end.h"

#include <string>

#include "blit.h"
#include "field_setup.h"
#include "main_window.h"
#include "result_board.h"
#include "texts.h"
#include "track.h"
#include "twips.h"

namespace trotix::web {

FrontEnd::FrontEnd(Clock& clock, PageHost& page)
    : clock_(clock),
      page_(page),
      picMain_(TwipsToPixels(kPicMain.width), TwipsToPixels(kPicMain.height)),
      window_(NewWindow()) {}

void FrontEnd::Form_Load(std::uint64_t seed) {
  random_.Seed(seed);
  NewRace();
  Present();
}

void FrontEnd::cmdRun_Click() {
  NewRace();
  run_enabled_ = false;
  page_.StartTimer(kTickMilliseconds);
  race_.StartTime = clock_.SecondsSinceMidnight();
  Present();
}

void FrontEnd::Timer1_Timer() {
  if (in_tick_) return;
  in_tick_ = true;
  ++ticks_;
  RaceTick(race_, random_, *this);
  in_tick_ = false;
  Present();
}

void FrontEnd::Form_KeyUp(std::int16_t key_code) {
  if (key_code == kVkF7 && (race_.Phase == kPhaseReady || race_.Phase == kPhaseOver)) {
    page_.ShowFieldListing(kFieldListingTitle, FieldListingText(race_));
    return;
  }
  if (key_code == kVkF5 && run_enabled_) cmdRun_Click();
}

void FrontEnd::Click(int x, int y) {
  if (Contains(PixelsOf(kCmdRun), x, y) && run_enabled_) cmdRun_Click();
}

bool FrontEnd::OpenFieldFile(std::string_view name, std::string_view first_bytes) {
  const FieldFileParse parsed = ParseFieldFileStart(first_bytes.substr(0, kFieldFileReadLimit + 1));
  if (parsed.ok) {
    field_file_ = parsed.horses;
    page_.ShowFieldFileNotice({});
    return true;
  }
  field_file_.reset();
  page_.ShowFieldFileNotice(FieldFileRefusal(name, parsed) + "; " + std::string(kRandomFieldNote));
  return false;
}

void FrontEnd::NewRace() {
  SetUpField(race_, random_, field_file_ ? &*field_file_ : nullptr);
  field_from_file_ = field_file_.has_value();
  bar_.bgr = kBarBlue;
  DrawScene();
}

void FrontEnd::DrawScene() { trotix::DrawScene(race_, sprites_, surfaces_, clock_, *this); }

void FrontEnd::ShowResults() { trotix::ShowResults(race_, sprites_, picMain_); }

// A page cannot run waiting events inside a handler: the browser hands it
// the next event only once this one has returned. So a drawing runs whole,
// and what waited (a key, a click) comes after it.
void FrontEnd::DoEvents() {}

void FrontEnd::Present() {
  const PixelBox pic = PixelsOf(kPicMain);
  BitBlt(window_, pic.left, pic.top, picMain_.width(), picMain_.height(), picMain_, RasterOp::kSrcCopy);
  DrawDistanceBar(window_, bar_);
  DrawRunButton(window_, run_enabled_);
  page_.Present(window_);
}

}  // namespace trotix::web
