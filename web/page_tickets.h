// The tickets beside the race in the page: the ticket desk (tickets/) with
// what the page's panel shows of it, and the ledger as the page keeps it,
// in one piece in the browser's storage. Every rule and every line is the
// desk's; the page shows them and passes the player's choices in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chart_svg.h"
#include "ticket_desk.h"

namespace trotix::web {

// "YYYY-MM-DD HH:MM:SS" of a local time given as milliseconds since
// 1970-01-01 00:00:00 on the local clock (the page adds its zone's offset).
std::string LocalDateText(double local_ms);

class PageTickets {
 public:
  // The ledger the browser kept, as its text ("" for none). "" when it was
  // taken; else the one line that says why not, and a new purse is started.
  std::string Restore(std::string_view kept);

  void ShowCard(const RaceCard& card) { desk_.ShowCard(card); }
  // The lab's chances for the card on show: the one place the page hands a
  // measurement of the card to the desk, which takes it only for the card
  // it was measured on (TicketDesk::ShowChances). True when taken; the card,
  // the tickets and the settlement then show each ticket's worth.
  bool ShowChances(const CardChances& chances) { return desk_.ShowChances(chances); }
  // The same, as the page hands the lab's figures across: `field`, the
  // field the lab raced (six speeds, six staminas, six styles), and
  // `numbers` (sim::kCardChancesNumbers of them). Taken only when the field
  // is the card's on show and the numbers can be a measurement.
  bool TakeChances(const double* field, const double* numbers);
  // Run at `date`: the tickets are locked at the odds of `raced`.
  void RaceStarted(const RaceCard& raced, const std::string& date);
  // The board at `date`: the tickets are settled and the race goes into the ledger.
  void BoardShown(BoardOrder order, const std::string& date);

  // The player's choices: "" when done, else the line that tells why not.
  // Horses by their numbers, 1 to 6; the stake as typed.
  std::string Buy(bool quinella, int first, int second, std::string_view stake);
  std::string TakeBack(int index);
  std::string Refill();

  // The card on show as text (with each ticket's worth once the chances
  // are known), "" before the first.
  std::string CardText() const { return desk_.CardShownText(); }
  // The purse after every race of the ledger, as SVG, wide or narrow.
  std::string PurseChart(sim::ChartLayout layout) const;
  // What the panel shows, as JSON: {"purse", "tickets": [lines], "settlement",
  // "message", "news", "told", "locked", "canRefill"}: the message is the
  // last refusal on show, the news the last line to say (a refusal, the
  // settlement), and "told" counts the lines said, so the page speaks each
  // once however often it asks.
  std::string StateJson() const;
  // The ledger to keep, whole. While a race runs it is kept as if the page
  // closed now: the race unsettled, its stakes back in the purse, so a page
  // shut mid-race leaves an honest record.
  std::string LedgerText() const;
  // Counts the changes to LedgerText, so the page stores it only when it changed.
  int ledger_changes() const { return ledger_changes_; }
  std::string Csv() const { return LedgerCsv(desk_.entries()); }

  const TicketDesk& desk() const { return desk_; }

 private:
  std::string Tell(std::string line);

  TicketDesk desk_;
  std::string run_date_;  // when the race under way started
  std::string message_;
  std::string news_;
  int told_ = 0;
  int ledger_changes_ = 0;
};

}  // namespace trotix::web
