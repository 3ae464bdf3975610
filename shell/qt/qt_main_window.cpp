#include "qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

#include "field_file.h"
#include "ledger_file.h"
#include "tickets_window.h"
#include "main_window_layout.h"
#include "run_pictogram.h"
#include "terminal_text.h"
#include "texts.h"
#include "twips.h"

namespace trotix {

namespace {

void Place(QWidget& widget, const Placement& at) {
  widget.setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.width),
                     TwipsToPixels(at.height));
}

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The shared pictogram with its grey made transparent.
QIcon RunIcon() {
  const Surface& pictogram = RunPictogram();
  QImage image(pictogram.width(), pictogram.height(), QImage::Format_ARGB32);
  for (int y = 0; y < pictogram.height(); ++y) {
    for (int x = 0; x < pictogram.width(); ++x) {
      const Pixel p = pictogram.At(x, y);
      image.setPixel(x, y, p == kPictogramGrey ? 0u : qRgb(RedOf(p), GreenOf(p), BlueOf(p)));
    }
  }
  return QIcon(QPixmap::fromImage(image));
}

// Qt's function keys as Windows' virtual-key codes, which number them from
// VK_F1 = 0x70; 0 for any other key.
std::int16_t VirtualKeyCode(int qt_key) {
  if (qt_key < Qt::Key_F1 || qt_key > Qt::Key_F24) return 0;
  return static_cast<std::int16_t>(0x70 + (qt_key - Qt::Key_F1));
}

}  // namespace

QtMainWindow::QtMainWindow(const Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      form_(*this, &platform_.random),
      picMain_(new PictureBox(form_.picMain(), this)) {
  BuildControls();
  const PositionSave ledger_place = platform_.files.PositionFileForSave();
  tickets_ = new TicketsWindow(ledger_place.path.empty() ? "" : LedgerPathBeside(ledger_place.path),
                               ledger_place.may_make_folder, this);
  qApp->installEventFilter(this);
}

QtMainWindow::~QtMainWindow() { qApp->removeEventFilter(this); }

void QtMainWindow::BuildControls() {
  setWindowTitle(FromUtf8(kWindowTitle));
  setWindowIcon(QIcon(QStringLiteral(":/shell/trotix.xpm")));
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);

  // In tab order.
  Place(*picMain_, kPicMain);

  kpbDist_ = new DistanceBar(this);
  Place(*kpbDist_, kKpbDist);
  kpbDist_->setMaximum(static_cast<int>(kRaceMetres));
  kpbDist_->setValue(form_.controls().bar_value);

  cmdRun_ = new QPushButton(this);
  Place(*cmdRun_, kCmdRun);
  cmdRun_->setIcon(RunIcon());
  cmdRun_->setIconSize(QSize(16, 16));
  cmdRun_->setAccessibleName(QStringLiteral("Run"));
  connect(cmdRun_, &QPushButton::clicked, this, [this] { form_.PressRun(); });

  Timer1_.setTimerType(Qt::PreciseTimer);
  connect(&Timer1_, &QTimer::timeout, this, [this] { form_.Timer1_Timer(); });
}

void QtMainWindow::Start() {
  form_.Form_Load(platform_.random_seed);
  show();
}

// ---- Qt's events into the handlers ----

void QtMainWindow::closeEvent(QCloseEvent* event) {
  std::int16_t cancel = 0;
  // Where the window stands, asked while the window system is there to
  // answer; unloading stores it.
  last_position_ = pos();
  form_.Form_Unload(cancel);
  tickets_->GameClosing();
  tickets_->close();
  event->accept();
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The window previews the keyboard: a function key acts on release
  // whichever control has the focus. A held key's auto-repeat releases do
  // not count, and nothing acts while a modal box is open.
  if (event->type() != QEvent::KeyRelease) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  auto* widget = qobject_cast<QWidget*>(watched);
  // The tickets' window passes its function keys on, so F6 closes it too.
  if (widget == nullptr || (widget->window() != this && widget->window() != tickets_) ||
      QApplication::activeModalWidget() != nullptr) {
    return false;
  }
  const std::int16_t code = VirtualKeyCode(key->key());
  if (code == 0) return false;
  if (!key->isAutoRepeat()) form_.Form_KeyUp(code, 0);
  return true;  // handled once, not again by every parent on the way up
}

// ---- What the main window asks of the desktop ----

void QtMainWindow::StartTimer(int interval_ms) {
  Timer1_.setInterval(interval_ms);
  Timer1_.start();
}

void QtMainWindow::Present(const Surface&, const ControlsState& controls) {
  picMain_->commitPicture();
  kpbDist_->setValue(controls.bar_value);
  kpbDist_->setFwcolor(controls.bar_colour);
  cmdRun_->setEnabled(controls.run_enabled);
  if (tickets_ != nullptr && tickets_->isVisible()) ShowNextCard();
}

void QtMainWindow::ShowNextCard() {
  if (const std::optional<RaceCard> card = form_.CardForTickets()) tickets_->ShowCard(*card);
}

void QtMainWindow::ToggleTickets() {
  if (tickets_->isVisible()) {
    tickets_->hide();
    return;
  }
  ShowNextCard();
  tickets_->move(frameGeometry().topRight() + QPoint(8, 0));
  tickets_->show();
  tickets_->raise();
  tickets_->activateWindow();
  tickets_->stake().setFocus();
}

void QtMainWindow::RaceStarted(const RaceState& race) { tickets_->RaceStarted(CardOf(race)); }

void QtMainWindow::BoardShown(const RaceState& race) { tickets_->BoardShown(BoardOrderOf(race)); }

void QtMainWindow::DoEvents() { QCoreApplication::processEvents(); }

void QtMainWindow::ShowListing(std::string_view title, std::string_view text) {
  platform_.dialogs.ShowInformation(this, FromUtf8(title), FromUtf8(text));
}

FieldFileBytes QtMainWindow::FieldFile() {
  // The folder's bytes as the system gave them, whatever they are; read at
  // every new race, so a file put in place counts from the next race on.
  const std::string folder = platform_.files.FieldFileFolder();
  return folder.empty() ? FieldFileBytes{} : ReadFieldFileBytes(folder + "/" + kFieldFileName);
}

// The picture's accessible description follows the race, for a screen
// reader that asks; nothing is spoken unasked.
void QtMainWindow::Announce(std::string_view text) { picMain_->setAccessibleDescription(FromUtf8(text)); }

void QtMainWindow::ShowFieldFileNotice(std::string_view notice) {
  // A name in the notice may hold control characters: shown as escapes, so
  // that no file name can retitle the terminal or turn the line around.
  if (!notice.empty()) std::fprintf(stderr, "Trotix: %s\n", TerminalSafe(notice).c_str());
}

}  // namespace trotix
