// The tickets' window on the desktop, beside the race window: the race
// card, the purse, buying and taking back tickets, the settlement after the
// board, refill, the ledger's CSV, the lab's chances for the card on show
// and the purse's chart. Thin: every rule is the ticket desk's (tickets/)
// and every measure and drawing the lab's (sim/); the window shows them and
// passes the player's choices in. The ledger file is kept through
// ledger_file.h.
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>
#include <thread>

#include "card_chances.h"
#include "ticket_desk.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace trotix {

class TicketsWindow final : public QWidget {
 public:
  // `ledger_path`: where the ledger is kept, "" for nowhere; its folder is
  // made on the first store when `may_make_folder` (the user's folder).
  TicketsWindow(std::string ledger_path, bool may_make_folder, QWidget* parent);
  // A measurement under way is stopped and waited for (a block of races).
  ~TicketsWindow() override;

  // The card the next Run races, between races.
  void ShowCard(const RaceCard& card);
  // The race has started with field `raced`: the tickets are locked.
  void RaceStarted(const RaceCard& raced);
  // The board: settles and keeps the race in the ledger.
  void BoardShown(BoardOrder order);
  // The game is closing: a race under way leaves its tickets unsettled.
  // Plain data and files only: this also runs from exit().
  void GameClosing();
  // Writes the ledger as CSV to `path`; "" or why not.
  std::string ExportCsv(const std::string& path) const;
  // Writes the purse's chart (SVG) to `path` with the careful whole-file
  // write; the line that tells the player how it went.
  std::string SaveChart(const std::string& path) const;

  // Measures the chances of the card on show: `races` races of its field in
  // the lab, on a thread of their own; the answer comes back to this window's
  // thread, and TakeChances takes it.
  void MeasureChances(std::uint64_t races = sim::kCardChancesRaces);
  bool measuring() const { return measuring_now_; }
  // The lab's answer: shown when it is for the card still on show, dropped
  // otherwise.
  void TakeChances(const CardChances& chances);

  // What the player can do, for tests as for the buttons.
  void Buy();
  void TakeBack();
  void Refill();

  const TicketDesk& desk() const { return desk_; }
  QComboBox& kind() { return *kind_; }
  QSpinBox& first() { return *first_; }
  QSpinBox& second() { return *second_; }
  QLineEdit& stake() { return *stake_; }
  QListWidget& tickets() { return *tickets_; }
  QLabel& message() { return *message_; }
  QLabel& purse() { return *purse_; }
  QPlainTextEdit& card() { return *card_; }
  QPushButton& chances() { return *chances_; }

 private:
  void BuildControls();
  void Refresh();
  void Tell(const std::string& line);
  // Keeps the purse and, when given, the race's line; a failure is one
  // line on standard error, and in the window when `tell`.
  void Store(const std::optional<LedgerEntry>& entry, bool tell = true);

  std::string ledger_path_;
  bool may_make_folder_ = false;
  TicketDesk desk_;
  std::int64_t stored_purse_ = 0;
  int stored_refills_ = 0;
  QPlainTextEdit* card_ = nullptr;
  QComboBox* kind_ = nullptr;
  QSpinBox* first_ = nullptr;
  QSpinBox* second_ = nullptr;
  QLineEdit* stake_ = nullptr;
  QPushButton* buy_ = nullptr;
  QListWidget* tickets_ = nullptr;
  QPushButton* take_back_ = nullptr;
  QLabel* purse_ = nullptr;
  QLabel* message_ = nullptr;
  QPushButton* refill_ = nullptr;
  QPushButton* export_ = nullptr;
  QPushButton* chances_ = nullptr;
  QPushButton* chart_ = nullptr;
  bool measuring_now_ = false;
  // The measurement's thread; its stop is asked for when the game closes.
  std::jthread measurement_;
};

}  // namespace trotix
