// The two private-profile calls on a file on disk, on top of the in-memory
// rules of private_profile.h.
#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace trotix {

// The most of a profile file that is read. A position file is a few dozen
// bytes; a huge one must not stall start-up.
inline constexpr std::size_t kProfileFileReadLimit = 1024 * 1024;

// What a symbolic link in the profile file's place stands for. Beside the
// executable a link is not an ordinary file of the game's folder: it is never
// read, written through or replaced, whoever it points to. In a user's own
// configuration folder a link to a regular file that user owns is followed,
// as dotfile managers expect; the file it points to is read and replaced,
// and the link stays.
enum class LinkPolicy {
  kRefuse,
  kFollowToOwnFile,
};

enum class ProfileFileStatus {
  kOk,
  kMissing,        // reading only: no such file, so every key has its default
  kSymbolicLink,   // a link that the policy does not follow
  kNotOrdinary,    // a folder, a pipe or a device of that name
  kOtherOwner,     // replacing the file would change who owns it
  kTooLarge,       // saving only: larger than kProfileFileReadLimit
  kRefused,        // saving only: names or value refused (CanSetProfileString)
  kFailed,         // the system refused to read or write
};

struct ProfileFileRead {
  ProfileFileStatus status = ProfileFileStatus::kMissing;
  // The file's text, or nothing when it could not be read. Of a file larger
  // than kProfileFileReadLimit only the complete lines within the limit, so
  // a value is never read cut short.
  std::string text;
};

ProfileFileRead ReadProfileFile(const QString& path, LinkPolicy policy = LinkPolicy::kRefuse);

struct ProfileSetting {
  std::string_view key;
  std::string_view value;
};

// Only for tests, to force an order on savers that run at the same time.
struct ProfileSaveHooks {
  std::function<void()> waiting_for_lock;  // another saver holds the lock; this one waits
  std::function<void()> before_replace;    // the file is read and the new text made, under the lock
};

// Sets every key of `settings` in `section` of the file at `path`, in order,
// in one read-modify-write: the bytes are those the single-key writes would
// give one after the other. Savers of the same folder take turns through an
// advisory lock (flock) on the folder, so the last one to finish sets every
// key. The new text goes to a temporary file beside the old one that then
// replaces it, with the old one's permissions and owner, so a crash or a full
// disk leaves either the old file or the new one, never a part of either.
// When the text would not change, nothing is written. The file stays as it
// was unless the result is kOk. Never throws.
ProfileFileStatus WriteProfileStrings(std::string_view section, std::span<const ProfileSetting> settings,
                                      const QString& path, LinkPolicy policy = LinkPolicy::kRefuse,
                                      const ProfileSaveHooks* hooks = nullptr);

// The value of `key` in `section` of the file at `path`, as GetProfileString
// reads it. A missing, unreadable or refused file gives the default.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const QString& path, LinkPolicy policy = LinkPolicy::kRefuse);

// One key by WriteProfileStrings; true when the result is kOk.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const QString& path, LinkPolicy policy = LinkPolicy::kRefuse);

}  // namespace trotix
