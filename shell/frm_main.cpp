#include "frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "field_file_loader.h"
#include "field_setup.h"
#include "main_window.h"
#include "result_board.h"
#include "texts.h"
#include "track.h"
#include "twips.h"

namespace trotix {

namespace {

void Place(QWidget& widget, const Placement& at) {
  widget.setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.width),
                     TwipsToPixels(at.height));
}

constexpr QRgb kPictogramGrey = qRgb(128, 128, 128);  // drawn transparent

QIcon RunPictogram() {
  QImage image = QImage(QStringLiteral(":/shell/run.xpm")).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0x00ffffff) == (kPictogramGrey & 0x00ffffff)) image.setPixel(x, y, 0);
    }
  }
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

frmMain::frmMain(const Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      picMain_(new PictureBox(TwipsToPixels(kPicMain.width), TwipsToPixels(kPicMain.height), this)),
      surfaces_{picMain_->surface(), picWork_} {
  BuildControls();
  qApp->installEventFilter(this);
}

frmMain::~frmMain() { qApp->removeEventFilter(this); }

void frmMain::BuildControls() {
  setWindowTitle(QString::fromUtf8(kWindowTitle.data(), static_cast<qsizetype>(kWindowTitle.size())));
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
  kpbDist_->setValue(static_cast<int>(kRaceMetres));

  cmdRun_ = new QPushButton(this);
  Place(*cmdRun_, kCmdRun);
  cmdRun_->setIcon(RunPictogram());
  cmdRun_->setIconSize(QSize(16, 16));
  cmdRun_->setAccessibleName(QStringLiteral("Run"));
  connect(cmdRun_, &QPushButton::clicked, this, [this] { cmdRun_Click(); });

  Timer1_.setInterval(kTickMilliseconds);
  Timer1_.setTimerType(Qt::PreciseTimer);
  connect(&Timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void frmMain::Start() {
  Form_Load();
  show();
}

// ---- The handlers ----

void frmMain::Form_Load() {
  platform_.random.Seed(platform_.random_seed);
  LoadWindowPosition();
  NewRace();
}

void frmMain::Form_Unload(std::int16_t& /*cancel: left as it is, so unloading always proceeds*/) {
  SaveWindowPosition();
}

void frmMain::cmdRun_Click() {
  platform_.priority.SetPriorityClass(kRealtimePriorityClass);
  NewRace();
  cmdRun_->setEnabled(false);
  Timer1_.start();
  race_.StartTime = platform_.clock.SecondsSinceMidnight();
}

void frmMain::Timer1_Timer() {
  if (in_tick_ || unloaded_) return;
  in_tick_ = true;
  RaceTick();
  in_tick_ = false;
}

void frmMain::Form_KeyUp(std::int16_t key_code, std::int16_t /*shift: modifiers do not matter*/) {
  if (key_code == kVkF7 && (race_.Phase == kPhaseReady || race_.Phase == kPhaseOver)) {
    ShowFieldListing();
    return;
  }
  const bool run_enabled = cmdRun_->isEnabled();
  if (key_code == kVkF5 && run_enabled) cmdRun_Click();
}

void frmMain::closeEvent(QCloseEvent* event) {
  std::int16_t cancel = 0;
  Form_Unload(cancel);
  // The window is gone: a race under way is abandoned, no tick comes again.
  unloaded_ = true;
  Timer1_.stop();
  event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  // The window previews the keyboard: F5 and F7 act on release whichever
  // control has the focus. A held key's auto-repeat releases do not count,
  // and nothing acts while a modal box is open.
  if (event->type() != QEvent::KeyRelease) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this || QApplication::activeModalWidget() != nullptr) return false;
  if (key->key() != Qt::Key_F5 && key->key() != Qt::Key_F7) return false;
  if (!key->isAutoRepeat()) {
    Form_KeyUp(key->key() == Qt::Key_F5 ? kVkF5 : kVkF7, 0);
  }
  return true;  // handled once, not again by every parent on the way up
}

// ---- The procedures ----

void frmMain::NewRace() {
  // The folder's bytes as the system gave them, whatever they are.
  const std::string folder = platform_.files.FieldFileFolder();
  const std::optional<FieldRecords> file =
      folder.empty() ? std::nullopt : LoadFieldFile(folder + "/" + kFieldFileName);
  SetUpField(race_, platform_.random, file ? &*file : nullptr);
  kpbDist_->setFwcolor(kBarBlue);
  DrawScene();
}

void frmMain::RaceTick() { trotix::RaceTick(race_, platform_.random, *this); }

void frmMain::DrawScene() { trotix::DrawScene(race_, sprites_, surfaces_, platform_.clock, *this); }

void frmMain::ShowResults() {
  trotix::ShowResults(race_, sprites_, picMain_->surface());
  picMain_->commitPicture();
}

void frmMain::ShowFieldListing() {
  platform_.dialogs.ShowInformation(
      this, QString::fromUtf8(kFieldListingTitle.data(), static_cast<qsizetype>(kFieldListingTitle.size())),
      QString::fromStdString(FieldListingText(race_)));
}

// ---- What the race and the drawing ask of the window ----

void frmMain::SetDistanceValue(std::int32_t metres) { kpbDist_->setValue(metres); }
void frmMain::StopTimer() { Timer1_.stop(); }
void frmMain::RestoreNormalPriority() { platform_.priority.SetPriorityClass(kNormalPriorityClass); }
void frmMain::EnableRun() { cmdRun_->setEnabled(true); }
void frmMain::DoEvents() { QCoreApplication::processEvents(); }
void frmMain::CommitPicture() { picMain_->commitPicture(); }
void frmMain::SetBarColour(std::uint32_t bgr) { kpbDist_->setFwcolor(bgr); }

}  // namespace trotix
