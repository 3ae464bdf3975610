// The Qt window as an adapter: Qt's events reach the main window's handlers
// (the button, the key releases, the timer, closing), and what the window
// asks shows in Qt's widgets. The rules themselves are tested on the plain
// window (frm_main_test.cpp).
#include "qt_main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstring>

#include "fake_platform.h"
#include "texts.h"

namespace trotix {
namespace {

using testing::FakePlatform;

constexpr std::size_t kDrawsPerRandomField = 42;

bool WriteFile(const std::string& path, const char* bytes) {
  QFile file(QFile::decodeName(path.c_str()));
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == static_cast<qint64>(std::strlen(bytes));
}

class QtWindow : public ::testing::Test {
 protected:
  QtWindow() : window(fake.platform) { window.form().Form_Load(1); }

  void Release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool auto_repeat = false) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), auto_repeat);
    QCoreApplication::sendEvent(&window.cmdRun(), &event);  // the button has the focus
  }

  FakePlatform fake;
  QtMainWindow window;
};

TEST_F(QtWindow, IsLaidOutAndShowsTheLoadedField) {
  EXPECT_EQ(window.windowTitle(), "Trotix");
  EXPECT_EQ(window.size(), QSize(187, 150));
  EXPECT_EQ(window.picMain().geometry(), QRect(3, 2, 180, 120));
  EXPECT_EQ(window.kpbDist().geometry(), QRect(3, 125, 142, 24));
  EXPECT_EQ(window.cmdRun().geometry(), QRect(147, 126, 36, 22));
  EXPECT_EQ(window.picMain().picture().constBits(), reinterpret_cast<const uchar*>(window.form().picMain().data()));
  EXPECT_TRUE(window.cmdRun().isEnabled());
  EXPECT_FALSE(window.Timer1().isActive());
  EXPECT_EQ(window.kpbDist().fwcolor(), 0x00FF0000u);
  EXPECT_EQ(window.kpbDist().value(), 2000);
}

TEST_F(QtWindow, AClickOnRunStartsTheTimerAndDisablesTheButton) {
  window.cmdRun().click();
  EXPECT_EQ(fake.priority.calls, std::vector<std::uint32_t>{kRealtimePriorityClass});
  EXPECT_FALSE(window.cmdRun().isEnabled());
  EXPECT_TRUE(window.Timer1().isActive());
  EXPECT_EQ(window.Timer1().interval(), 200);
  EXPECT_EQ(window.Timer1().timerType(), Qt::PreciseTimer);
  window.cmdRun().click();  // a disabled button takes no clicks
  EXPECT_EQ(fake.priority.calls.size(), 1u);
}

TEST_F(QtWindow, KeyReleasesReachTheHandlerWhateverModifiersAreHeldButNotAutoRepeats) {
  Release(Qt::Key_F7, Qt::ControlModifier);
  ASSERT_EQ(fake.dialogs.texts.size(), 1u);
  EXPECT_EQ(fake.dialogs.titles.front(), QString::fromUtf8("データ"));
  EXPECT_EQ(fake.dialogs.texts.front(), QString::fromStdString(FieldListingText(window.form().race())));
  Release(Qt::Key_F5, Qt::NoModifier, /*auto_repeat=*/true);
  EXPECT_FALSE(window.Timer1().isActive());
  Release(Qt::Key_F5, Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_TRUE(window.Timer1().isActive());
  EXPECT_EQ(fake.random.count, 2 * kDrawsPerRandomField);
}

TEST_F(QtWindow, ARunWaitingDuringTheDrawingRunsNestedAndTheRaceStartsOnce) {
  // A click already queued is delivered while the new field is drawn.
  QMetaObject::invokeMethod(&window.cmdRun(), "click", Qt::QueuedConnection);
  window.cmdRun().click();
  EXPECT_EQ(fake.priority.calls.size(), 2u);
  EXPECT_EQ(fake.random.count, 3 * kDrawsPerRandomField);
  EXPECT_TRUE(window.Timer1().isActive());
  EXPECT_FALSE(window.cmdRun().isEnabled());
  QCoreApplication::processEvents();
  EXPECT_EQ(fake.random.count, 3 * kDrawsPerRandomField) << "no third field";
}

TEST_F(QtWindow, TheTimersTicksRunTheRaceToTheBoard) {
  window.cmdRun().click();
  window.Timer1().setInterval(0);
  for (int spins = 0; window.Timer1().isActive() && spins < 100000; ++spins) QCoreApplication::processEvents();
  EXPECT_EQ(window.form().race().Phase, kPhaseOver);
  EXPECT_TRUE(window.cmdRun().isEnabled());
  EXPECT_EQ(window.kpbDist().value(), window.form().controls().bar_value);
  EXPECT_EQ(window.kpbDist().fwcolor(), 0x000000FFu);
  EXPECT_EQ(fake.priority.calls, (std::vector<std::uint32_t>{kRealtimePriorityClass, kNormalPriorityClass}));
  // The board is what the widget shows, also after a repaint.
  const QImage shown = window.picMain().grab().toImage().convertToFormat(QImage::Format_RGBX8888);
  const Surface& board = window.form().picMain();
  for (int y = 0; y < board.height(); ++y) {
    ASSERT_EQ(std::memcmp(shown.constScanLine(y), board.Row(y), static_cast<std::size_t>(board.width()) * 4), 0) << y;
  }
}

TEST_F(QtWindow, ClosingMidRaceSavesThePositionAndStopsTheTimer) {
  window.cmdRun().click();
  window.close();
  EXPECT_FALSE(window.Timer1().isActive());
  EXPECT_TRUE(QFile::exists(fake.dir.filePath("Trotix.ini")));
}

TEST_F(QtWindow, ARefusedHorseFileIsOneLineOnStandardError) {
  const std::string path = QFile::encodeName(QDir(fake.dir.path()).filePath("horsedat.txt")).toStdString();
  ASSERT_TRUE(WriteFile(path, "80\t60\t2\r\n50\t50\r\n"));
  ::testing::internal::CaptureStderr();
  window.cmdRun().click();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Trotix: " + path + ", line 2 has fewer than three tab-separated columns; the field is made up at random\n");
}

// A folder named with an escape sequence and a right-to-left override: the
// refusal once wrote both raw, retitling the terminal and turning the
// game's own words backwards.
TEST(QtWindowNotice, ARefusalShowsControlsInTheNameAsEscapes) {
  FakePlatform fake;
  const std::string dir = QFile::encodeName(fake.dir.path()).toStdString();
  const std::string folder = dir + "/\x1b]0;owned\x07\xe2\x80\xae";
  ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder.c_str())));
  ASSERT_TRUE(WriteFile(folder + "/horsedat.txt", "80\t60\t2\n"));
  fake.platform.files.program_dir = folder;
  ::testing::internal::CaptureStderr();
  QtMainWindow window(fake.platform);
  window.form().Form_Load(1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Trotix: " + dir + "/\\x1B]0;owned\\x07\\u202E/horsedat.txt, line 2 is missing: the file has 1 lines, six are needed; "
            "the field is made up at random\n");
}

}  // namespace
}  // namespace trotix
