#include "platform/process_priority.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <atomic>
#include <cerrno>
#include <thread>

namespace trotix {
namespace {

int NiceOfThisThread() {
  errno = 0;
  return getpriority(PRIO_PROCESS, 0);
}

// Runs each test with the process at nice 10, and the real-time class
// standing for nice 3; puts the process back afterwards. Going back down
// from 10 needs the right to raise priority, which not every machine gives.
class NicePriorityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = NiceOfThisThread();
    if (setpriority(PRIO_PROCESS, 0, 3) != 0) GTEST_SKIP() << "this process may not raise its priority";
    ASSERT_EQ(setpriority(PRIO_PROCESS, 0, 10), 0);
  }
  void TearDown() override { setpriority(PRIO_PROCESS, 0, original_); }

  int original_ = 0;
};

TEST_F(NicePriorityTest, RealtimeRaisesAndNormalRestoresWhatTheProcessHadAtStart) {
  NicePriority priority(3);
  priority.SetPriorityClass(kRealtimePriorityClass);
  EXPECT_EQ(NiceOfThisThread(), 3);
  priority.SetPriorityClass(kNormalPriorityClass);
  EXPECT_EQ(NiceOfThisThread(), 10);
}

TEST_F(NicePriorityTest, ActsOnEveryThreadOfTheProcess) {
  NicePriority priority(3);
  // A thread started before the race, as Qt's own threads are: it inherits
  // nice 10 and must follow both changes.
  std::atomic<int> step{0};
  int during = 99, after = 99;
  std::thread other([&] {
    while (step != 1) std::this_thread::yield();
    during = NiceOfThisThread();
    step = 2;
    while (step != 3) std::this_thread::yield();
    after = NiceOfThisThread();
  });
  priority.SetPriorityClass(kRealtimePriorityClass);
  step = 1;
  while (step != 2) std::this_thread::yield();
  priority.SetPriorityClass(kNormalPriorityClass);
  step = 3;
  other.join();
  EXPECT_EQ(during, 3);
  EXPECT_EQ(after, 10);
}

// An operator renices the idle game after start-up, one thread differently
// from the other: each gets its own value back when the race ends, not the
// value the process had at start.
TEST_F(NicePriorityTest, NormalGivesEachThreadTheNiceItHadWhenTheRaceBegan) {
  NicePriority priority(3);  // made at nice 10, like the game at start-up
  std::atomic<int> step{0};
  int during = 99, after = 99;
  std::thread other([&] {
    setpriority(PRIO_PROCESS, 0, 14);
    step = 1;
    while (step != 2) std::this_thread::yield();
    during = NiceOfThisThread();
    step = 3;
    while (step != 4) std::this_thread::yield();
    after = NiceOfThisThread();
  });
  while (step != 1) std::this_thread::yield();
  ASSERT_EQ(setpriority(PRIO_PROCESS, 0, 12), 0);
  priority.SetPriorityClass(kRealtimePriorityClass);
  EXPECT_EQ(NiceOfThisThread(), 3);
  step = 2;
  while (step != 3) std::this_thread::yield();
  priority.SetPriorityClass(kNormalPriorityClass);
  EXPECT_EQ(NiceOfThisThread(), 12);
  step = 4;
  other.join();
  EXPECT_EQ(during, 3);
  EXPECT_EQ(after, 14);
}

TEST_F(NicePriorityTest, NeverLowersThePriority) {
  NicePriority priority(15);  // a limit above where the process already is
  priority.SetPriorityClass(kRealtimePriorityClass);
  EXPECT_EQ(NiceOfThisThread(), 10);
  priority.SetPriorityClass(0x4000);  // no class of ours
  EXPECT_EQ(NiceOfThisThread(), 10);
}

TEST(NicePriority, WithoutSpecialRightsTheRaceRunsAtTheNiceItHas) {
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NICE, &limit), 0);
  if (limit.rlim_cur != 0) GTEST_SKIP() << "this session may raise its priority";
  const int at_start = NiceOfThisThread();
  NicePriority priority;
  priority.SetPriorityClass(kRealtimePriorityClass);
  EXPECT_EQ(NiceOfThisThread(), at_start);
  priority.SetPriorityClass(kNormalPriorityClass);
  EXPECT_EQ(NiceOfThisThread(), at_start);
}

}  // namespace
}  // namespace trotix
