// What the game's C++ asks of the page (web_main.cpp): the clock, the race
// timer, the canvas and the boxes, all kept by the page's script as
// Module.page. Texts come as UTF-8 C strings, the notice by length.
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
  trotix_page_show_listing: function (title, text) {
    Module.page.showListing(UTF8ToString(title), UTF8ToString(text));
  },
  // The notice by length, NULs and all, and how many of its characters are
  // the file's name, which it begins with.
  trotix_page_show_notice: function (notice, noticeBytes, nameBytes) {
    const decode = (from, to) => new TextDecoder().decode(HEAPU8.subarray(from, to));
    const name = decode(notice, notice + nameBytes);
    Module.page.showNotice(name + decode(notice + nameBytes, notice + noticeBytes), name.length);
  },
  trotix_page_announce: function (text) {
    Module.page.announce(UTF8ToString(text));
  },
  trotix_page_toggle_tickets: function () {
    Module.page.toggleTickets();
  },
  // Milliseconds since 1970 on the local clock, for the ledger's dates.
  trotix_page_local_ms: function () {
    return Module.page.localMs();
  },
});
