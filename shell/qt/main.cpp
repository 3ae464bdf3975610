// Trotix: six horses, 2000 metres, one window.
#include <QApplication>
#include <QFontDatabase>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/file_locations.h"
#include "platform/process_priority.h"
#include "platform/quit_signals.h"
#include "platform/standard_descriptors.h"
#include "picture_font.h"
#include "qt_main_window.h"
#include "platform/system_clock.h"
#include "random_source.h"
#include "scale_factor.h"
#include "terminal_text.h"

namespace {

trotix::QtMainWindow* g_form = nullptr;  // while the event loop runs

// The toolkit calls exit() when the X display goes away, with no close of
// the window; the position the window last had is stored then.
void SaveBeforeExit() {
  if (g_form != nullptr) g_form->SaveBeforeExit();
}

}  // namespace

int main(int argc, char** argv) {
  trotix::OpenStandardDescriptors();
  // A file size limit then makes a save's write fail, and the save removes
  // its temporary file, instead of the signal ending the game half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  // The window's class is "trotix" whatever the executable is called; the
  // desktop entry's name (packaging/) lets the desktop match the window to
  // its menu entry and icon.
  QCoreApplication::setApplicationName(QStringLiteral("trotix"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.trotix.Trotix"));
  // Qt takes any number here and a negative one crashed it before the window
  // showed: an impossible one is dropped before Qt reads it.
  if (const char* factor = std::getenv("QT_SCALE_FACTOR"); factor != nullptr && *factor != '\0' &&
                                                           !trotix::UsableScaleFactor(factor)) {
    std::fprintf(stderr, "Trotix: QT_SCALE_FACTOR=%s is not a scale factor from %g to %g, so it is ignored\n",
                 trotix::TerminalSafe(factor).c_str(), trotix::kLeastScaleFactor, trotix::kGreatestScaleFactor);
    unsetenv("QT_SCALE_FACTOR");
  }
  QApplication app(argc, argv);
  trotix::SystemClock clock;
  trotix::Pcg32Random random;
  trotix::NicePriority priority;
  trotix::MessageBoxDialogs dialogs;
  const trotix::Platform platform{clock, random, trotix::ClockSeed(), priority, dialogs, trotix::LocateFiles()};
  trotix::QtMainWindow form(platform);
  // A logout closes the window as its close box does: the position is
  // stored and a race under way simply ends. A modal box open at the time
  // closes first.
  const trotix::QuitSignals quit([](int) { QApplication::closeAllWindows(); });
  form.Start();
  // The race picture carries its own glyphs; the F7 listing is Qt's text.
  // Asked once the loop runs: reading the font database takes some 8 ms,
  // which the first frame need not wait for.
  QTimer::singleShot(0, [] {
    if (!QFontDatabase::hasFamily(QString::fromLatin1(trotix::kPictureFontFamily))) {
      std::fprintf(stderr, "Trotix: the font %s is missing, so the F7 listing shows 【】 and the styles as boxes; install the package fonts-ipafont-gothic\n",
                   trotix::kPictureFontFamily);
    }
  });
  g_form = &form;
  std::atexit(SaveBeforeExit);
  const int status = app.exec();
  g_form = nullptr;
  return status;
}
