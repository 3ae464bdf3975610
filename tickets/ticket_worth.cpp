#include "ticket_worth.h"

#include <cmath>

namespace trotix {

namespace {

// A hair's tolerance keeps an interval's end that is a whole number of
// hundredths (2.5 exactly) from moving a hundredth outwards.
constexpr double kHair = 1e-9;

// Hundredths as "2.86", by integer arithmetic: no printf, no locale, the
// same bytes in every build.
std::string HundredthsText(long long hundredths) {
  const long long size = hundredths < 0 ? -hundredths : hundredths;
  std::string text = hundredths < 0 ? "-" : "";
  text += std::to_string(size / 100) + ".";
  text += static_cast<char>('0' + size / 10 % 10);
  text += static_cast<char>('0' + size % 10);
  return text;
}

// A worth is a share times odds: finite, and far below the range of a long
// long in hundredths, unless a file's field posts odds near the ceiling.
long long Hundredths(double value) { return std::isfinite(value) ? std::llround(value * 100.0) : 0; }

// "2-5": the first two as the board lists them.
std::string PairOrderText(BoardOrder order) {
  std::string text = std::to_string(order.first + 1);
  return text.append("-").append(std::to_string(order.second + 1));
}

bool IsHorse(int index) { return index >= 0 && index < static_cast<int>(kHorseCount); }

}  // namespace

Worth WorthOf(const Ticket& ticket, std::int64_t odds_tenths, const CardChances& chances) {
  if (!IsHorse(ticket.first) || !IsHorse(ticket.second)) return {};
  const auto a = static_cast<std::size_t>(ticket.first);
  const auto b = static_cast<std::size_t>(ticket.second);
  if (ticket.kind == TicketKind::kQuinella && a == b) return {};
  const TrueChance& chance = ticket.kind == TicketKind::kWin ? chances.win[a] : chances.pair[a][b];
  const double odds = static_cast<double>(odds_tenths) / 10.0;
  return {chance.share * odds, chance.low * odds, chance.high * odds};
}

std::string WorthText(const Worth& worth) {
  // The interval is rounded outwards, so that it always holds what it says.
  const double low = std::isfinite(worth.low) ? std::floor(worth.low * 100.0 + kHair) : 0.0;
  const double high = std::isfinite(worth.high) ? std::ceil(worth.high * 100.0 - kHair) : 0.0;
  return "worth x" + HundredthsText(Hundredths(worth.mean)) + " (" +
         HundredthsText(static_cast<long long>(low)) + "-" + HundredthsText(static_cast<long long>(high)) + "), " +
         (PaysOnAverage(worth.mean) ? "pays on average" : "costs on average");
}

std::string CardWorthText(const CardChances& chances) {
  // The worth of each line's ticket, in CardText's order: the six horses,
  // then the pairs (1-2, 1-3, ... 5-6).
  std::vector<std::string> worths;
  for (int i = 0; i < static_cast<int>(kHorseCount); ++i) {
    Ticket win;
    win.first = win.second = i;
    worths.push_back(WorthText(WorthOf(win, OddsTenthsOn(chances.card, win), chances)));
  }
  for (int i = 0; i < static_cast<int>(kHorseCount); ++i) {
    for (int j = i + 1; j < static_cast<int>(kHorseCount); ++j) {
      Ticket pair;
      pair.kind = TicketKind::kQuinella;
      pair.first = i;
      pair.second = j;
      worths.push_back(WorthText(WorthOf(pair, OddsTenthsOn(chances.card, pair), chances)));
    }
  }
  const std::string card = CardText(chances.card);
  std::string text;
  std::size_t line = 0;
  for (std::size_t from = 0; from < card.size();) {
    const std::size_t end = card.find("\r\n", from);
    if (end == std::string::npos) break;
    text.append(card, from, end - from);
    if (line < worths.size()) text.append("  ").append(worths[line++]);
    text.append("\r\n");
    from = end + 2;
  }
  return text;
}

std::string TicketWorthLineText(const Ticket& ticket, bool settled, const std::optional<Worth>& worth) {
  std::string line = TicketLineText(ticket, settled);
  if (worth) line.append(", ").append(WorthText(*worth));
  return line;
}

std::string SettlementText(BoardOrder order, const std::vector<Ticket>& settled, const CardChances* chances) {
  std::string text = "Settled, ";
  text.append(PairOrderText(order)).append(":");
  for (const Ticket& t : settled) {
    std::optional<Worth> worth;
    if (chances != nullptr) worth = WorthOf(t, t.odds_tenths, *chances);
    text.append("\n").append(TicketWorthLineText(t, true, worth));
  }
  return text;
}

}  // namespace trotix
