#include "ticket_desk.h"

namespace trotix {

TicketDesk::TicketDesk(const LedgerRead& kept) : book_(kept.purse, kept.refills), entries_(kept.entries) {}

void TicketDesk::ShowCard(const RaceCard& card) {
  if (book_.locked()) return;
  card_ = card;
  has_card_ = true;
}

void TicketDesk::Run(const RaceCard& raced) {
  card_ = raced;
  has_card_ = true;
  book_.Lock(raced);
  saw_at_run_ = saw_chances_;
  saw_chances_ = false;
}

std::optional<LedgerEntry> TicketDesk::Board(BoardOrder order, const std::string& date) {
  if (!book_.locked()) return std::nullopt;
  const bool had_tickets = !book_.tickets().empty();
  book_.Settle(order);
  if (!had_tickets) return std::nullopt;
  entries_.push_back(
      MakeLedgerEntry(date, card_, book_.settled(), order, book_.purse(), book_.refills(), saw_at_run_));
  return entries_.back();
}

std::optional<LedgerEntry> TicketDesk::Close(const std::string& date) {
  if (!book_.locked() || book_.tickets().empty()) return std::nullopt;
  const std::vector<Ticket> left = book_.Abandon();
  entries_.push_back(MakeLedgerEntry(date, card_, left, std::nullopt, book_.purse(), book_.refills(), saw_at_run_));
  return entries_.back();
}

}  // namespace trotix
