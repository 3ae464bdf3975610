#include "ticket_desk.h"

namespace trotix {

TicketDesk::TicketDesk(const LedgerRead& kept) : book_(kept.purse, kept.refills), entries_(kept.entries) {}

void TicketDesk::ShowCard(const RaceCard& card) {
  if (book_.locked()) return;
  if (!has_card_ || !SameCard(card, card_)) {
    chances_.reset();
    saw_chances_ = false;
  }
  card_ = card;
  has_card_ = true;
}

bool TicketDesk::ShowChances(const CardChances& chances) {
  if (book_.locked() || !has_card_ || !SameCard(chances.card, card_)) return false;
  chances_ = chances;
  return true;
}

void TicketDesk::Run(const RaceCard& raced) {
  if (chances_ && !SameCard(chances_->card, raced)) chances_.reset();
  card_ = raced;
  has_card_ = true;
  book_.Lock(raced);
  saw_at_run_ = saw_chances_ || chances_.has_value();
  saw_chances_ = false;
  settlement_.clear();
}

std::string TicketDesk::CardShownText() const {
  if (!has_card_) return {};
  return chances_ ? CardWorthText(*chances_) : CardText(card_);
}

std::optional<Worth> TicketDesk::WorthOfTicket(std::size_t index) const {
  if (!chances_ || index >= book_.tickets().size()) return std::nullopt;
  const Ticket& ticket = book_.tickets()[index];
  return WorthOf(ticket, ticket.odds_tenths > 0 ? ticket.odds_tenths : OddsTenthsOn(card_, ticket), *chances_);
}

std::vector<std::string> TicketDesk::TicketLines() const {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < book_.tickets().size(); ++i) {
    lines.push_back(TicketWorthLineText(book_.tickets()[i], false, WorthOfTicket(i)));
  }
  return lines;
}

std::optional<LedgerEntry> TicketDesk::Board(BoardOrder order, const std::string& date) {
  if (!book_.locked()) return std::nullopt;
  const bool had_tickets = !book_.tickets().empty();
  book_.Settle(order);
  if (!had_tickets) return std::nullopt;
  settlement_ = SettlementText(order, book_.settled(), chances_ ? &*chances_ : nullptr);
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
