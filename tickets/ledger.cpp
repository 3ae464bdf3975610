#include "ledger.h"

#include <algorithm>
#include <charconv>

#include "numbers.h"

namespace trotix {

namespace {

constexpr std::int64_t kRefillLimit = 1'000'000'000;

std::vector<std::string_view> Split(std::string_view text, char at) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t cut = text.find(at);
    parts.push_back(text.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    text.remove_prefix(cut + 1);
  }
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool AllOf(std::string_view text, std::string_view allowed) {
  return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

// A whole number of at most 18 digits, no sign.
std::optional<std::int64_t> Count(std::string_view text) {
  if (!AllOf(text, "0123456789") || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string TenthsText(std::int64_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// "3.0" back to 30: digits, a full stop, one digit.
std::optional<std::int64_t> Tenths(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot + 2 != text.size()) return std::nullopt;
  const auto whole = Count(text.substr(0, dot));
  const auto tenth = Count(text.substr(dot + 1));
  if (!whole || !tenth || *whole > kPurseCeiling / 10) return std::nullopt;
  return *whole * 10 + *tenth;
}

std::optional<int> HorseNumber(std::string_view text) {
  const auto n = Count(text);
  if (!n || *n < 1 || *n > static_cast<std::int64_t>(kHorseCount)) return std::nullopt;
  return static_cast<int>(*n - 1);
}

std::string TicketText(const Ticket& t, bool settled) {
  std::string text = t.kind == TicketKind::kWin ? "W" + std::to_string(t.first + 1)
                                                 : "Q" + std::to_string(t.first + 1) + "-" + std::to_string(t.second + 1);
  text += ":" + std::to_string(t.stake) + "@" + TenthsText(t.odds_tenths) + "=";
  text += settled ? std::to_string(t.payout) : "-";
  return text;
}

std::optional<Ticket> ParseTicket(std::string_view text, bool settled) {
  const std::size_t colon = text.find(':');
  const std::size_t at = text.find('@');
  const std::size_t eq = text.find('=');
  if (text.empty() || colon == std::string_view::npos || at == std::string_view::npos ||
      eq == std::string_view::npos || !(colon < at && at < eq)) {
    return std::nullopt;
  }
  Ticket t;
  const std::string_view horses = text.substr(1, colon - 1);
  if (text[0] == 'W') {
    const auto h = HorseNumber(horses);
    if (!h) return std::nullopt;
    t.kind = TicketKind::kWin;
    t.first = t.second = *h;
  } else if (text[0] == 'Q') {
    const std::vector<std::string_view> pair = Split(horses, '-');
    if (pair.size() != 2) return std::nullopt;
    const auto a = HorseNumber(pair[0]);
    const auto b = HorseNumber(pair[1]);
    if (!a || !b || *a >= *b) return std::nullopt;
    t.kind = TicketKind::kQuinella;
    t.first = *a;
    t.second = *b;
  } else {
    return std::nullopt;
  }
  const auto stake = Count(text.substr(colon + 1, at - colon - 1));
  const auto odds = Tenths(text.substr(at + 1, eq - at - 1));
  const std::string_view paid = text.substr(eq + 1);
  if (!stake || *stake % kStakeStep != 0 || *stake == 0 || *stake > kPurseCeiling || !odds) return std::nullopt;
  t.stake = *stake;
  t.odds_tenths = *odds;
  if (settled) {
    const auto payout = Count(paid);
    if (!payout || *payout > kPurseCeiling) return std::nullopt;
    t.payout = *payout;
  } else if (paid != "-") {
    return std::nullopt;
  }
  return t;
}

}  // namespace

LedgerEntry MakeLedgerEntry(std::string date, const RaceCard& card, const std::vector<Ticket>& tickets,
                            std::optional<BoardOrder> order, std::int64_t purse, int refills,
                            bool saw_chances) {
  LedgerEntry entry;
  entry.date = std::move(date);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const CardHorse& h = card.horses[i];
    entry.horses[i] = FormatMask(h.Speed, "000") + "/" + FormatMask(h.Stamina, "000") + "/" +
                      std::to_string(h.Style) + "/" + TenthsText(PostedTenths(h.WinOdds));
  }
  entry.settled = order.has_value();
  if (order) entry.order = *order;
  entry.tickets = tickets;
  entry.purse = purse;
  entry.refills = refills;
  entry.saw_chances = saw_chances;
  return entry;
}

std::string LedgerLineText(const LedgerEntry& e) {
  std::string line = e.date + ";";
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    if (i > 0) line += ',';
    line += e.horses[i];
  }
  line += ";";
  line += e.settled ? std::to_string(e.order.first + 1) + "-" + std::to_string(e.order.second + 1) : "-";
  line += ";";
  if (e.tickets.empty()) line += "-";
  for (std::size_t i = 0; i < e.tickets.size(); ++i) {
    if (i > 0) line += ',';
    line += TicketText(e.tickets[i], e.settled);
  }
  line += ";" + std::to_string(e.purse) + ";" + std::to_string(e.refills) + ";" + (e.saw_chances ? "1" : "0") +
          ";" + (e.settled ? "S" : "U");
  return line;
}

std::optional<LedgerEntry> ParseLedgerLine(std::string_view line) {
  const std::vector<std::string_view> fields = Split(line, ';');
  if (fields.size() != 8) return std::nullopt;
  LedgerEntry e;
  if (!AllOf(fields[0], "0123456789-: T")) return std::nullopt;
  e.date = fields[0];
  const std::vector<std::string_view> horses = Split(fields[1], ',');
  if (horses.size() != kHorseCount) return std::nullopt;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const std::vector<std::string_view> parts = Split(horses[i], '/');
    if (parts.size() != 4 || !AllOf(parts[0], "-0123456789") || !AllOf(parts[1], "-0123456789") ||
        !AllOf(parts[2], "-0123456789") || !Tenths(parts[3])) {
      return std::nullopt;
    }
    e.horses[i] = horses[i];
  }
  if (fields[7] != "S" && fields[7] != "U") return std::nullopt;
  e.settled = fields[7] == "S";
  if (e.settled) {
    const std::vector<std::string_view> order = Split(fields[2], '-');
    if (order.size() != 2) return std::nullopt;
    const auto a = HorseNumber(order[0]);
    const auto b = HorseNumber(order[1]);
    if (!a || !b || *a == *b) return std::nullopt;
    e.order = {*a, *b};
  } else if (fields[2] != "-") {
    return std::nullopt;
  }
  if (fields[3] != "-") {
    for (const std::string_view text : Split(fields[3], ',')) {
      const auto ticket = ParseTicket(text, e.settled);
      if (!ticket) return std::nullopt;
      e.tickets.push_back(*ticket);
    }
  }
  const auto purse = Count(fields[4]);
  const auto refills = Count(fields[5]);
  if (!purse || *purse > kPurseCeiling || !refills || *refills > kRefillLimit) return std::nullopt;
  if (fields[6] != "0" && fields[6] != "1") return std::nullopt;
  e.purse = *purse;
  e.refills = static_cast<int>(*refills);
  e.saw_chances = fields[6] == "1";
  return e;
}

std::string LedgerRaceKey(std::size_t number) { return "Race" + std::to_string(number); }

LedgerRead ReadLedgerText(std::string_view text) {
  LedgerRead read;
  const auto refuse = [&read](std::size_t line, const std::string& why) {
    LedgerRead refused;
    refused.ok = false;
    refused.problem = "line " + std::to_string(line) + " " + why;
    read = refused;
  };
  bool in_section = false;
  std::size_t number = 0;
  for (;;) {
    ++number;
    const std::size_t cut = text.find_first_of("\r\n");
    const std::string_view line = Trimmed(text.substr(0, cut));
    if (line.empty()) {
      // blank
    } else if (!in_section) {
      if (line.size() != std::string_view(kLedgerSection).size() + 2 || line.front() != '[' ||
          line.substr(1, line.size() - 2) != kLedgerSection || line.back() != ']') {
        refuse(number, "is not the ledger's heading");
        return read;
      }
      in_section = true;
    } else {
      const std::size_t eq = line.find('=');
      const std::string_view key = Trimmed(eq == std::string_view::npos ? line : line.substr(0, eq));
      const std::string_view value = Trimmed(eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1));
      if (key == kLedgerPurseKey) {
        const auto purse = Count(value);
        if (!purse || *purse > kPurseCeiling) {
          refuse(number, "holds no purse");
          return read;
        }
        read.purse = *purse;
      } else if (key == kLedgerRefillsKey) {
        const auto refills = Count(value);
        if (!refills || *refills > kRefillLimit) {
          refuse(number, "holds no count of refills");
          return read;
        }
        read.refills = static_cast<int>(*refills);
      } else if (key == LedgerRaceKey(read.entries.size() + 1)) {
        auto entry = ParseLedgerLine(value);
        if (!entry) {
          refuse(number, "is not a race of the ledger");
          return read;
        }
        read.entries.push_back(std::move(*entry));
      } else {
        refuse(number, "is out of place");
        return read;
      }
    }
    if (cut == std::string_view::npos) break;
    text.remove_prefix(cut + (text.substr(cut, 2) == "\r\n" ? 2 : 1));
  }
  return read;
}

std::string LedgerText(std::int64_t purse, int refills, const std::vector<LedgerEntry>& entries) {
  std::string text;
  const auto line = [&text](std::string_view key, const std::string& value) {
    text.append(key).append("=").append(value).append("\r\n");
  };
  text.append("[").append(kLedgerSection).append("]\r\n");
  line(kLedgerPurseKey, std::to_string(purse));
  line(kLedgerRefillsKey, std::to_string(refills));
  for (std::size_t i = 0; i < entries.size(); ++i) line(LedgerRaceKey(i + 1), LedgerLineText(entries[i]));
  return text;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string LedgerCsv(const std::vector<LedgerEntry>& entries) {
  std::string csv =
      "race,date,card,first,second,ticket,stake,odds,payout,purse after,refills,chances seen,settled\r\n";
  const auto record = [&csv](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) csv += ',';
      csv += CsvField(fields[i]);
    }
    csv += "\r\n";
  };
  for (std::size_t n = 0; n < entries.size(); ++n) {
    const LedgerEntry& e = entries[n];
    std::string card;
    for (std::size_t i = 0; i < kHorseCount; ++i) {
      if (i > 0) card += ' ';
      card += e.horses[i];
    }
    const std::string first = e.settled ? std::to_string(e.order.first + 1) : "";
    const std::string second = e.settled ? std::to_string(e.order.second + 1) : "";
    std::vector<std::string> common{std::to_string(n + 1), e.date, card, first, second};
    const std::vector<std::string> tail{std::to_string(e.purse), std::to_string(e.refills),
                                        e.saw_chances ? "yes" : "no", e.settled ? "yes" : "no"};
    if (e.tickets.empty()) {
      std::vector<std::string> fields = common;
      fields.insert(fields.end(), {"", "", "", ""});
      fields.insert(fields.end(), tail.begin(), tail.end());
      record(fields);
    }
    for (const Ticket& t : e.tickets) {
      std::vector<std::string> fields = common;
      fields.insert(fields.end(), {TicketName(t), std::to_string(t.stake), TenthsText(t.odds_tenths),
                                   e.settled ? std::to_string(t.payout) : ""});
      fields.insert(fields.end(), tail.begin(), tail.end());
      record(fields);
    }
  }
  return csv;
}

}  // namespace trotix
