// The player's tickets and purse for the race on the card. Two kinds of
// ticket, the two kinds of odds the game posts: win (単勝) on one horse and
// quinella (馬連) on a pair, the pair's order not mattering. Stakes go in
// steps of 100 and are taken from the purse when bought; until Run a ticket
// can be taken back, at Run every ticket is locked at the card's odds, and
// the board settles them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "race_card.h"

namespace trotix {

inline constexpr std::int64_t kPurseStart = 10'000;
inline constexpr std::int64_t kStakeStep = 100;
// A purse never grows past this; no race can bring it near.
inline constexpr std::int64_t kPurseCeiling = 1'000'000'000'000'000;

inline constexpr std::string_view kWinName = "単勝";
// The quinella is named by kQuinellaName (texts.h).

enum class TicketKind { kWin, kQuinella };

struct Ticket {
  TicketKind kind = TicketKind::kWin;
  int first = 0;   // horse index; for a quinella the lower of the two
  int second = 0;  // a quinella's higher horse index; unused for a win
  std::int64_t stake = 0;
  std::int64_t odds_tenths = 0;  // set when locked
  std::int64_t payout = 0;       // set when settled
};

// The first two over the line as the board lists them.
struct BoardOrder {
  int first = 0;
  int second = 0;
};
BoardOrder BoardOrderOf(const RaceState& race);

// What a ticket pays with the first two `order`: stake x posted odds for a
// winner, 0 otherwise. Stakes are multiples of 100 and odds have one
// decimal, so the payout is a whole number and nothing is rounded.
std::int64_t Payout(const Ticket& ticket, BoardOrder order);

// The odds `ticket` is bought at on `card`, as posted, in tenths.
std::int64_t OddsTenthsOn(const RaceCard& card, const Ticket& ticket);

// A ticket's name as the player reads it: "単勝【4】" or "馬連 2-4".
std::string TicketName(const Ticket& ticket);

// A ticket as the tickets' window lists it: "単勝【4】 100 x3.0", with
// " -> 300" once settled (`settled`).
std::string TicketLineText(const Ticket& ticket, bool settled);
// "Purse 10000", with ", refilled 2 times" once refilled.
std::string PurseText(std::int64_t purse, int refills);

class TicketBook {
 public:
  TicketBook() = default;
  TicketBook(std::int64_t purse, int refills) : purse_(purse), refills_(refills) {}

  // Each returns "" when done, or the line that tells why not.
  // `stake` is what the player typed: a whole number, steps of 100.
  std::string BuyWin(int horse, std::string_view stake);
  std::string BuyQuinella(int a, int b, std::string_view stake);
  std::string TakeBack(std::size_t index);
  // A new 10,000 into a purse too empty to buy a ticket; counted.
  std::string Refill();

  // Run: every ticket is locked with the odds of `card`, the field that races.
  void Lock(const RaceCard& card);
  // The board: each locked ticket is paid, and the purse takes the payouts.
  // The tickets settled stay readable in settled() until the next purchase.
  void Settle(BoardOrder order);
  // The tickets locked for a race that never reached its board: their
  // stakes go back into the purse, and they are returned, unsettled.
  std::vector<Ticket> Abandon();

  std::int64_t purse() const { return purse_; }
  int refills() const { return refills_; }
  bool locked() const { return locked_; }
  bool can_refill() const { return purse_ < kStakeStep && tickets_.empty(); }
  const std::vector<Ticket>& tickets() const { return tickets_; }
  const std::vector<Ticket>& settled() const { return settled_; }
  std::int64_t staked() const;

 private:
  std::string Buy(Ticket ticket, std::string_view stake);

  std::int64_t purse_ = kPurseStart;
  int refills_ = 0;
  bool locked_ = false;
  std::vector<Ticket> tickets_;
  std::vector<Ticket> settled_;
};

// Reads a stake as typed: surrounding blanks allowed, then digits, or a
// minus and digits. The refusal, or "" with `stake` set.
std::string ReadStake(std::string_view text, std::int64_t purse, std::int64_t& stake);

}  // namespace trotix
