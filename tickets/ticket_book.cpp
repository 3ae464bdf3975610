#include "ticket_book.h"

#include <algorithm>

#include "texts.h"

namespace trotix {

namespace {

bool IsHorse(int index) { return index >= 0 && index < static_cast<int>(kHorseCount); }

std::int64_t AddCapped(std::int64_t a, std::int64_t b) { return std::min(kPurseCeiling, a + b); }

}  // namespace

std::int64_t OddsTenthsOn(const RaceCard& card, const Ticket& ticket) {
  const auto a = static_cast<std::size_t>(ticket.first);
  if (ticket.kind == TicketKind::kWin) return PostedTenths(card.horses[a].WinOdds);
  return PostedTenths(card.quinella[a][static_cast<std::size_t>(ticket.second)]);
}

BoardOrder BoardOrderOf(const RaceState& race) {
  return {race.FinishOrder[0].HorseIndex, race.FinishOrder[1].HorseIndex};
}

std::int64_t Payout(const Ticket& ticket, BoardOrder order) {
  bool wins = false;
  if (ticket.kind == TicketKind::kWin) {
    wins = ticket.first == order.first;
  } else {
    wins = std::min(order.first, order.second) == ticket.first &&
           std::max(order.first, order.second) == ticket.second;
  }
  if (!wins) return 0;
  // Both at most kPurseCeiling = 10^15: stake / 100 x tenths x 10 stays
  // inside 64 bits only while the product is checked.
  const std::int64_t hundreds = ticket.stake / kStakeStep;
  std::int64_t paid = 0;
  if (__builtin_mul_overflow(hundreds, ticket.odds_tenths * 10, &paid)) return kPurseCeiling;
  return std::min(paid, kPurseCeiling);
}

std::string TicketName(const Ticket& ticket) {
  if (ticket.kind == TicketKind::kWin) return std::string(kWinName) + HorseNumberText(ticket.first);
  return std::string(kQuinellaName) + " " + std::to_string(ticket.first + 1) + "-" + std::to_string(ticket.second + 1);
}

std::string TicketLineText(const Ticket& ticket, bool settled) {
  std::string line = TicketName(ticket) + " " + std::to_string(ticket.stake);
  if (ticket.odds_tenths > 0) {
    line += " x" + std::to_string(ticket.odds_tenths / 10) + "." + std::to_string(ticket.odds_tenths % 10);
  }
  if (settled) line += " -> " + std::to_string(ticket.payout);
  return line;
}

std::string PurseText(std::int64_t purse, int refills) {
  std::string text = "Purse " + std::to_string(purse);
  if (refills == 1) text += ", refilled once";
  if (refills > 1) text += ", refilled " + std::to_string(refills) + " times";
  return text;
}

std::string ReadStake(std::string_view text, std::int64_t purse, std::int64_t& stake) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return "a stake must be a whole number, in steps of 100";
  }
  if (negative && text.find_first_not_of('0') != std::string_view::npos) return "a stake cannot be negative";
  const std::string_view digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
  if (digits.empty()) return "a ticket needs money behind it: the stake is 0";
  if (digits.size() > 18) return "the stake is beyond the purse (" + std::to_string(purse) + " left)";
  std::int64_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  if (value % kStakeStep != 0) return "a stake goes in steps of 100";
  if (value > purse) return "the stake is beyond the purse (" + std::to_string(purse) + " left)";
  stake = value;
  return {};
}

std::string TicketBook::Buy(Ticket ticket, std::string_view stake_text) {
  if (locked_) return "the tickets are locked until the board";
  std::int64_t stake = 0;
  std::string refusal = ReadStake(stake_text, purse_, stake);
  if (!refusal.empty()) return refusal;
  ticket.stake = stake;
  purse_ -= stake;
  if (!settled_.empty()) settled_.clear();
  tickets_.push_back(ticket);
  return {};
}

std::string TicketBook::BuyWin(int horse, std::string_view stake) {
  if (!IsHorse(horse)) return "there is no such horse";
  Ticket ticket;
  ticket.kind = TicketKind::kWin;
  ticket.first = ticket.second = horse;
  return Buy(ticket, stake);
}

std::string TicketBook::BuyQuinella(int a, int b, std::string_view stake) {
  if (!IsHorse(a) || !IsHorse(b)) return "there is no such horse";
  if (a == b) return "a quinella is on two different horses";
  Ticket ticket;
  ticket.kind = TicketKind::kQuinella;
  ticket.first = std::min(a, b);
  ticket.second = std::max(a, b);
  return Buy(ticket, stake);
}

std::string TicketBook::TakeBack(std::size_t index) {
  if (locked_) return "the tickets are locked until the board";
  if (index >= tickets_.size()) return "there is no such ticket";
  purse_ = AddCapped(purse_, tickets_[index].stake);
  tickets_.erase(tickets_.begin() + static_cast<std::ptrdiff_t>(index));
  return {};
}

std::string TicketBook::Refill() {
  if (!can_refill()) return "only an empty purse is refilled";
  purse_ = AddCapped(purse_, kPurseStart);
  ++refills_;
  return {};
}

void TicketBook::Lock(const RaceCard& card) {
  for (Ticket& ticket : tickets_) ticket.odds_tenths = OddsTenthsOn(card, ticket);
  locked_ = true;
  settled_.clear();
}

void TicketBook::Settle(BoardOrder order) {
  if (!locked_) return;
  for (Ticket& ticket : tickets_) {
    ticket.payout = Payout(ticket, order);
    purse_ = AddCapped(purse_, ticket.payout);
  }
  settled_ = std::move(tickets_);
  tickets_.clear();
  locked_ = false;
}

std::vector<Ticket> TicketBook::Abandon() {
  if (!locked_) return {};
  for (const Ticket& ticket : tickets_) purse_ = AddCapped(purse_, ticket.stake);
  std::vector<Ticket> abandoned = std::move(tickets_);
  tickets_.clear();
  locked_ = false;
  return abandoned;
}

std::int64_t TicketBook::staked() const {
  std::int64_t sum = 0;
  for (const Ticket& ticket : tickets_) sum += ticket.stake;
  return sum;
}

}  // namespace trotix
