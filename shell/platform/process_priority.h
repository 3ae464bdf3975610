// The process's scheduling priority during a race: raised while horses run
// so ticks and drawing are not held up by other programs, and given back
// as soon as the race is over.
#pragma once

#include <cstdint>

namespace trotix {

inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;

class ProcessPriority {
 public:
  virtual ~ProcessPriority() = default;
  // kRealtimePriorityClass favours the process as far as the platform
  // allows; kNormalPriorityClass restores what it had at start. Failures
  // are not reported: the race runs at whatever priority it has.
  virtual void SetPriorityClass(std::uint32_t priority_class) = 0;
};

// Linux: nice values. The real-time class becomes the lowest nice value the
// process may take without special rights (RLIMIT_NICE), applied to every
// thread, since setpriority acts on one thread only and Qt starts threads
// of its own. Never a real-time scheduling class for the interface thread:
// one stuck tick of that would freeze the whole desktop.
class NicePriority final : public ProcessPriority {
 public:
  NicePriority();
  // For tests: the nice value the real-time class stands for.
  explicit NicePriority(int raised_nice);
  void SetPriorityClass(std::uint32_t priority_class) override;

 private:
  int start_nice_;
  int raised_nice_;
};

}  // namespace trotix
