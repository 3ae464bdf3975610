// Trotix: six horses, 2000 metres, one window.
#include <QApplication>

#include "frm_main.h"
#include "platform/dialogs.h"
#include "platform/process_priority.h"
#include "platform/system_clock.h"
#include "random_source.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  trotix::SystemClock clock;
  trotix::Pcg32Random random;
  trotix::NicePriority priority;
  trotix::MessageBoxDialogs dialogs;
  const trotix::Platform platform{clock, random, trotix::ClockSeed(), priority, dialogs,
                                  QCoreApplication::applicationDirPath()};
  trotix::frmMain form(platform);
  form.Start();
  return app.exec();
}
