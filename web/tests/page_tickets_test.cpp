// The page's tickets: F6, the card, a race settled into the ledger the page
// keeps whole, and a damaged ledger that starts a new purse.
#include "page_tickets.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "card_chances.h"
#include "front_end.h"
#include "scripted_clock.h"
#include "scripted_page.h"
#include "scripted_race.h"

namespace trotix::web {
namespace {

class PageTicketsTest : public ::testing::Test {
 protected:
  testing::ScriptedClock clock;
  testing::ScriptedPage page;
  FrontEnd front_end{clock, page};
  frmMain& form = front_end.form();
  PageTickets& tickets = front_end.tickets();
  void SetUp() override { form.Form_Load(testing::kScriptedRaceSeed); }
};

TEST(LocalDate, WritesTheLedgersDateOfALocalTime) {
  const struct {
    double ms;
    const char* text;
  } dates[] = {
      {0, "1970-01-01 00:00:00"},
      {1796899212000.0, "2026-12-10 10:40:12"},
      {1709251199999.0, "2024-02-29 23:59:59"},  // a leap day's last millisecond
      {-1, "1969-12-31 23:59:59"},               // before 1970, rounded down
  };
  for (const auto& d : dates) EXPECT_EQ(LocalDateText(d.ms), d.text) << d.ms;
}

TEST_F(PageTicketsTest, F6AsksThePageAndShowsTheCardTheNextRunRaces) {
  form.Form_KeyUp(kVkF6, 0);
  EXPECT_EQ(page.toggles, 1);
  EXPECT_EQ(tickets.CardText(), CardText(form.Card()));
  EXPECT_FALSE(tickets.CardText().empty());
}

// While the race runs the ledger is kept as if the page closed then: the
// race unsettled and its stakes back; the board keeps it settled.
TEST_F(PageTicketsTest, ARaceIsKeptUnsettledWhileItRunsAndSettledAtTheBoard) {
  ASSERT_EQ(tickets.Buy(false, 3, 0, "300"), "");
  ASSERT_EQ(tickets.Buy(true, 5, 2, " 200"), "");
  EXPECT_NE(tickets.StateJson().find(R"("tickets":["単勝【3】 300","馬連 2-5 200"])"), std::string::npos)
      << tickets.StateJson();
  const int changes = tickets.ledger_changes();
  form.PressRun();
  EXPECT_GT(tickets.ledger_changes(), changes);
  const LedgerRead running = ReadLedgerText(tickets.LedgerText());
  ASSERT_TRUE(running.ok) << running.problem;
  EXPECT_EQ(running.purse, kPurseStart);
  ASSERT_EQ(running.entries.size(), 1u);
  EXPECT_FALSE(running.entries[0].settled);
  EXPECT_TRUE(tickets.desk().book().locked());  // the race itself goes on

  const std::string before = tickets.StateJson();
  ASSERT_TRUE(testing::DriveRace(form, clock, page.interval, [](const frmMain&) {}));
  const LedgerRead settled = ReadLedgerText(tickets.LedgerText());
  ASSERT_TRUE(settled.ok) << settled.problem;
  ASSERT_EQ(settled.entries.size(), 1u);
  EXPECT_TRUE(settled.entries[0].settled);
  EXPECT_EQ(settled.entries[0].date, page.date);
  std::int64_t paid = 0;
  for (const Ticket& t : tickets.desk().book().settled()) paid += t.payout;
  EXPECT_EQ(settled.purse, kPurseStart - 500 + paid);
  const std::string settlement = tickets.desk().settlement();
  ASSERT_TRUE(settlement.starts_with("Settled, ")) << settlement;
  const std::string state = tickets.StateJson();
  EXPECT_NE(state.find(R"("news":")" + settlement.substr(0, settlement.find('\n'))), std::string::npos) << state;
  EXPECT_NE(state.find(R"("settlement":"Settled, )"), std::string::npos) << state;
  EXPECT_NE(state, before);
  EXPECT_EQ(tickets.StateJson(), state);  // told once: asking again tells nothing new
}

// The lab's chances reach the desk only for the card on show, as the page
// hands them across (the field the lab raced, then the numbers), and then
// the card shows what each ticket is worth.
TEST_F(PageTicketsTest, ChancesAreTakenOnlyForTheCardOnShow) {
  const RaceCard card = form.Card();
  std::array<double, 3 * kHorseCount> field{};
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    field[h] = card.horses[h].Speed;
    field[kHorseCount + h] = card.horses[h].Stamina;
    field[2 * kHorseCount + h] = card.horses[h].Style;
  }
  std::array<double, sim::kCardChancesNumbers> numbers{1000};
  for (std::size_t i = 1; i < numbers.size(); i += 3) {
    numbers[i] = 0.15;
    numbers[i + 1] = 0.1;
    numbers[i + 2] = 0.2;
  }
  std::array<double, 3 * kHorseCount> other = field;
  other[0] += 1.0;
  EXPECT_FALSE(tickets.TakeChances(other.data(), numbers.data()));
  EXPECT_EQ(tickets.CardText(), CardText(card));
  EXPECT_TRUE(tickets.TakeChances(field.data(), numbers.data()));
  EXPECT_NE(tickets.CardText(), CardText(card));
  ASSERT_EQ(tickets.Buy(false, 1, 0, "100"), "");
  EXPECT_NE(tickets.StateJson().find("worth"), std::string::npos) << tickets.StateJson();
}

TEST_F(PageTicketsTest, ThePursesChartIsDrawnWideAndNarrow) {
  const std::string wide = tickets.PurseChart(sim::ChartLayout::kWide);
  const std::string narrow = tickets.PurseChart(sim::ChartLayout::kNarrow);
  EXPECT_TRUE(wide.starts_with("<svg")) << wide.substr(0, 40);
  EXPECT_TRUE(narrow.starts_with("<svg")) << narrow.substr(0, 40);
  EXPECT_NE(wide, narrow);
}

TEST_F(PageTicketsTest, ADamagedLedgerIsOneLineAndANewPurse) {
  ASSERT_EQ(front_end.RestoreTickets("[Ledger]\r\nPurse=700\r\nRefills=2\r\n"), "");
  EXPECT_EQ(tickets.desk().book().purse(), 700);
  EXPECT_FALSE(tickets.CardText().empty());  // the card is back with the kept purse
  const std::string line = front_end.RestoreTickets("[Ledger]\r\nPurse=lots\r\n");
  EXPECT_EQ(line, "The ledger kept in this browser is damaged (line 2 holds no purse), so a new purse is started.");
  EXPECT_EQ(tickets.desk().book().purse(), kPurseStart);
  EXPECT_EQ(tickets.desk().book().refills(), 0);
  EXPECT_NE(tickets.StateJson().find(R"("message":"The ledger kept)"), std::string::npos);
}

TEST_F(PageTicketsTest, RefusalsAreTheBooksLinesAndTheLedgerKeepsARefill) {
  EXPECT_EQ(tickets.Buy(false, 7, 0, "100"), "there is no such horse");
  EXPECT_EQ(tickets.TakeBack(-1), "there is no such ticket");
  EXPECT_EQ(tickets.Refill(), "only an empty purse is refilled");
  ASSERT_EQ(tickets.Buy(false, 1, 0, "10000"), "");
  EXPECT_EQ(tickets.Refill(), "only an empty purse is refilled");  // a ticket is still out
  ASSERT_EQ(tickets.TakeBack(0), "");
  ASSERT_EQ(front_end.RestoreTickets("[Ledger]\r\nPurse=0\r\n"), "");
  const int changes = tickets.ledger_changes();
  ASSERT_EQ(tickets.Refill(), "");
  EXPECT_EQ(tickets.ledger_changes(), changes + 1);
  EXPECT_EQ(tickets.LedgerText(), "[Ledger]\r\nPurse=10000\r\nRefills=1\r\n");
}

}  // namespace
}  // namespace trotix::web
