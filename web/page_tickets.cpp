#include "page_tickets.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "card_chances.h"
#include "purse_chart_svg.h"

namespace trotix::web {

namespace {

// A text as a JSON string: the game's lines are UTF-8 and pass as they are;
// quotes, backslashes and control characters are escaped.
std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json.append(1, '\\').append(1, c);
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
      json.append(escaped);
    } else {
      json.append(1, c);
    }
  }
  return json + "\"";
}

std::string JsonLines(const std::vector<std::string>& lines) {
  std::string json = "[";
  for (std::size_t i = 0; i < lines.size(); ++i) json.append(i == 0 ? "" : ",").append(JsonString(lines[i]));
  return json + "]";
}

}  // namespace

std::string LocalDateText(double local_ms) {
  using namespace std::chrono;
  const auto seconds = static_cast<long long>(std::floor(local_ms / 1000.0));
  const sys_seconds at{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss time{at - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<long long>(time.hours().count()), static_cast<long long>(time.minutes().count()),
                static_cast<long long>(time.seconds().count()));
  return text;
}

std::string PageTickets::Restore(std::string_view kept) {
  const LedgerRead read = ReadLedgerText(kept);
  desk_ = TicketDesk(read.ok ? read : LedgerRead{});
  run_date_.clear();
  message_.clear();
  ++ledger_changes_;
  if (read.ok) return {};
  return Tell("The ledger kept in this browser is damaged (" + read.problem + "), so a new purse is started.");
}

void PageTickets::RaceStarted(const RaceCard& raced, const std::string& date) {
  desk_.Run(raced);
  run_date_ = date;
  message_.clear();
  // The stakes of a race under way are kept as spent, with the race unsettled.
  if (!desk_.book().tickets().empty()) ++ledger_changes_;
}

void PageTickets::BoardShown(BoardOrder order, const std::string& date) {
  if (!desk_.Board(order, date)) return;
  ++ledger_changes_;
  message_.clear();
  news_ = desk_.settlement();
  ++told_;
}

bool PageTickets::TakeChances(const double* field, const double* numbers) {
  if (!desk_.has_card()) return false;
  const RaceCard& card = desk_.card();
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    const CardHorse& horse = card.horses[h];
    if (field[h] != horse.Speed || field[kHorseCount + h] != horse.Stamina ||
        field[2 * kHorseCount + h] != static_cast<double>(horse.Style)) {
      return false;
    }
  }
  const std::optional<CardChances> chances = sim::CardChancesOfNumbers(card, numbers);
  return chances && desk_.ShowChances(*chances);
}

std::string PageTickets::Buy(bool quinella, int first, int second, std::string_view stake) {
  TicketBook& book = desk_.book();
  return Tell(quinella ? book.BuyQuinella(first - 1, second - 1, stake) : book.BuyWin(first - 1, stake));
}

std::string PageTickets::TakeBack(int index) {
  return Tell(index < 0 ? "there is no such ticket" : desk_.book().TakeBack(static_cast<std::size_t>(index)));
}

std::string PageTickets::Refill() {
  const std::string refusal = desk_.book().Refill();
  if (refusal.empty()) ++ledger_changes_;
  return Tell(refusal);
}

std::string PageTickets::Tell(std::string line) {
  message_ = line;
  news_ = line;
  ++told_;
  return line;
}

std::string PageTickets::PurseChart(sim::ChartLayout layout) const { return sim::PurseChartSvg(desk_.entries(), layout); }

std::string PageTickets::StateJson() const {
  const TicketBook& book = desk_.book();
  const auto flag = [](bool on) { return on ? "true" : "false"; };
  return "{\"purse\":" + JsonString(PurseText(book.purse(), book.refills())) + ",\"tickets\":" + JsonLines(desk_.TicketLines()) +
         ",\"settlement\":" + JsonString(desk_.settlement()) + ",\"message\":" + JsonString(message_) +
         ",\"news\":" + JsonString(news_) + ",\"told\":" + std::to_string(told_) + ",\"locked\":" +
         flag(book.locked()) + ",\"canRefill\":" + flag(book.can_refill()) + "}";
}

std::string PageTickets::LedgerText() const {
  if (!desk_.book().locked()) return trotix::LedgerText(desk_.KeptPurse(), desk_.book().refills(), desk_.entries());
  TicketDesk closed = desk_;
  closed.Close(run_date_);
  return trotix::LedgerText(closed.KeptPurse(), closed.book().refills(), closed.entries());
}

}  // namespace trotix::web
