// What the game's C++ asks of the page (web_main.cpp): the clock, the race
// timer and the canvas, all kept by the page's script as Module.page.
mergeInto(LibraryManager.library, {
  trotix_page_clock_seconds: function () {
    return Module.page.clockSeconds();
  },
  trotix_page_start_timer: function (interval_ms) {
    Module.page.startTimer(interval_ms);
  },
  trotix_page_stop_timer: function () {
    Module.page.stopTimer();
  },
  trotix_page_present: function (pixels, width, height, stride) {
    Module.page.present(HEAPU8, pixels, width, height, stride);
  },
});
