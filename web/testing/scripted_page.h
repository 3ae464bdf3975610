// A page for the front end off the browser, for tests and the native
// tools the browser tests are held against: it keeps the timer's interval,
// counts the tickets' toggles and notes what the page would be told and
// would say, at a fixed local date.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "front_end.h"

namespace trotix::testing {

class ScriptedPage final : public web::PageHost {
 public:
  void StartTimer(int interval_ms) override { interval = interval_ms; }
  void StopTimer() override { interval = 0; }
  void Present(const Surface&) override {}
  void ShowFieldListing(std::string_view, std::string_view) override {}
  void ShowFieldFileNotice(std::string_view notice, std::size_t name_bytes) override {
    notices.emplace_back(notice);
    names.emplace_back(notice.substr(0, name_bytes));
  }
  void Announce(std::string_view text) override { announcements.emplace_back(text); }
  void ToggleTickets() override { ++toggles; }
  std::string LocalDate() override { return date; }

  std::string date = "2026-12-10 10:00:00";
  int interval = 0;
  int toggles = 0;
  std::vector<std::string> announcements;
  std::vector<std::string> notices;
  std::vector<std::string> names;  // the part of each notice the page is told is the file's name
};

}  // namespace trotix::testing
