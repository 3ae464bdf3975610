#include "platform/quit_signals.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace trotix {
namespace {

void (*HandlerOf(int signal))(int) {
  struct sigaction now {};
  sigaction(signal, nullptr, &now);
  return now.sa_handler;
}

// Under nohup the game starts with SIGHUP ignored, and a closed terminal
// must not close it: a signal ignored at the start stays ignored, while
// the others close the window, once each.
TEST(QuitSignals, ASignalIgnoredAtTheStartStaysIgnored) {
  std::signal(SIGHUP, SIG_IGN);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  std::vector<int> heard;
  {
    const QuitSignals quit([&heard](int signal) { heard.push_back(signal); });
    EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
    EXPECT_NE(HandlerOf(SIGTERM), SIG_DFL);
    EXPECT_NE(HandlerOf(SIGINT), SIG_DFL);
    ASSERT_EQ(raise(SIGHUP), 0);
    ASSERT_EQ(raise(SIGTERM), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, std::vector<int>{SIGTERM});
  }
  EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN) << "still ignored once the window is gone";
  EXPECT_EQ(HandlerOf(SIGINT), SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
}  // namespace trotix
