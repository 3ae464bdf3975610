#include "process_priority.h"

#include <dirent.h>
#include <sys/resource.h>
#include <cerrno>
#include <cstdlib>

namespace trotix {

namespace {

int CurrentNice() {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  return errno == 0 ? nice : 0;
}

// The lowest nice value an unprivileged process may set: 20 - RLIMIT_NICE.
int LowestAllowedNice() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NICE, &limit) != 0) return 20;
  const rlim_t ceiling = limit.rlim_cur == RLIM_INFINITY ? 40 : limit.rlim_cur;
  const long lowest = 20 - static_cast<long>(ceiling > 40 ? 40 : ceiling);
  return static_cast<int>(lowest < -20 ? -20 : lowest);
}

// setpriority on every thread of this process.
void SetNiceOfEveryThread(int nice) {
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) {
    setpriority(PRIO_PROCESS, 0, nice);
    return;
  }
  while (const dirent* entry = readdir(tasks)) {
    const long tid = std::strtol(entry->d_name, nullptr, 10);
    if (tid > 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
  }
  closedir(tasks);
}

}  // namespace

NicePriority::NicePriority() : NicePriority(LowestAllowedNice()) {}

NicePriority::NicePriority(int raised_nice) : start_nice_(CurrentNice()), raised_nice_(raised_nice) {}

void NicePriority::SetPriorityClass(std::uint32_t priority_class) {
  if (priority_class == kRealtimePriorityClass) {
    if (raised_nice_ < start_nice_) SetNiceOfEveryThread(raised_nice_);
  } else if (priority_class == kNormalPriorityClass) {
    SetNiceOfEveryThread(start_nice_);
  }
}

}  // namespace trotix
