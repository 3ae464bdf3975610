// Trotix: six horses, 2000 metres, one window.
#include <QApplication>

#include <csignal>

#include "frm_main.h"
#include "platform/dialogs.h"
#include "platform/file_locations.h"
#include "platform/process_priority.h"
#include "platform/standard_descriptors.h"
#include "platform/system_clock.h"
#include "random_source.h"

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
  QApplication app(argc, argv);
  trotix::SystemClock clock;
  trotix::Pcg32Random random;
  trotix::NicePriority priority;
  trotix::MessageBoxDialogs dialogs;
  const trotix::Platform platform{
      clock, random, trotix::ClockSeed(), priority, dialogs,
      trotix::LocateFiles(trotix::ProgramFolder(), trotix::UserFolder())};
  trotix::frmMain form(platform);
  form.Start();
  return app.exec();
}
