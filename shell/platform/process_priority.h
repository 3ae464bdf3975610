// The process's scheduling priority during a race: raised while horses run
// so ticks and drawing are not held up by other programs, and given back
// as soon as the race is over.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "priority_class.h"

namespace trotix {

class ProcessPriority {
 public:
  virtual ~ProcessPriority() = default;
  // kRealtimePriorityClass favours the process as far as the platform
  // allows; kNormalPriorityClass gives back what it had just before.
  // Failures are not reported: the race runs at whatever priority it has.
  virtual void SetPriorityClass(std::uint32_t priority_class) = 0;
};

// Linux: nice values. The real-time class becomes the lowest nice value the
// process may take without special rights (RLIMIT_NICE), applied to every
// thread, since setpriority acts on one thread only and Qt starts threads
// of its own. The normal class gives every thread back the nice value it had
// when the real-time class was asked for, so an operator who reniced the
// idle game keeps that setting after each race. Never a real-time scheduling
// class for the interface thread: one stuck tick of that would freeze the
// whole desktop.
class NicePriority final : public ProcessPriority {
 public:
  NicePriority();
  // For tests: the nice value the real-time class stands for.
  explicit NicePriority(int raised_nice);
  void SetPriorityClass(std::uint32_t priority_class) override;

 private:
  struct ThreadNice {
    long thread_id;
    int nice;
  };
  // Qt runs a handful of threads; one started during the race, or beyond
  // this many, gets back the nice value the calling thread had.
  static constexpr std::size_t kMaxThreads = 64;

  void Raise();
  void Restore();

  int raised_nice_;
  bool raised_ = false;
  int caller_nice_ = 0;
  std::array<ThreadNice, kMaxThreads> saved_{};
  std::size_t saved_count_ = 0;
};

}  // namespace trotix
