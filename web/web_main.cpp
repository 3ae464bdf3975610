// The game in a page: the front end's handlers exported to the page's
// script, and the page's timer, clock and canvas imported from it
// (page_imports.js).
#include <emscripten.h>

#include <cstdint>

#include "front_end.h"

extern "C" {
double trotix_page_clock_seconds();
void trotix_page_start_timer(int interval_ms);
void trotix_page_stop_timer();
void trotix_page_present(const std::uint8_t* pixels, int width, int height, int stride);
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
  void Present(const WindowSurface& window) override {
    trotix_page_present(window.bytes(), kWindowWidth, kWindowHeight, WindowSurface::kStride);
  }
};

PageClock clock;
Page page;
FrontEnd front_end(clock, page);

}  // namespace
}  // namespace trotix::web

using trotix::web::front_end;

extern "C" {

// The seed comes as a double: the page's integers are exact up to 2^53.
EMSCRIPTEN_KEEPALIVE void trotix_load(double seed) { front_end.Form_Load(static_cast<std::uint64_t>(seed)); }
EMSCRIPTEN_KEEPALIVE void trotix_timer() { front_end.Timer1_Timer(); }
EMSCRIPTEN_KEEPALIVE void trotix_key_up(int key_code) { front_end.Form_KeyUp(static_cast<std::int16_t>(key_code)); }
EMSCRIPTEN_KEEPALIVE void trotix_click(int x, int y) { front_end.Click(x, y); }

// For the page's test hook.
EMSCRIPTEN_KEEPALIVE int trotix_phase() { return front_end.race().Phase; }
EMSCRIPTEN_KEEPALIVE double trotix_ticks() { return static_cast<double>(front_end.ticks()); }
EMSCRIPTEN_KEEPALIVE int trotix_run_enabled() { return front_end.run_enabled() ? 1 : 0; }

}
