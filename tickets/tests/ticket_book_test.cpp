#include "ticket_book.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

// A card where every win price is `win` and every pair price `pair`.
RaceCard FlatCard(double win, double pair) {
  RaceCard card;
  for (CardHorse& h : card.horses) h = {50, 50, 1, win};
  for (std::size_t i = 0; i < kHorseCount; ++i)
    for (std::size_t j = 0; j < kHorseCount; ++j) card.quinella[i][j] = i == j ? 0.0 : pair;
  return card;
}

RaceState Finished(int first, int second, int leader) {
  RaceState race;
  race.FinishOrder[0] = {first, 0.5};
  race.FinishOrder[1] = {second, 1.0};
  race.FinishCount = 2;
  race.WinnerIndex = leader;
  return race;
}

TEST(Settlement, PaysTheStakeTimesTheOddsAsPosted) {
  struct Case {
    const char* what;
    bool win;           // a win ticket on `a`, else a quinella on a-b
    int a, b;
    const char* stake;
    double win_odds, pair_odds;
    RaceState race;
    std::int64_t payout;
  };
  const Case cases[] = {
      {"win, winner", true, 3, 3, "100", 3.0, 9.9, Finished(3, 1, 3), 300},
      {"win, second home", true, 1, 1, "100", 3.0, 9.9, Finished(3, 1, 3), 0},
      {"quinella as they finished", false, 3, 1, "200", 3.0, 7.5, Finished(3, 1, 3), 1500},
      {"quinella bought the other way", false, 1, 3, "200", 3.0, 7.5, Finished(3, 1, 3), 1500},
      {"quinella, one horse out", false, 3, 2, "200", 3.0, 7.5, Finished(3, 1, 3), 0},
      // Horses 2 and 5 reach the line in one tick: the board puts 2 first
      // (entered in index order) though 5 ran further and leads.
      {"same tick, the board's first", true, 2, 2, "100", 4.2, 9.9, Finished(2, 5, 5), 420},
      {"same tick, the leader", true, 5, 5, "100", 4.2, 9.9, Finished(2, 5, 5), 0},
      {"same tick, quinella", false, 5, 2, "100", 4.2, 9.9, Finished(2, 5, 5), 990},
      // A price whose second decimal is 5 is posted rounded away from zero,
      // on its decimal form: 7.45 shows x7.5, 2.25 shows x2.3, 7.449 x7.4.
      {"edge 7.45", true, 0, 0, "100", 7.45, 9.9, Finished(0, 1, 0), 750},
      {"edge 2.25", true, 0, 0, "300", 2.25, 9.9, Finished(0, 1, 0), 690},
      {"edge 7.449", true, 0, 0, "100", 7.449, 9.9, Finished(0, 1, 0), 740},
      {"edge 1.05 pair", false, 0, 1, "100", 3.0, 1.05, Finished(1, 0, 1), 110},
      {"edge 0.95", true, 0, 0, "1000", 0.95, 9.9, Finished(0, 1, 0), 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TicketBook book;
    const std::string refusal = c.win ? book.BuyWin(c.a, c.stake) : book.BuyQuinella(c.a, c.b, c.stake);
    ASSERT_EQ(refusal, "");
    const std::int64_t stake = book.tickets()[0].stake;
    EXPECT_EQ(book.purse(), kPurseStart - stake);
    book.Lock(FlatCard(c.win_odds, c.pair_odds));
    book.Settle(BoardOrderOf(c.race));
    ASSERT_EQ(book.settled().size(), 1u);
    EXPECT_EQ(book.settled()[0].payout, c.payout);
    EXPECT_EQ(book.purse(), kPurseStart - stake + c.payout);
    EXPECT_TRUE(book.tickets().empty());
    EXPECT_FALSE(book.locked());
  }
}

TEST(Settlement, RefusesAStakeWithALine) {
  const struct {
    const char* stake;
    std::int64_t purse;
    const char* line;
  } cases[] = {
      {"-100", 10000, "a stake cannot be negative"},
      {"abc", 10000, "a stake must be a whole number, in steps of 100"},
      {"1e3", 10000, "a stake must be a whole number, in steps of 100"},
      {"", 10000, "a stake must be a whole number, in steps of 100"},
      {"150", 10000, "a stake goes in steps of 100"},
      {"0", 10000, "a ticket needs money behind it: the stake is 0"},
      {"-0", 10000, "a ticket needs money behind it: the stake is 0"},
      {"10100", 10000, "the stake is beyond the purse (10000 left)"},
      {"99999999999999999999999", 10000, "the stake is beyond the purse (10000 left)"},
      {"100", 0, "the stake is beyond the purse (0 left)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stake);
    TicketBook book(c.purse, 0);
    EXPECT_EQ(book.BuyWin(0, c.stake), c.line);
    EXPECT_EQ(book.BuyQuinella(0, 1, c.stake), c.line);
    EXPECT_EQ(book.purse(), c.purse);
    EXPECT_TRUE(book.tickets().empty());
  }
  TicketBook book;
  EXPECT_EQ(book.BuyWin(0, " 10000 "), "");  // the whole purse is a stake
  EXPECT_EQ(book.purse(), 0);
}

TEST(TicketBook, TakesBackUntilRunThenLocksAtTheCardsOdds) {
  TicketBook book;
  ASSERT_EQ(book.BuyWin(4, "300"), "");
  ASSERT_EQ(book.BuyQuinella(5, 2, "500"), "");
  EXPECT_EQ(book.tickets()[1].first, 2);  // the pair is kept lower horse first
  EXPECT_EQ(book.TakeBack(0), "");
  EXPECT_EQ(book.purse(), kPurseStart - 500);
  EXPECT_EQ(book.TakeBack(3), "there is no such ticket");
  EXPECT_EQ(book.BuyQuinella(2, 2, "100"), "a quinella is on two different horses");
  EXPECT_EQ(book.BuyWin(6, "100"), "there is no such horse");

  RaceCard card = FlatCard(2.0, 12.34);
  book.Lock(card);
  EXPECT_EQ(book.tickets()[0].odds_tenths, 123);
  EXPECT_EQ(book.TakeBack(0), "the tickets are locked until the board");
  EXPECT_EQ(book.BuyWin(1, "100"), "the tickets are locked until the board");

  // Closed during the race: the stakes come back, the tickets stay unsettled.
  const std::vector<Ticket> left = book.Abandon();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].stake, 500);
  EXPECT_EQ(book.purse(), kPurseStart);
  EXPECT_FALSE(book.locked());
}

TEST(TicketBook, RefillsOnlyAnEmptyPurseAndCountsIt) {
  TicketBook book;
  EXPECT_EQ(book.Refill(), "only an empty purse is refilled");
  ASSERT_EQ(book.BuyWin(0, "10000"), "");
  EXPECT_EQ(book.Refill(), "only an empty purse is refilled");  // a ticket still holds the money
  book.Lock(FlatCard(3.0, 9.0));
  book.Settle({1, 2});
  EXPECT_EQ(book.purse(), 0);
  EXPECT_EQ(book.Refill(), "");
  EXPECT_EQ(book.purse(), kPurseStart);
  EXPECT_EQ(book.refills(), 1);
}

TEST(Payout, HugeOddsStopAtTheCeiling) {
  Ticket t;
  t.stake = 1'000'000'000'000;
  t.odds_tenths = PostedTenths(1e30);
  EXPECT_EQ(Payout(t, {0, 1}), kPurseCeiling);
}

}  // namespace
}  // namespace trotix
