#include "frm_main.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "result_board.h"
#include "texts.h"

namespace trotix {
namespace {

using testing::FakePlatform;

constexpr std::size_t kDrawsPerRandomField = 42;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() : form(fake.platform) { form.Form_Load(); }

  void Release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool auto_repeat = false) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), auto_repeat);
    QCoreApplication::sendEvent(&form.cmdRun(), &event);  // the button has the focus
  }

  // Ticks until the race is over; the number of ticks it took.
  int RunOut() {
    int ticks = 0;
    while (form.race().Phase != kPhaseOver || form.Timer1().isActive()) {
      form.Timer1_Timer();
      if (++ticks > 2000) break;
    }
    return ticks;
  }

  FakePlatform fake;
  frmMain form;
};

TEST_F(MainWindow, StartsReadyWithARandomFieldDrawn) {
  EXPECT_EQ(fake.random.seed_calls, 1);
  EXPECT_EQ(fake.random.count, kDrawsPerRandomField);
  EXPECT_EQ(form.race().Phase, kPhaseReady);
  EXPECT_TRUE(form.cmdRun().isEnabled());
  EXPECT_FALSE(form.Timer1().isActive());
  EXPECT_TRUE(fake.priority.calls.empty());
  EXPECT_EQ(form.picMain().picture().size(), QSize(180, 120));
  EXPECT_EQ(form.kpbDist().fwcolor(), 0x00FF0000u);
  EXPECT_EQ(form.kpbDist().value(), 2000);
  EXPECT_EQ(form.windowTitle(), "Trotix");
  EXPECT_EQ(form.size(), QSize(187, 150));
  EXPECT_EQ(form.picMain().geometry(), QRect(3, 2, 180, 120));
  EXPECT_EQ(form.kpbDist().geometry(), QRect(3, 125, 142, 24));
  EXPECT_EQ(form.cmdRun().geometry(), QRect(147, 126, 36, 22));
}

TEST_F(MainWindow, RunBuildsAFreshFieldAndStartsTheTimer) {
  const Horse before = form.race().Horses[0];
  fake.clock.now = 50000.25f;
  form.cmdRun_Click();
  EXPECT_EQ(fake.priority.calls, std::vector<std::uint32_t>{kRealtimePriorityClass});
  EXPECT_EQ(fake.random.count, 2 * kDrawsPerRandomField);
  EXPECT_NE(form.race().Horses[0].Speed, before.Speed);
  EXPECT_FALSE(form.cmdRun().isEnabled());
  EXPECT_TRUE(form.Timer1().isActive());
  EXPECT_EQ(form.Timer1().interval(), 200);
  EXPECT_EQ(form.Timer1().timerType(), Qt::PreciseTimer);
  EXPECT_EQ(form.race().StartTime, 50000.25f);
  EXPECT_EQ(form.race().Phase, kPhaseReady);
}

TEST_F(MainWindow, RunIsDisabledOnlyAfterTheNewFieldIsBuilt) {
  bool enabled_while_building = true;
  fake.random.on_draw = [&] { enabled_while_building = enabled_while_building && form.cmdRun().isEnabled(); };
  form.cmdRun_Click();
  EXPECT_TRUE(enabled_while_building);
  EXPECT_FALSE(form.cmdRun().isEnabled());
}

TEST_F(MainWindow, ASecondRunWaitingDuringTheDrawingRunsNestedAndTheRaceStartsOnce) {
  // A click already queued is delivered while the new field is drawn.
  QMetaObject::invokeMethod(&form.cmdRun(), "click", Qt::QueuedConnection);
  form.cmdRun_Click();
  EXPECT_EQ(fake.priority.calls.size(), 2u);
  EXPECT_EQ(fake.random.count, 3 * kDrawsPerRandomField);
  EXPECT_TRUE(form.Timer1().isActive());
  EXPECT_FALSE(form.cmdRun().isEnabled());
  QCoreApplication::processEvents();
  EXPECT_EQ(fake.random.count, 3 * kDrawsPerRandomField) << "no third field";
}

TEST_F(MainWindow, F5StartsARaceWhateverModifiersAreHeld) {
  for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
                                          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
    form.Timer1().stop();
    form.cmdRun().setEnabled(true);
    const std::size_t draws = fake.random.count;
    Release(Qt::Key_F5, modifiers);
    EXPECT_EQ(fake.random.count, draws + kDrawsPerRandomField) << modifiers;
    EXPECT_TRUE(form.Timer1().isActive());
  }
}

TEST_F(MainWindow, F5DoesNothingWhileRunIsDisabledOrForAnAutoRepeat) {
  Release(Qt::Key_F5, Qt::NoModifier, /*auto_repeat=*/true);
  EXPECT_EQ(fake.random.count, kDrawsPerRandomField);
  form.cmdRun_Click();
  const std::size_t draws = fake.random.count;
  Release(Qt::Key_F5);
  Release(Qt::Key_F6);
  EXPECT_EQ(fake.random.count, draws);
  EXPECT_EQ(fake.priority.calls.size(), 1u);
}

TEST_F(MainWindow, F7ListsTheFieldOnlyBeforeAndAfterARace) {
  for (std::int32_t phase = kPhaseReady; phase <= kPhaseOver; ++phase) {
    form.race().Phase = phase;
    const std::size_t shown = fake.dialogs.texts.size();
    Release(Qt::Key_F7, Qt::ControlModifier);
    const bool offered = phase == kPhaseReady || phase == kPhaseOver;
    ASSERT_EQ(fake.dialogs.texts.size(), shown + (offered ? 1 : 0)) << "phase " << phase;
  }
  EXPECT_EQ(fake.dialogs.titles.front(), QString::fromUtf8("データ"));
  EXPECT_EQ(fake.dialogs.texts.front(), QString::fromStdString(FieldListingText(form.race())));
}

TEST_F(MainWindow, AWholeRaceEndsOnTheBoardWithRunEnabledAgain) {
  form.cmdRun_Click();
  const int ticks = RunOut();
  EXPECT_LT(ticks, 1000);
  EXPECT_EQ(form.race().Phase, kPhaseOver);
  EXPECT_FALSE(form.Timer1().isActive());
  EXPECT_TRUE(form.cmdRun().isEnabled());
  EXPECT_EQ(fake.priority.calls, (std::vector<std::uint32_t>{kRealtimePriorityClass, kNormalPriorityClass}));
  EXPECT_EQ(form.race().FinishCount, 6);
  EXPECT_LT(form.kpbDist().value(), 0);
  EXPECT_EQ(form.kpbDist().caption(), "0");
  EXPECT_EQ(form.kpbDist().fwcolor(), 0x000000FFu);  // red

  // The board is what the window shows, also after a repaint.
  const QImage board = form.picMain().picture().convertToFormat(QImage::Format_RGB32);
  int orange = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 180; ++x) orange += board.pixel(x, y) == qRgb(255, 160, 0);
  }
  EXPECT_GT(orange, 100);
  EXPECT_EQ(form.picMain().grab().toImage().convertToFormat(QImage::Format_RGB32), board);

  // F5 starts the next race from the board.
  Release(Qt::Key_F5);
  EXPECT_TRUE(form.Timer1().isActive());
  EXPECT_EQ(form.race().FinishCount, 0);
}

TEST_F(MainWindow, ATickNeverStartsInsideAnother) {
  form.cmdRun_Click();
  form.Timer1_Timer();  // phase 0: shows the field
  const std::size_t before = fake.random.count;
  fake.random.on_draw = [&] { form.Timer1_Timer(); };
  form.Timer1_Timer();  // a moving tick: six draws, however often it is poked
  EXPECT_EQ(fake.random.count, before + 6);
}

TEST_F(MainWindow, ClosingMidRaceSavesThePositionAndEndsTheRace) {
  form.cmdRun_Click();
  for (int n = 0; n < 20; ++n) form.Timer1_Timer();
  const RaceState during = form.race();
  form.close();
  EXPECT_FALSE(form.Timer1().isActive());
  EXPECT_TRUE(QFile::exists(fake.dir.filePath("Trotix.ini")));
  form.Timer1_Timer();  // a tick that was already due does nothing
  EXPECT_EQ(form.race().LeadPosition, during.LeadPosition);
  EXPECT_EQ(fake.priority.calls.size(), 1u);
}

}  // namespace
}  // namespace trotix
