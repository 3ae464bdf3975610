// Trotix: six horses, 2000 metres, one window.
#include <QApplication>
#include <QStandardPaths>

#include "frm_main.h"
#include "platform/dialogs.h"
#include "platform/file_locations.h"
#include "platform/process_priority.h"
#include "platform/system_clock.h"
#include "random_source.h"

int main(int argc, char** argv) {
  // The user's folder is ~/.config/trotix whatever the executable is called;
  // the desktop entry's name (packaging/) lets the desktop match the window
  // to its menu entry and icon.
  QCoreApplication::setApplicationName(QStringLiteral("trotix"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.trotix.Trotix"));
  QApplication app(argc, argv);
  trotix::SystemClock clock;
  trotix::Pcg32Random random;
  trotix::NicePriority priority;
  trotix::MessageBoxDialogs dialogs;
  const trotix::Platform platform{
      clock, random, trotix::ClockSeed(), priority, dialogs,
      trotix::LocateFiles(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))};
  trotix::frmMain form(platform);
  form.Start();
  return app.exec();
}
