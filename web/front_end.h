// The page's adapter to the main window (shell/frm_main.h): it turns the
// page's events into the window's handlers and carries out what the window
// asks, over a picture of the whole window that the page shows. Every
// decision is the main window's or the race code's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clock.h"
#include "frm_main.h"
#include "page_tickets.h"
#include "surface.h"
#include "window_controls.h"
#include "window_platform.h"

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
  // or nothing (empty) when it was taken. The first `name_bytes` bytes of the
  // notice are the file's name as the page gave it (none: 0), for the page to
  // set apart, or to show as it has it: a name may hold any character, a NUL
  // or a right-to-left override included.
  virtual void ShowFieldFileNotice(std::string_view notice, std::size_t name_bytes) = 0;
  // A line for the page's live region, in English words.
  virtual void Announce(std::string_view text) = 0;
  // F6: the tickets' panel opens, or closes when open.
  virtual void ToggleTickets() = 0;
  // The local date and time now, "YYYY-MM-DD HH:MM:SS" (LocalDateText).
  virtual std::string LocalDate() = 0;
};

class FrontEnd final : private WindowPlatform {
 public:
  FrontEnd(Clock& clock, PageHost& page);

  frmMain& form() { return form_; }
  const frmMain& form() const { return form_; }

  // A click at pixel (x, y) of the window: a press of Run when it hits the button.
  void Click(int x, int y);

  // A horse data file the player opened, dropped or had remembered: its
  // name and first bytes, as many as the page hands in (kFieldFileReadLimit
  // + 1 of them tell a file that goes on). A refused file is not kept.
  FieldFileTaken OpenFieldFile(std::string_view name, std::string_view first_bytes);
  // A folder given as the horse data file: refused as the desktop's reader
  // refuses one.
  void RefuseFieldFolder(std::string_view name);
  // Forget: no horse file from now on.
  void ForgetFieldFile();
  // Whether a horse file is kept: one taken, not refused nor forgotten since.
  bool HoldsFieldFile() const { return field_file_.has_value(); }

  // The tickets beside the race; their card follows the field the next Run races.
  PageTickets& tickets() { return tickets_; }
  // The ledger the browser kept, taken as RestoreTickets says (PageTickets::Restore).
  std::string RestoreTickets(std::string_view kept);

 private:
  // What the main window asks of the page.
  float SecondsSinceMidnight() override { return clock_.SecondsSinceMidnight(); }
  void StartTimer(int interval_ms) override { page_.StartTimer(interval_ms); }
  void StopTimer() override { page_.StopTimer(); }
  void Present(const Surface& picture, const ControlsState& controls) override;
  // A page cannot run waiting events inside a handler: the browser hands it
  // the next event only once this one has returned. So a drawing runs whole,
  // and what waited (a key, a click) comes after it.
  void DoEvents() override {}
  void ShowListing(std::string_view title, std::string_view text) override { page_.ShowFieldListing(title, text); }
  void SetPriorityClass(std::uint32_t) override {}  // a page has no process priority
  FieldFileBytes FieldFile() override;
  void ShowFieldFileNotice(std::string_view notice) override;
  void Announce(std::string_view text) override { page_.Announce(text); }
  // A page cannot place the browser's window: nothing is stored.
  void LoadWindowPosition() override {}
  void SaveWindowPosition() override {}
  void ToggleTickets() override;
  void RaceStarted(const RaceState& race) override;
  void BoardShown(const RaceState& race) override;
  // Between races the tickets show the card of the field the next Run races.
  void ShowNextCard();

  // The file the page now gives, handed to the main window; kept unless refused.
  FieldFileTaken Choose(FieldFileBytes file);

  Clock& clock_;
  PageHost& page_;
  Surface window_;
  std::optional<FieldFileBytes> field_file_;
  PageTickets tickets_;
  frmMain form_{*this};
};

}  // namespace trotix::web
