// The ledger: one line for every race run with tickets, the player's
// honest record. A line holds the date, the card's six horses, the first two
// over the line, each ticket with its stake, odds and payout, the purse after
// the race, the refills counted so far and whether the player looked at the
// lab's chances before Run. A race that never reached its board is kept as
// unsettled, its stakes back in the purse.
//
// A line, fields split by ';':
//   2026-12-10 10:40:12;078/039/1/3.0,...(six);4-2;W4:100@3.0=300,Q2-4:200@7.5=0;10100;0;1;S
// the order "-" and every payout "-" when unsettled (last field U), the
// tickets "-" when there are none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "race_card.h"
#include "ticket_book.h"

namespace trotix {

struct LedgerEntry {
  std::string date;  // as the front end gives it, "YYYY-MM-DD HH:MM:SS"
  std::array<std::string, kHorseCount> horses;  // "078/039/1/3.0": speed, stamina, style, odds as shown
  bool settled = true;
  BoardOrder order;  // when settled
  std::vector<Ticket> tickets;
  std::int64_t purse = 0;
  int refills = 0;
  bool saw_chances = false;
};

// The entry of a race on `card`, from its tickets (settled or abandoned).
LedgerEntry MakeLedgerEntry(std::string date, const RaceCard& card, const std::vector<Ticket>& tickets,
                            std::optional<BoardOrder> order, std::int64_t purse, int refills,
                            bool saw_chances);

std::string LedgerLineText(const LedgerEntry& entry);
// The entry of one line, or nothing when any part of it is out of shape.
std::optional<LedgerEntry> ParseLedgerLine(std::string_view line);

// The ledger as kept on disk: an INI section, so the file is written by the
// same careful code as Trotix.ini.
inline constexpr std::string_view kLedgerSection = "Ledger";
inline constexpr std::string_view kLedgerPurseKey = "Purse";
inline constexpr std::string_view kLedgerRefillsKey = "Refills";
// Race lines are keys Race1, Race2, ... in order.
std::string LedgerRaceKey(std::size_t number);

struct LedgerRead {
  bool ok = true;
  std::string problem;  // when not ok: what is wrong, for one line
  std::vector<LedgerEntry> entries;
  std::int64_t purse = kPurseStart;
  int refills = 0;
};

// Reads the ledger file's text. Anything out of shape (a line that does not
// parse, a race out of its turn, a purse that is not a number) refuses the
// whole file: a record with holes is no record.
LedgerRead ReadLedgerText(std::string_view text);
// The whole ledger as the text ReadLedgerText reads: the heading, the purse,
// the refills and every race in its turn, each line ended by CR LF. For a
// front end that keeps the ledger in one piece rather than in a file.
std::string LedgerText(std::int64_t purse, int refills, const std::vector<LedgerEntry>& entries);

// The name an exported ledger is offered under, on the desktop and in the page.
inline constexpr std::string_view kLedgerCsvName = "trotix-ledger.csv";

// The ledger as CSV (RFC 4180): a header, then one record per ticket (a race
// without tickets gives one record), fields quoted where they hold a comma,
// a quote, CR or LF, every record ended by CR LF.
std::string LedgerCsv(const std::vector<LedgerEntry>& entries);
// One CSV field, quoted when it must be.
std::string CsvField(std::string_view text);

}  // namespace trotix
