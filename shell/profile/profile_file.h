// The two private-profile calls on a file on disk, on top of the in-memory
// rules of private_profile.h. Paths are bytes, as the system takes them.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "whole_file.h"

namespace trotix {

// The most of a profile file that is read. A position file is a few dozen
// bytes; a huge one must not stall start-up.
inline constexpr std::size_t kProfileFileReadLimit = 1024 * 1024;

// How long a save waits for another saver of the same folder. A save takes
// milliseconds; whoever holds the lock longer is not a copy of the game
// closing, and the window must not stay frozen on screen meanwhile.
inline constexpr std::chrono::milliseconds kProfileLockWait{2000};

// The file's place and the statuses are those of whole_file.h.
using ProfileFileStatus = FileStatus;

inline bool Saved(ProfileFileStatus status) {
  return status == ProfileFileStatus::kOk || status == ProfileFileStatus::kSavedWithoutLock;
}

struct ProfileFileRead {
  ProfileFileStatus status = ProfileFileStatus::kMissing;
  // The file's text, UTF-8 when the file is UTF-16, or nothing when it could
  // not be read. Of a file larger than kProfileFileReadLimit only the
  // complete lines within the limit, so a value is never read cut short.
  std::string text;
  std::string untrusted;  // with kUntrusted: the link or folder that failed the rule
};

ProfileFileRead ReadProfileFile(const std::string& path, LinkPolicy policy = LinkPolicy::kRefuse);

struct ProfileSetting {
  std::string_view key;
  std::string_view value;
};

// Only for tests: to force an order on savers that run at the same time,
// and to wait less than kProfileLockWait.
struct ProfileSaveHooks {
  std::function<void()> waiting_for_lock;  // another saver holds the lock; this one waits
  std::function<void()> before_replace;    // the file is read and the new text made, under the lock
  std::chrono::milliseconds lock_wait = kProfileLockWait;
};

struct ProfileSaveResult {
  ProfileFileStatus status = ProfileFileStatus::kFailed;
  std::string untrusted;  // with kUntrusted: the link or folder that failed the rule
};

// Sets every key of `settings` in `section` of the file at `path`, in order,
// in one read-modify-write: the bytes are those the single-key writes would
// give one after the other, in the file's own encoding. Savers of the same
// folder take turns through an advisory lock (flock) on the folder, so the
// last one to finish sets every key; after kProfileLockWait a save goes on
// without it, since the rename below cannot tear the file. The new text goes
// to a temporary file beside the old one that then replaces it, with the old
// one's permissions and owner, so a crash or a full disk leaves either the
// old file or the new one, never a part of either; temporary files of saves
// that died are removed by the next. The folder written in must pass
// UntrustedOnTheWay. A file whose owner may not write it is left as it is.
// When the text would not change, nothing is written. The file stays as it
// was unless the result is Saved. Never throws.
ProfileSaveResult WriteProfileStrings(std::string_view section, std::span<const ProfileSetting> settings,
                                      const std::string& path, LinkPolicy policy = LinkPolicy::kRefuse,
                                      const ProfileSaveHooks* hooks = nullptr);

// The value of `key` in `section` of the file at `path`, as GetProfileString
// reads it. A missing, unreadable or refused file gives the default.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const std::string& path, LinkPolicy policy = LinkPolicy::kRefuse);

// One key by WriteProfileStrings; true when it was saved.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path, LinkPolicy policy = LinkPolicy::kRefuse);

}  // namespace trotix
