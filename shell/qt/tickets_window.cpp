#include "tickets_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <QMetaObject>

#include <algorithm>
#include <cstdio>

#include "figure_text.h"
#include "figures.h"
#include "ledger.h"
#include "ledger_file.h"
#include "purse_chart_svg.h"
#include "simulation.h"
#include "trusted_path.h"
#include "terminal_text.h"
#include "texts.h"
#include "whole_file.h"

namespace trotix {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string Now() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(); }

// The ledger kept at `path`. One that could not be used and could not be
// moved aside either is not written over: `path` is dropped for the session.
LedgerLoad Kept(std::string& path) {
  if (path.empty()) return {};
  LedgerLoad load = LoadLedgerFile(path);
  if (!load.notice.empty()) std::fprintf(stderr, "%s\n", load.notice.c_str());
  if (!load.notice.empty() && load.kept_as.empty()) path.clear();
  return load;
}

}  // namespace

TicketsWindow::TicketsWindow(std::string ledger_path, bool may_make_folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ledger_path_(std::move(ledger_path)),
      may_make_folder_(may_make_folder) {
  const LedgerLoad kept = Kept(ledger_path_);
  desk_ = TicketDesk(kept.read);
  stored_purse_ = desk_.KeptPurse();
  stored_refills_ = desk_.book().refills();
  BuildControls();
  Refresh();
  Tell(kept.notice);
}

TicketsWindow::~TicketsWindow() {
  // Before the window is gone: an answer posted meanwhile is dropped with it.
  measurement_.request_stop();
  if (measurement_.joinable()) measurement_.join();
}

void TicketsWindow::BuildControls() {
  setWindowTitle(FromUtf8(std::string(kWindowTitle) + " - Tickets"));
  auto* grid = new QGridLayout(this);
  card_ = new QPlainTextEdit(this);
  card_->setReadOnly(true);
  card_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  card_->setAccessibleName(QStringLiteral("Race card"));
  card_->setLineWrapMode(QPlainTextEdit::NoWrap);
  grid->addWidget(card_, 0, 0, 1, 4);

  kind_ = new QComboBox(this);
  kind_->addItem(FromUtf8(kWinName));
  kind_->addItem(FromUtf8(kQuinellaName));
  kind_->setAccessibleName(QStringLiteral("Kind"));
  first_ = new QSpinBox(this);
  second_ = new QSpinBox(this);
  for (QSpinBox* horse : {first_, second_}) horse->setRange(1, static_cast<int>(kHorseCount));
  first_->setAccessibleName(QStringLiteral("Horse"));
  second_->setAccessibleName(QStringLiteral("Second horse"));
  second_->setValue(2);
  stake_ = new QLineEdit(QStringLiteral("100"), this);
  stake_->setAccessibleName(QStringLiteral("Stake"));
  buy_ = new QPushButton(QStringLiteral("Buy"), this);
  grid->addWidget(kind_, 1, 0);
  grid->addWidget(first_, 1, 1);
  grid->addWidget(second_, 1, 2);
  chances_ = new QPushButton(QStringLiteral("Chances"), this);
  chances_->setToolTip(FromUtf8("Race this card " + sim::Grouped(sim::kCardChancesRaces) +
                                " times in the lab: what each ticket is worth on average"));
  grid->addWidget(chances_, 1, 3);
  grid->addWidget(stake_, 2, 0, 1, 3);
  grid->addWidget(buy_, 2, 3);

  tickets_ = new QListWidget(this);
  tickets_->setAccessibleName(QStringLiteral("Tickets"));
  take_back_ = new QPushButton(QStringLiteral("Take back"), this);
  grid->addWidget(tickets_, 3, 0, 1, 3);
  grid->addWidget(take_back_, 3, 3, Qt::AlignTop);

  purse_ = new QLabel(this);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  refill_ = new QPushButton(QStringLiteral("Refill"), this);
  export_ = new QPushButton(QStringLiteral("Export CSV..."), this);
  grid->addWidget(purse_, 4, 0, 1, 2);
  grid->addWidget(refill_, 4, 2);
  grid->addWidget(export_, 4, 3);
  chart_ = new QPushButton(QStringLiteral("Save chart..."), this);
  grid->addWidget(chart_, 5, 3);
  grid->addWidget(message_, 6, 0, 1, 4);

  connect(kind_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  connect(buy_, &QPushButton::clicked, this, [this] { Buy(); });
  connect(stake_, &QLineEdit::returnPressed, this, [this] { Buy(); });
  connect(take_back_, &QPushButton::clicked, this, [this] { TakeBack(); });
  connect(refill_, &QPushButton::clicked, this, [this] { Refill(); });
  connect(export_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export the ledger"),
                                                      QString::fromUtf8(kLedgerCsvName.data(),
                                                                        static_cast<qsizetype>(kLedgerCsvName.size())),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) Tell(ExportCsv(path.toStdString()));
  });
  connect(chances_, &QPushButton::clicked, this, [this] { MeasureChances(); });
  connect(chart_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the purse's chart"),
                                                      QStringLiteral("trotix-purse.svg"),
                                                      QStringLiteral("SVG (*.svg)"));
    if (!path.isEmpty()) Tell(SaveChart(path.toStdString()));
  });
  resize(600, 560);
}

void TicketsWindow::ShowCard(const RaceCard& card) {
  desk_.ShowCard(card);
  Refresh();
}

void TicketsWindow::RaceStarted(const RaceCard& raced) {
  desk_.Run(raced);
  message_->clear();
  Refresh();
}

void TicketsWindow::BoardShown(BoardOrder order) {
  const std::optional<LedgerEntry> entry = desk_.Board(order, Now());
  if (entry) {
    Store(entry);
    Tell(desk_.settlement());
  }
  Refresh();
}

void TicketsWindow::GameClosing() {
  measurement_.request_stop();
  const std::optional<LedgerEntry> entry = desk_.Close(Now());
  if (entry || desk_.KeptPurse() != stored_purse_ || desk_.book().refills() != stored_refills_) {
    Store(entry, /*tell=*/false);
  }
}

std::string TicketsWindow::ExportCsv(const std::string& path) const {
  // Written as the chart is: whole or not at all, never through another's link.
  const WholeFileTarget written = WriteWholeFile(path, LedgerCsv(desk_.entries()));
  if (written.status == FileStatus::kOk) return "The ledger is exported to " + path;
  return "The ledger could not be written to " + path + " (" + FileProblem(written) + ")";
}

std::string TicketsWindow::SaveChart(const std::string& path) const {
  const WholeFileTarget written = WriteWholeFile(path, sim::PurseChartSvg(desk_.entries()));
  if (written.status == FileStatus::kOk) return "The purse's chart is saved to " + path;
  return "The purse's chart could not be written to " + path + " (" + FileProblem(written) + ")";
}

void TicketsWindow::MeasureChances(std::uint64_t races) {
  if (measuring_now_ || !desk_.has_card() || desk_.book().locked()) return;
  if (measurement_.joinable()) measurement_.join();  // the last one, already answered
  measuring_now_ = true;
  Tell("The lab races this card " + sim::Grouped(races) + " times...");
  Refresh();
  const RaceCard card = desk_.card();
  measurement_ = std::jthread([this, card, races](std::stop_token stop) {
    const sim::RunSetup setup = sim::CardRunSetup(card, sim::kCardChancesSeed, races);
    const sim::RunResult run = sim::Simulate(setup, std::max(1u, std::thread::hardware_concurrency()), {}, stop);
    if (run.stopped) return;  // the window is closing
    std::optional<CardChances> chances;
    if (run.thread_error.empty()) chances = sim::CardChancesOf(card, sim::ComputeFigures(setup, run.tally));
    QMetaObject::invokeMethod(
        this,
        [this, chances, problem = run.thread_error] {
          measuring_now_ = false;
          if (chances) {
            TakeChances(*chances);
          } else {
            Tell("The lab could not start its threads (" + problem + ")");
            Refresh();
          }
        },
        Qt::QueuedConnection);
  });
}

void TicketsWindow::TakeChances(const CardChances& chances) {
  if (desk_.ShowChances(chances)) {
    Tell("The card reads what each ticket is worth on average, after " + sim::Grouped(chances.races) +
         " races in the lab.");
  } else {
    Tell("The chances came too late for the card they were measured on, so they are dropped.");
  }
  Refresh();
}

void TicketsWindow::Buy() {
  const std::string stake = stake_->text().toStdString();
  const int a = first_->value() - 1;
  const std::string refusal = kind_->currentIndex() == 0 ? desk_.book().BuyWin(a, stake)
                                                         : desk_.book().BuyQuinella(a, second_->value() - 1, stake);
  Tell(refusal);
  Refresh();
}

void TicketsWindow::TakeBack() {
  const int row = tickets_->currentRow();
  Tell(row < 0 ? "choose a ticket to take back" : desk_.book().TakeBack(static_cast<std::size_t>(row)));
  Refresh();
}

void TicketsWindow::Refill() {
  const std::string refusal = desk_.book().Refill();
  Tell(refusal);
  if (refusal.empty()) Store(std::nullopt);
  Refresh();
}

void TicketsWindow::Tell(const std::string& line) { message_->setText(FromUtf8(line)); }

void TicketsWindow::Store(const std::optional<LedgerEntry>& entry, bool tell) {
  stored_purse_ = desk_.KeptPurse();
  stored_refills_ = desk_.book().refills();
  if (ledger_path_.empty()) return;
  if (const std::string failed = may_make_folder_ ? MakeTrustedFolder(FolderOf(ledger_path_)) : ""; !failed.empty()) {
    const std::string problem = "Trotix: the folder " + TerminalSafe(failed) + " could not be made safely, so the ledger is not kept";
    std::fprintf(stderr, "%s\n", problem.c_str());
    if (tell) Tell(problem);
    return;
  }
  const std::string problem =
      StoreLedger(ledger_path_, stored_purse_, stored_refills_, entry, desk_.entries().size());
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    if (tell) Tell(problem);
  }
}

void TicketsWindow::Refresh() {
  card_->setPlainText(FromUtf8(desk_.CardShownText()));
  second_->setEnabled(kind_->currentIndex() == 1);
  const TicketBook& book = desk_.book();
  tickets_->clear();
  for (const std::string& line : desk_.TicketLines()) tickets_->addItem(FromUtf8(line));
  purse_->setText(FromUtf8(PurseText(book.purse(), book.refills())));
  buy_->setEnabled(!book.locked());
  take_back_->setEnabled(!book.locked() && !book.tickets().empty());
  refill_->setEnabled(book.can_refill());
  chances_->setEnabled(desk_.has_card() && !book.locked() && !measuring_now_ && !desk_.chances());
}

}  // namespace trotix
