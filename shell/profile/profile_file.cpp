#include "profile_file.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "descriptor.h"
#include "private_profile.h"
#include "profile_encoding.h"
#include "trusted_path.h"

namespace trotix {

namespace {

struct OpenedFile {
  ProfileFileStatus status = ProfileFileStatus::kMissing;
  struct stat st {};
  std::string bytes;  // up to `limit` bytes
  bool more = false;  // the file goes on past them
};

// Opens without following a link (the target was resolved before) and
// without blocking on a pipe, then reads up to `limit` bytes.
OpenedFile ReadTarget(const std::string& path, std::size_t limit) {
  OpenedFile out;
  Descriptor fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok()) {
    out.status = errno == ENOENT   ? ProfileFileStatus::kMissing
                 : errno == ELOOP ? ProfileFileStatus::kSymbolicLink
                                  : ProfileFileStatus::kFailed;
    return out;
  }
  if (fstat(fd.get(), &out.st) != 0) {
    out.status = ProfileFileStatus::kFailed;
    return out;
  }
  if (!S_ISREG(out.st.st_mode)) {
    out.status = ProfileFileStatus::kNotOrdinary;
    return out;
  }
  out.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < out.bytes.size()) {
    const ssize_t n = read(fd.get(), out.bytes.data() + got, out.bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      out.status = ProfileFileStatus::kFailed;
      out.bytes.clear();
      return out;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out.more = got > limit;
  out.bytes.resize(out.more ? limit : got);
  out.status = ProfileFileStatus::kOk;
  return out;
}

// An exclusive flock on a folder, held for as long as this lives, or given
// up on after `wait`.
class FolderLock {
 public:
  enum class State { kLocked, kBusy, kFailed };

  FolderLock(const std::string& folder, const ProfileSaveHooks* hooks)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_.ok()) {
      state_ = State::kFailed;
      return;
    }
    if (TryLock()) return;
    if (state_ == State::kFailed) return;
    if (hooks != nullptr && hooks->waiting_for_lock) hooks->waiting_for_lock();
    const auto wait = hooks != nullptr ? hooks->lock_wait : kProfileLockWait;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(50));
      if (TryLock() || state_ == State::kFailed) return;
    }
    state_ = State::kBusy;
  }
  State state() const { return state_; }
  int folder_fd() const { return fd_.get(); }

 private:
  bool TryLock() {
    if (flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
      state_ = State::kLocked;
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) state_ = State::kFailed;
    return false;
  }

  Descriptor fd_;  // closing it releases the lock
  State state_ = State::kBusy;
};

ProfileSaveResult Save(std::string_view section, std::span<const ProfileSetting> settings, const std::string& path,
                       LinkPolicy policy, const ProfileSaveHooks* hooks) {
  for (const ProfileSetting& setting : settings) {
    if (!CanSetProfileString(section, setting.key, setting.value)) return {ProfileFileStatus::kRefused, {}};
  }
  const FileTarget target = ResolveFileTarget(path, policy);
  if (target.status != ProfileFileStatus::kOk) return {target.status, target.untrusted};
  const std::string folder = FolderOf(target.path);
  if (std::string untrusted = UntrustedOnTheWay(folder); !untrusted.empty()) {
    return {ProfileFileStatus::kUntrusted, std::move(untrusted)};
  }

  const FolderLock lock(folder, hooks);
  if (lock.state() == FolderLock::State::kFailed) return {ProfileFileStatus::kFailed, {}};
  RemoveStaleTemporaries(target.path);

  const OpenedFile old = ReadTarget(target.path, kProfileFileReadLimit);
  const bool exists = old.status == ProfileFileStatus::kOk;
  if (!exists && old.status != ProfileFileStatus::kMissing) return {old.status, {}};
  // Its owner made it read-only: the position in it is pinned.
  if (exists && (old.st.st_mode & S_IWUSR) == 0) return {ProfileFileStatus::kReadOnly, {}};
  // Rewriting only the part read would lose the file's end.
  if (old.more) return {ProfileFileStatus::kTooLarge, {}};
  const DecodedProfile decoded = DecodeProfileBytes(old.bytes);
  if (!decoded.writable) return {ProfileFileStatus::kUnknownEncoding, {}};

  std::string text = decoded.text;
  for (const ProfileSetting& setting : settings) {
    text = SetProfileString(text, section, setting.key, setting.value);
  }
  const std::string bytes = EncodeProfileText(text, decoded.encoding);
  // A name or value that UTF-16 cannot hold as given is not written in it.
  if (decoded.encoding != TextEncoding::kBytes && DecodeProfileBytes(bytes).text != text) {
    return {ProfileFileStatus::kRefused, {}};
  }
  if (hooks != nullptr && hooks->before_replace) hooks->before_replace();
  const ProfileFileStatus saved =
      lock.state() == FolderLock::State::kLocked ? ProfileFileStatus::kOk : ProfileFileStatus::kSavedWithoutLock;
  if (exists && bytes == old.bytes) return {saved, {}};  // untouched, mtime and all

  const ProfileFileStatus replaced = ReplaceFile(target.path, bytes, exists ? &old.st : nullptr);
  if (replaced != ProfileFileStatus::kOk) return {replaced, {}};
  fsync(lock.folder_fd());  // the rename itself
  return {saved, {}};
}

}  // namespace

ProfileFileRead ReadProfileFile(const std::string& path, LinkPolicy policy) {
  ProfileFileRead out;
  try {
    const FileTarget target = ResolveFileTarget(path, policy);
    if (target.status != ProfileFileStatus::kOk) {
      out.status = target.status;
      out.untrusted = target.untrusted;
      return out;
    }
    const OpenedFile file = ReadTarget(target.path, kProfileFileReadLimit);
    out.status = file.status;
    if (file.status != ProfileFileStatus::kOk) return out;
    out.text = DecodeProfileBytes(file.bytes).text;
    // Of an over-long file keep only complete lines; a lone CR ends a line
    // as well as LF does.
    if (file.more) out.text.resize(out.text.find_last_of("\r\n") + 1);  // npos + 1 is 0
  } catch (const std::bad_alloc&) {
    out = {ProfileFileStatus::kFailed, {}, {}};
  }
  return out;
}

ProfileSaveResult WriteProfileStrings(std::string_view section, std::span<const ProfileSetting> settings,
                                      const std::string& path, LinkPolicy policy, const ProfileSaveHooks* hooks) {
  try {
    return Save(section, settings, path, policy, hooks);
  } catch (const std::bad_alloc&) {
    return {ProfileFileStatus::kFailed, {}};
  }
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const std::string& path, LinkPolicy policy) {
  return GetProfileString(ReadProfileFile(path, policy).text, section, key, default_value, buffer_size);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path, LinkPolicy policy) {
  const ProfileSetting setting{key, value};
  return Saved(WriteProfileStrings(section, std::span(&setting, 1), path, policy).status);
}

}  // namespace trotix
