#include "ticket_desk.h"

#include <gtest/gtest.h>

#include "test_cards.h"

namespace trotix {
namespace {

using testing::CardAt;

TEST(TicketDesk, ARaceWithTicketsIsOneLedgerLineAtTheRacedOdds) {
  TicketDesk desk;
  desk.ShowCard(CardAt(2.0));
  desk.SawChances();
  ASSERT_EQ(desk.book().BuyWin(1, "1000"), "");
  desk.Run(CardAt(3.0));  // the field that races is the card that counts
  desk.ShowCard(CardAt(9.0));  // a card shown during the race changes nothing
  EXPECT_EQ(desk.card().horses[0].WinOdds, 3.0);
  const auto line = desk.Board({1, 4}, "2026-12-10 11:00:00");
  ASSERT_TRUE(line);
  EXPECT_EQ(LedgerLineText(*line).substr(LedgerLineText(*line).find(";2-5;")),
            ";2-5;W2:1000@3.0=3000;12000;0;1;S");
  EXPECT_EQ(desk.book().purse(), 12000);

  // The next race had no tickets: no line, and the chances flag was spent.
  desk.Run(CardAt(3.0));
  EXPECT_FALSE(desk.Board({0, 1}, "2026-12-10 11:01:00"));
  ASSERT_EQ(desk.book().BuyWin(0, "500"), "");
  desk.Run(CardAt(3.0));
  const auto lost = desk.Board({1, 0}, "2026-12-10 11:02:00");
  ASSERT_TRUE(lost);
  EXPECT_FALSE(lost->saw_chances);
  EXPECT_EQ(desk.entries().size(), 2u);
}

TEST(TicketDesk, ClosingDuringARaceKeepsTheTicketsUnsettled) {
  LedgerRead kept;
  kept.purse = 700;
  kept.refills = 2;
  TicketDesk desk(kept);
  ASSERT_EQ(desk.book().BuyQuinella(3, 0, "700"), "");
  EXPECT_EQ(desk.KeptPurse(), 700);  // bought, not yet run: still the player's
  desk.Run(CardAt(3.0));
  const auto line = desk.Close("2026-12-10 11:03:00");
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->settled);
  EXPECT_EQ(line->tickets.at(0).stake, 700);
  EXPECT_EQ(line->purse, 700);
  EXPECT_EQ(line->refills, 2);
  EXPECT_EQ(desk.KeptPurse(), 700);
  EXPECT_FALSE(desk.Close("2026-12-10 11:03:01"));
}

}  // namespace
}  // namespace trotix
