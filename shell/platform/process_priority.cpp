#include "process_priority.h"

#include <dirent.h>
#include <sys/resource.h>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace trotix {

namespace {

// The lowest nice value an unprivileged process may set: 20 - RLIMIT_NICE.
int LowestAllowedNice() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NICE, &limit) != 0) return 20;
  const rlim_t ceiling = limit.rlim_cur == RLIM_INFINITY ? 40 : limit.rlim_cur;
  const long lowest = 20 - static_cast<long>(ceiling > 40 ? 40 : ceiling);
  return static_cast<int>(lowest < -20 ? -20 : lowest);
}

// Nothing for a thread that has ended since it was listed.
std::optional<int> NiceOf(long thread_id) {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread_id));
  if (errno != 0) return std::nullopt;
  return nice;
}

// Calls `visit` with the id of every thread of this process, or with 0 (the
// calling thread) when the list cannot be read.
template <typename Visit>
void ForEveryThread(Visit visit) {
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) {
    visit(0L);
    return;
  }
  while (const dirent* entry = readdir(tasks)) {
    const long tid = std::strtol(entry->d_name, nullptr, 10);
    if (tid > 0) visit(tid);
  }
  closedir(tasks);
}

}  // namespace

NicePriority::NicePriority() : NicePriority(LowestAllowedNice()) {}

NicePriority::NicePriority(int raised_nice) : raised_nice_(raised_nice) {}

void NicePriority::SetPriorityClass(std::uint32_t priority_class) {
  if (priority_class == kRealtimePriorityClass) {
    Raise();
  } else if (priority_class == kNormalPriorityClass) {
    Restore();
  }
}

void NicePriority::Raise() {
  // A second call before the race ends keeps the first record: the values
  // to give back are those from before any raising.
  const bool record = !raised_;
  if (record) {
    caller_nice_ = NiceOf(0).value_or(0);
    saved_count_ = 0;
  }
  ForEveryThread([&](long tid) {
    const std::optional<int> nice = NiceOf(tid);
    if (!nice) return;
    if (record && saved_count_ < saved_.size()) saved_[saved_count_++] = {tid, *nice};
    if (raised_nice_ < *nice) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), raised_nice_);
  });
  raised_ = true;
}

void NicePriority::Restore() {
  if (!raised_) return;
  ForEveryThread([&](long tid) {
    int nice = caller_nice_;
    for (std::size_t i = 0; i < saved_count_; ++i) {
      if (saved_[i].thread_id == tid) nice = saved_[i].nice;
    }
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
  });
  raised_ = false;
}

}  // namespace trotix
