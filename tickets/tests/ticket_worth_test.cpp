// What a ticket is worth: the true chance times the odds it is bought at,
// read the same whichever way round a pair is held, and the desk taking the
// lab's chances only for the card on show.
#include "ticket_worth.h"

#include <gtest/gtest.h>

#include "test_cards.h"
#include "ticket_desk.h"

namespace trotix {
namespace {

using testing::CardAt;

CardChances ChancesOn(const RaceCard& card) {
  CardChances c;
  c.card = card;
  c.races = 100000;
  c.win[3] = {0.5, 0.49, 0.51};
  c.pair[1][4] = c.pair[4][1] = {0.125, 0.12, 0.13};
  return c;
}

Ticket Win(int horse) { return {TicketKind::kWin, horse, horse}; }
Ticket Pair(int a, int b) { return {TicketKind::kQuinella, a, b}; }

TEST(TicketWorth, ShareTimesTheOddsBoughtAt) {
  const CardChances c = ChancesOn(CardAt(3.0));
  struct Case {
    Ticket ticket;
    std::int64_t tenths;
    std::string text;
  };
  const Case cases[] = {
      {Win(3), 30, "worth x1.50 (1.47-1.53), pays on average"},
      {Win(3), 20, "worth x1.00 (0.98-1.02), costs on average"},  // exactly 1: no gain
      {Win(0), 30, "worth x0.00 (0.00-0.00), costs on average"},
      {Pair(1, 4), 80, "worth x1.00 (0.96-1.04), costs on average"},
      {Pair(4, 1), 81, "worth x1.01 (0.97-1.06), pays on average"},  // either order, rounded outwards
      {Pair(2, 2), 80, "worth x0.00 (0.00-0.00), costs on average"},  // no such pair
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    EXPECT_EQ(WorthText(WorthOf(k.ticket, k.tenths, c)), k.text);
  }
  EXPECT_FALSE(PaysOnAverage(1.0));
  EXPECT_TRUE(PaysOnAverage(1.0000001));
}

TEST(TicketWorth, TheCardReadsEveryTicketsWorthOnItsLine) {
  const std::string text = CardWorthText(ChancesOn(CardAt(3.0)));
  const std::string card = CardText(CardAt(3.0));
  EXPECT_TRUE(text.starts_with(card.substr(0, card.find("\r\n")) + "  worth x0.00 (0.00-0.00), costs on average\r\n"));
  EXPECT_NE(text.find("x3.0  worth x1.50 (1.47-1.53), pays on average\r\n"), std::string::npos) << "horse 4";
  EXPECT_NE(text.find("2-5  x8.0  worth x1.00 (0.96-1.04), costs on average\r\n"), std::string::npos);
}

TEST(TicketDesk, TakesTheChancesOfTheCardOnShowOnly) {
  TicketDesk desk;
  EXPECT_FALSE(desk.ShowChances(ChancesOn(CardAt(3.0)))) << "no card yet";
  desk.ShowCard(CardAt(3.0));
  EXPECT_FALSE(desk.ShowChances(ChancesOn(CardAt(3.1)))) << "a late answer for another card";
  EXPECT_FALSE(desk.chances());
  ASSERT_TRUE(desk.ShowChances(ChancesOn(CardAt(3.0))));
  ASSERT_EQ(desk.book().BuyWin(3, "200"), "");
  ASSERT_EQ(desk.book().BuyWin(0, "100"), "");
  EXPECT_EQ(desk.TicketLines().at(0), "単勝【4】 200, worth x1.50 (1.47-1.53), pays on average");
  EXPECT_FALSE(desk.WorthOfTicket(2));
  EXPECT_NE(desk.CardShownText().find("  worth x"), std::string::npos);

  desk.Run(CardAt(3.0));
  EXPECT_FALSE(desk.ShowChances(ChancesOn(CardAt(3.0)))) << "locked";
  const auto line = desk.Board({0, 3}, "2026-12-10 12:00:00");
  ASSERT_TRUE(line);
  EXPECT_TRUE(line->saw_chances);
  EXPECT_TRUE(LedgerLineText(*line).ends_with(";1;S"));
  EXPECT_EQ(desk.settlement(),
            "Settled, 1-4:\n"
            "単勝【4】 200 x3.0 -> 0, worth x1.50 (1.47-1.53), pays on average\n"
            "単勝【1】 100 x3.0 -> 300, worth x0.00 (0.00-0.00), costs on average");

  desk.ShowCard(CardAt(3.0));  // the same field again keeps them
  EXPECT_TRUE(desk.chances());
  desk.ShowCard(CardAt(4.0));
  EXPECT_FALSE(desk.chances()) << "dropped with a new card";
  EXPECT_EQ(desk.CardShownText(), CardText(CardAt(4.0)));
  ASSERT_EQ(desk.book().BuyWin(3, "100"), "");
  desk.Run(CardAt(4.0));
  const auto unseen = desk.Board({0, 3}, "2026-12-10 12:01:00");
  ASSERT_TRUE(unseen);
  EXPECT_FALSE(unseen->saw_chances);
  EXPECT_EQ(desk.settlement(), "Settled, 1-4:\n単勝【4】 100 x4.0 -> 0");

  ASSERT_TRUE(desk.ShowChances(ChancesOn(CardAt(4.0))));
  ASSERT_EQ(desk.book().BuyWin(3, "100"), "");
  desk.Run(CardAt(5.0));  // the field that raced was not the one measured
  EXPECT_FALSE(desk.chances());
  EXPECT_FALSE(desk.Board({3, 0}, "2026-12-10 12:02:00")->saw_chances);
}

}  // namespace
}  // namespace trotix
