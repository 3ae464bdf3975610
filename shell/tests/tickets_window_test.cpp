// The tickets' window as an adapter: F6 from either window shows and hides
// it beside the race window, the card, the player's choices and the board
// reach the ticket desk, and the ledger reaches its file. The rules are
// tested on the desk (tickets/tests).
#include "tickets_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "fake_platform.h"
#include "ledger_file.h"
#include "qt_main_window.h"
#include "race_blocks.h"

namespace trotix {
namespace {

void ReleaseF6(QWidget& focus) {
  QKeyEvent event(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier);
  QCoreApplication::sendEvent(&focus, &event);
}

TEST(TicketsWindow, F6ShowsItBesideTheRaceWindowWhichKeepsItsSize) {
  testing::FakePlatform fake;
  QtMainWindow window(fake.platform);
  window.form().Form_Load(1);
  const QSize size = window.size();
  ReleaseF6(window.cmdRun());
  EXPECT_TRUE(window.tickets().isVisible());
  EXPECT_EQ(window.size(), size);
  EXPECT_EQ(window.tickets().card().toPlainText().trimmed().toStdString(),
            QString::fromStdString(CardText(window.form().Card())).remove(QLatin1Char('\r')).trimmed().toStdString());
  ReleaseF6(window.tickets().stake());  // F6 in the tickets' window closes it too
  EXPECT_FALSE(window.tickets().isVisible());
}

TEST(TicketsWindow, BuysRacesToTheBoardAndKeepsTheLedgerLine) {
  testing::FakePlatform fake;
  QtMainWindow window(fake.platform);
  window.form().Form_Load(1);
  ReleaseF6(window.cmdRun());
  TicketsWindow& tickets = window.tickets();

  tickets.stake().setText(QStringLiteral("abc"));
  tickets.Buy();
  EXPECT_EQ(tickets.message().text(), "a stake must be a whole number, in steps of 100");
  tickets.stake().setText(QStringLiteral("300"));
  tickets.first().setValue(2);
  tickets.Buy();
  tickets.kind().setCurrentIndex(1);
  tickets.second().setValue(5);
  tickets.Buy();
  ASSERT_EQ(tickets.tickets().count(), 2);
  EXPECT_EQ(tickets.tickets().item(1)->text(), "馬連 2-5 300");
  EXPECT_EQ(tickets.purse().text(), "Purse 9400");

  window.cmdRun().click();
  for (int n = 0; n < 2000 && window.form().timer_on(); ++n) window.form().Timer1_Timer();
  ASSERT_FALSE(window.form().BoardText().empty());
  ASSERT_EQ(tickets.desk().entries().size(), 1u);
  const LedgerEntry& raced = tickets.desk().entries()[0];
  EXPECT_EQ(raced.order.first, window.form().race().FinishOrder[0].HorseIndex);
  EXPECT_EQ(raced.tickets[0].odds_tenths, PostedTenths(window.form().race().Horses[1].WinOdds));
  EXPECT_EQ(tickets.purse().text().toStdString(), PurseText(raced.purse, 0));
  EXPECT_NE(tickets.message().text().indexOf(QStringLiteral("Settled")), -1);

  const LedgerLoad kept = LoadLedgerFile(fake.platform.files.program_dir + "/" + kLedgerFileName);
  ASSERT_EQ(kept.read.entries.size(), 1u);
  EXPECT_EQ(LedgerLineText(kept.read.entries[0]), LedgerLineText(raced));
  EXPECT_EQ(kept.read.purse, raced.purse);
}

// Waits for the lab's answer to come back to the window's thread.
bool Measured(TicketsWindow& tickets) {
  for (int n = 0; n < 3000 && tickets.measuring(); ++n) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    QCoreApplication::processEvents();
  }
  return !tickets.measuring();
}

TEST(TicketsWindow, TheLabsChancesForTheCardOnShowAreShownAndMarkTheLedger) {
  testing::FakePlatform fake;
  QtMainWindow window(fake.platform);
  window.form().Form_Load(1);
  ReleaseF6(window.cmdRun());
  TicketsWindow& tickets = window.tickets();

  // The card changes while the lab measures: its late answer is dropped.
  tickets.MeasureChances(sim::kBlockRaces);
  EXPECT_FALSE(tickets.chances().isEnabled());
  RaceCard other = window.form().Card();
  other.horses[0].WinOdds += 1.0;
  tickets.ShowCard(other);
  ASSERT_TRUE(Measured(tickets));
  EXPECT_FALSE(tickets.desk().chances());
  EXPECT_NE(tickets.message().text().indexOf(QStringLiteral("dropped")), -1);

  tickets.ShowCard(window.form().Card());
  tickets.MeasureChances(sim::kBlockRaces);
  ASSERT_TRUE(Measured(tickets));
  ASSERT_TRUE(tickets.desk().chances());
  EXPECT_EQ(tickets.desk().chances()->races, sim::kBlockRaces);
  EXPECT_NE(tickets.card().toPlainText().indexOf(QStringLiteral("  worth x")), -1);
  EXPECT_FALSE(tickets.chances().isEnabled()) << "measured already";
  tickets.Buy();
  ASSERT_EQ(tickets.tickets().count(), 1);
  EXPECT_NE(tickets.tickets().item(0)->text().indexOf(QStringLiteral(", worth x")), -1);

  window.cmdRun().click();
  for (int n = 0; n < 2000 && window.form().timer_on(); ++n) window.form().Timer1_Timer();
  ASSERT_EQ(tickets.desk().entries().size(), 1u);
  EXPECT_TRUE(tickets.desk().entries()[0].saw_chances);
  EXPECT_NE(tickets.message().text().indexOf(QStringLiteral(", worth x")), -1) << "the settlement's worth";

  const std::string chart = fake.platform.files.program_dir + "/purse.svg";
  EXPECT_EQ(tickets.SaveChart(chart), "The purse's chart is saved to " + chart);
  std::ifstream saved(chart);
  const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("data-chances=\"1\""), std::string::npos);
  std::filesystem::remove(chart);

  // The CSV is written the same careful way: never through a planted link.
  const std::string csv = fake.platform.files.program_dir + "/ledger.csv";
  std::filesystem::create_symlink("/dev/null", csv);
  EXPECT_NE(tickets.ExportCsv(csv).find("could not be written"), std::string::npos);
  std::filesystem::remove(csv);
  EXPECT_EQ(tickets.ExportCsv(csv), "The ledger is exported to " + csv);
  std::ifstream exported(csv);
  std::string header;
  std::getline(exported, header);
  EXPECT_TRUE(header.starts_with("race,date,")) << header;
  std::filesystem::remove(csv);
}

TEST(TicketsWindow, ClosingDuringAMeasurementStopsItAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  {
    testing::FakePlatform fake;
    QtMainWindow window(fake.platform);
    window.form().Form_Load(1);
    ReleaseF6(window.cmdRun());
    window.tickets().MeasureChances();  // the full 100,000 races: seconds of work
    EXPECT_TRUE(window.tickets().measuring());
  }
  QCoreApplication::processEvents();  // nothing is left to answer a window gone
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

}  // namespace
}  // namespace trotix
