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
#include "ticket_worth.h"

namespace trotix {

class TicketDesk {
 public:
  // Starts from what the ledger kept; a fresh ledger is a new purse.
  explicit TicketDesk(const LedgerRead& kept = {});

  // The card for the next Run, shown until Run; ignored while locked. A
  // different card drops the chances of the one before.
  void ShowCard(const RaceCard& card);
  // The lab's chances for the card on show, taken between races and only
  // when measured on that very card (the same horses at the same odds): a
  // late answer for a card gone is refused. Taken, they are shown with the
  // card and the tickets, and the race run with them is marked in the
  // ledger as run with the chances seen. True when taken.
  bool ShowChances(const CardChances& chances);
  // The player looked at the lab's chances for the card on show somewhere
  // the desk does not hold them.
  void SawChances() { saw_chances_ = true; }
  const std::optional<CardChances>& chances() const { return chances_; }

  // What the front ends show. The card's text: CardText, or CardWorthText
  // with the chances; "" without a card.
  std::string CardShownText() const;
  // What ticket `index` of book().tickets() is worth at the odds it is
  // bought (or locked) at: nothing without the chances or such a ticket.
  std::optional<Worth> WorthOfTicket(std::size_t index) const;
  // The ticket list, one line a ticket, with its worth when known.
  std::vector<std::string> TicketLines() const;
  // The last board's settlement (SettlementText), until the next Run; "" when
  // that race had no tickets.
  const std::string& settlement() const { return settlement_; }

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
  std::optional<CardChances> chances_;
  std::string settlement_;
  std::vector<LedgerEntry> entries_;
};

}  // namespace trotix
