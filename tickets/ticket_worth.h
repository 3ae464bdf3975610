// What a ticket is worth on average, from the lab's races on the card: the
// true chance of the horse winning (or of the pair coming first and second,
// in either order) times the odds the ticket is bought at. A return above 1
// per unit staked pays on average, whatever the price says of the chance;
// the 95% interval says how sure that is after the lab's races.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "odds.h"
#include "race_card.h"
#include "ticket_book.h"

namespace trotix {

// A true chance as the lab measured it: the share of races, and its 95%
// interval.
struct TrueChance {
  double share = 0.0;
  double low = 0.0;
  double high = 0.0;
};

// The lab's chances for one card. They hold the card they were measured on,
// so that chances never outlive their field.
struct CardChances {
  RaceCard card{};
  std::uint64_t races = 0;  // how many races measured them
  std::array<TrueChance, kHorseCount> win{};
  // (i, j) and (j, i) alike; the diagonal is unused.
  std::array<std::array<TrueChance, kHorseCount>, kHorseCount> pair{};
};

// A ticket's worth per unit staked: the mean return and its 95% interval.
struct Worth {
  double mean = 0.0;
  double low = 0.0;
  double high = 0.0;
};

// Whether a return per unit staked pays on average, above 1, is
// PaysOnAverage (odds.h), the rule the lab's verdict goes by too.

// The worth of `ticket` at `odds_tenths` (as posted, in tenths) by
// `chances`.
Worth WorthOf(const Ticket& ticket, std::int64_t odds_tenths, const CardChances& chances);

// The worth as the player reads it, in the game's number formats:
// "worth x2.86 (2.84-2.88), pays on average" or "..., costs on average".
std::string WorthText(const Worth& worth);

// The card with what every ticket on it is worth: CardText's lines, each
// horse's followed by "  " and the worth of its win ticket, each pair's by
// that of its quinella, at the card's posted odds.
std::string CardWorthText(const CardChances& chances);

// A ticket's line in the list (TicketLineText), with ", " and its worth when
// the chances are known.
std::string TicketWorthLineText(const Ticket& ticket, bool settled, const std::optional<Worth>& worth);

// The board's settlement: "Settled, 2-5:", then a line for every ticket
// with its payout and, when the race was run with the chances known, what
// it was worth on average at its odds: a losing ticket can have been a good
// bet. Lines are joined by LF.
std::string SettlementText(BoardOrder order, const std::vector<Ticket>& settled, const CardChances* chances);

}  // namespace trotix
