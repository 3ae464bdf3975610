// SIGTERM, SIGHUP and SIGINT, which a desktop's logout, a closed terminal
// and Ctrl+C send, turned into a call on the event loop. Their handler only
// writes the signal's number into a pipe that a QSocketNotifier watches; no
// Qt call is made inside it.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace trotix {

class QuitSignals final : public QObject {
 public:
  // `on_signal` runs on the event loop once for each signal that arrives.
  // Each handler goes back to the system's after its first signal, so a
  // second signal of a kind ends the program at once if the loop is stuck.
  // A signal ignored when the program started stays ignored. Without a pipe
  // the signals keep the system's handling.
  explicit QuitSignals(std::function<void(int signal)> on_signal);
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
  void Drain();

  std::function<void(int)> on_signal_;
  QSocketNotifier* notifier_ = nullptr;
  unsigned caught_ = 0;  // bit i: the i-th of SIGTERM, SIGHUP, SIGINT is handled here
};

}  // namespace trotix
