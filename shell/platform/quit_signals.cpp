#include "quit_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <iterator>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace trotix {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_pipe[2] = {-1, -1};

void OnSignal(int number) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(number);
  // A full pipe already holds a wake-up; nothing else can be done here.
  if (write(g_pipe[1], &byte, 1) < 0) {
  }
  errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(std::function<void(int)> on_signal) : on_signal_(std::move(on_signal)) {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) {
    // One ignored from the start stays ignored: nohup's SIGHUP, the SIGINT
    // of a program started in the background.
    struct sigaction old {};
    sigaction(kQuitSignals[i], nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;
    sigaction(kQuitSignals[i], &action, nullptr);
    caught_ |= 1u << i;
  }
}

QuitSignals::~QuitSignals() {
  if (notifier_ == nullptr) return;
  for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) {
    if ((caught_ & (1u << i)) != 0) std::signal(kQuitSignals[i], SIG_DFL);
  }
  close(g_pipe[0]);
  close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::Drain() {
  unsigned char numbers[16];
  ssize_t got;
  while ((got = read(g_pipe[0], numbers, sizeof numbers)) > 0) {
    for (ssize_t i = 0; i < got; ++i) on_signal_(numbers[i]);
  }
}

}  // namespace trotix
