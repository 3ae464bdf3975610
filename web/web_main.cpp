// The game in a page: the front end's handlers exported to the page's
// script, and the page's timer, clock, canvas and boxes imported from it
// (page_imports.js).
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "field_file.h"
#include "front_end.h"
#include "result_board.h"
#include "texts.h"

extern "C" {
double trotix_page_clock_seconds();
void trotix_page_start_timer(int interval_ms);
void trotix_page_stop_timer();
void trotix_page_present(const trotix::Pixel* pixels, int width, int height, int stride_bytes);
void trotix_page_show_listing(const char* title, const char* text);
void trotix_page_show_notice(const char* notice);
}

namespace trotix::web {
namespace {

class PageClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return static_cast<float>(trotix_page_clock_seconds()); }
};

class Page final : public PageHost {
 public:
  void StartTimer(int interval_ms) override { trotix_page_start_timer(interval_ms); }
  void StopTimer() override { trotix_page_stop_timer(); }
  void Present(const Surface& window) override {
    trotix_page_present(window.data(), window.width(), window.height(),
                        window.stride() * static_cast<int>(sizeof(Pixel)));
  }
  void ShowFieldListing(std::string_view title, std::string_view text) override {
    trotix_page_show_listing(std::string(title).c_str(), std::string(text).c_str());
  }
  void ShowFieldFileNotice(std::string_view notice) override { trotix_page_show_notice(std::string(notice).c_str()); }
};

PageClock clock;
Page page;
FrontEnd front_end(clock, page);

// A horse data file on its way in: its name, then its first bytes.
std::string incoming;
bool loaded = false;  // Form_Load has run

// The board's pieces, a line for each row of the picture, in its words.
std::string BoardText() {
  std::string text;
  double row = -1;
  for (const trotix::BoardText& piece : trotix::ResultBoardTexts(front_end.race())) {
    if (!text.empty()) text += piece.y == row ? ' ' : '\n';
    row = piece.y;
    const std::size_t end = piece.text.find_last_not_of(' ');
    text.append(piece.text, 0, end == std::string::npos ? 0 : end + 1);
  }
  return text;
}

}  // namespace
}  // namespace trotix::web

using trotix::web::front_end;
using trotix::web::incoming;
using trotix::web::loaded;
using trotix::web::page;

extern "C" {

// The seed comes as a double: the page's integers are exact up to 2^53.
EMSCRIPTEN_KEEPALIVE void trotix_load(double seed) {
  front_end.Form_Load(static_cast<std::uint64_t>(seed));
  loaded = true;
}
EMSCRIPTEN_KEEPALIVE void trotix_timer() { front_end.Timer1_Timer(); }
EMSCRIPTEN_KEEPALIVE void trotix_key_up(int key_code) { front_end.Form_KeyUp(static_cast<std::int16_t>(key_code)); }
EMSCRIPTEN_KEEPALIVE void trotix_click(int x, int y) { front_end.Click(x, y); }
EMSCRIPTEN_KEEPALIVE void trotix_run() {
  if (front_end.run_enabled()) front_end.cmdRun_Click();
}
EMSCRIPTEN_KEEPALIVE int trotix_listing_offered() {
  const int phase = front_end.race().Phase;
  return phase == trotix::kPhaseReady || phase == trotix::kPhaseOver ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int trotix_distance() { return front_end.distance(); }
// The result board as text lines, "" unless the board is showing.
EMSCRIPTEN_KEEPALIVE const char* trotix_board_text() {
  static std::string text;
  text = front_end.race().Phase == trotix::kPhaseOver ? trotix::web::BoardText() : std::string();
  return text.c_str();
}

// A horse data file: the page reads at most this many of its first bytes,
// asks for room for the name and the bytes, writes them there and opens it.
// Opening says whether the file was taken: 0 refused, 1 taken and set up
// now, 2 taken for the next Run. With no race running, the field that the
// next race runs, the file's or a random one, is set up at once, and so
// after Forget.
EMSCRIPTEN_KEEPALIVE int trotix_field_file_bytes() { return static_cast<int>(trotix::kFieldFileReadLimit + 1); }
EMSCRIPTEN_KEEPALIVE char* trotix_field_file_room(int name_bytes, int content_bytes) {
  incoming.assign(static_cast<std::size_t>(name_bytes) + static_cast<std::size_t>(content_bytes), '\0');
  return incoming.data();
}
EMSCRIPTEN_KEEPALIVE int trotix_open_field_file(int name_bytes) {
  const std::string_view file = incoming;
  const auto split = static_cast<std::size_t>(name_bytes);
  const bool taken = front_end.OpenFieldFile(file.substr(0, split), file.substr(split));
  incoming = std::string();
  if (!loaded) return taken ? 1 : 0;  // Form_Load sets it up
  if (!front_end.run_enabled()) return taken ? 2 : 0;
  // No race runs: the field on show, and in F7, is the next race's.
  front_end.SetUpNow();
  return taken ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void trotix_forget_field_file() {
  front_end.ForgetFieldFile();
  if (loaded && front_end.run_enabled()) front_end.SetUpNow();
}
// A folder given as the horse data file (its name in the room), refused as
// the desktop's reader refuses one.
EMSCRIPTEN_KEEPALIVE void trotix_refuse_field_folder(int name_bytes) {
  const std::string name = incoming.substr(0, static_cast<std::size_t>(name_bytes));
  incoming = std::string();
  trotix_forget_field_file();
  page.ShowFieldFileNotice(trotix::FieldFileUnreadable(name, trotix::kFieldFileIsAFolder) + "; " +
                           std::string(trotix::kRandomFieldNote));
}

// The field now in the window, the one F7 lists, for the page's lab: 1 when
// it came from the horse file, 0 when it was drawn at random, then its six
// speeds, six staminas and six styles.
EMSCRIPTEN_KEEPALIVE const double* trotix_field() {
  static double field[1 + 3 * trotix::kHorseCount];
  field[0] = front_end.field_from_file() ? 1.0 : 0.0;
  for (std::size_t h = 0; h < trotix::kHorseCount; ++h) {
    const trotix::Horse& horse = front_end.race().Horses[h];
    field[1 + h] = horse.Speed;
    field[1 + trotix::kHorseCount + h] = horse.Stamina;
    field[1 + 2 * trotix::kHorseCount + h] = horse.Style;
  }
  return field;
}

// For the page's test hook.
EMSCRIPTEN_KEEPALIVE int trotix_phase() { return front_end.race().Phase; }
EMSCRIPTEN_KEEPALIVE double trotix_ticks() { return static_cast<double>(front_end.ticks()); }
EMSCRIPTEN_KEEPALIVE int trotix_run_enabled() { return front_end.run_enabled() ? 1 : 0; }

}
