// The tickets beside the race, for one front end: the card on show, the
// purse and its tickets, and the ledger, moved on by the race's events. A
// front end shows what it holds and passes the player's choices in; what it
// must keep comes back as ledger lines and settings to store.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ledger.h"
#include "race_card.h"
#include "ticket_book.h"

namespace trotix {

class TicketDesk {
 public:
  // Starts from what the ledger kept; a fresh ledger is a new purse.
  explicit TicketDesk(const LedgerRead& kept = {});

  // The card for the next Run, shown until Run; ignored while locked.
  void ShowCard(const RaceCard& card);
  // The player looked at the lab's chances for the card on show.
  void SawChances() { saw_chances_ = true; }

  TicketBook& book() { return book_; }
  const TicketBook& book() const { return book_; }
  const RaceCard& card() const { return card_; }
  bool has_card() const { return has_card_; }
  const std::vector<LedgerEntry>& entries() const { return entries_; }

  // Run: the tickets are locked at the odds of `raced`, which becomes the card.
  void Run(const RaceCard& raced);
  // The board: the tickets are settled; the race's ledger line when it had
  // tickets, else nothing.
  std::optional<LedgerEntry> Board(BoardOrder order, const std::string& date);
  // The game closes: a race under way leaves its tickets unsettled in the
  // ledger and their stakes back in the purse.
  std::optional<LedgerEntry> Close(const std::string& date);
  // The purse as it is kept between sessions: tickets bought but not yet
  // locked are still the player's money.
  std::int64_t KeptPurse() const { return book_.purse() + (book_.locked() ? 0 : book_.staked()); }

 private:
  TicketBook book_;
  RaceCard card_{};
  bool has_card_ = false;
  bool saw_chances_ = false;
  bool saw_at_run_ = false;
  std::vector<LedgerEntry> entries_;
};

}  // namespace trotix
