#include "profile_file.h"

#include <charconv>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "private_profile.h"
#include "profile_encoding.h"
#include "trusted_path.h"

namespace trotix {

namespace {

// A file descriptor that closes itself.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now, for the write's own error report.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// The file a profile path stands for under `policy`: the path itself when it
// is not a link, the link's final target when the policy follows it. The
// result's status is kOk, kSymbolicLink, kUntrusted or kFailed; whether the
// file exists and is ordinary is judged when it is opened.
struct Target {
  ProfileFileStatus status = ProfileFileStatus::kOk;
  std::string path;
  std::string untrusted;
};

Target Resolve(const std::string& path, LinkPolicy policy) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    return {errno == ENOENT ? ProfileFileStatus::kOk : ProfileFileStatus::kFailed, path, {}};
  }
  if (!S_ISLNK(st.st_mode)) return {ProfileFileStatus::kOk, path, {}};
  if (policy == LinkPolicy::kRefuse) return {ProfileFileStatus::kSymbolicLink, path, {}};

  // A link someone else placed, or one in a folder someone else may write
  // in, could point at any file of the user's (a ~/.profile to append to).
  std::string untrusted = UntrustedOnTheWay(FolderOf(path));
  if (untrusted.empty() && st.st_uid != geteuid() && st.st_uid != 0) untrusted = path;
  if (!untrusted.empty()) return {ProfileFileStatus::kUntrusted, path, untrusted};
  char resolved[PATH_MAX];
  // A dangling link is not followed: the save would create a file wherever
  // it points.
  if (realpath(path.c_str(), resolved) == nullptr) return {ProfileFileStatus::kSymbolicLink, path, {}};
  if (lstat(resolved, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    return {ProfileFileStatus::kSymbolicLink, path, {}};
  }
  untrusted = UntrustedOnTheWay(FolderOf(resolved));
  if (!untrusted.empty()) return {ProfileFileStatus::kUntrusted, path, untrusted};
  return {ProfileFileStatus::kOk, resolved, {}};
}

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

// Removes the temporary files that earlier saves to `path` left behind when
// they were killed: names CreateTemporary gives, regular files of the
// user's, made by a process that is gone.
void RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string prefix = path.substr(path.rfind('/') + 1) + ".";  // npos + 1 is 0
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
    const std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    pid_t pid = 0;
    unsigned attempt = 0;
    const auto [dash, pid_error] = std::from_chars(middle.data(), middle.data() + middle.size(), pid);
    if (pid_error != std::errc() || dash == middle.data() + middle.size() || *dash != '-' || pid <= 0) continue;
    const auto [end, attempt_error] = std::from_chars(dash + 1, middle.data() + middle.size(), attempt);
    if (attempt_error != std::errc() || end != middle.data() + middle.size() || end == dash + 1) continue;
    if (pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;  // its maker may still be saving
    struct stat st {};
    if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == geteuid()) {
      unlinkat(dirfd(dir), entry->d_name, 0);
    }
  }
  closedir(dir);
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A new file beside `path` that no one else can have made: O_EXCL refuses
// an existing name, a link included. Its mode is 0666 less the umask.
Descriptor CreateTemporary(const std::string& path, std::string& temp_path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = path + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
    const int fd = open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return Descriptor(fd);
  }
  return Descriptor();
}

// Writes `text` to a temporary file and renames it over `path`. An existing
// file's owner, group and permissions go to the new one; when its owner
// cannot be kept (only root may give a file away), nothing is replaced.
ProfileFileStatus Replace(const std::string& path, const std::string& text, const struct stat* old) {
  std::string temp_path;
  Descriptor fd = CreateTemporary(path, temp_path);
  if (!fd.ok()) return ProfileFileStatus::kFailed;
  auto give_up = [&](ProfileFileStatus status) {
    unlink(temp_path.c_str());
    return status;
  };
  if (old != nullptr) {
    if ((old->st_uid != geteuid() || old->st_gid != getegid()) && fchown(fd.get(), old->st_uid, old->st_gid) != 0) {
      // A group we are not in is let go; another owner is not.
      if (old->st_uid != geteuid()) return give_up(ProfileFileStatus::kOtherOwner);
    }
    // After fchown, which clears set-id bits.
    if (fchmod(fd.get(), old->st_mode & 07777) != 0) return give_up(ProfileFileStatus::kFailed);
  }
  // A short write (a full disk, a file size limit) fails here, before the
  // old file is touched.
  if (!WriteAll(fd.get(), text) || fsync(fd.get()) != 0 || !fd.Close()) {
    return give_up(ProfileFileStatus::kFailed);
  }
  if (rename(temp_path.c_str(), path.c_str()) != 0) return give_up(ProfileFileStatus::kFailed);
  return ProfileFileStatus::kOk;
}

ProfileSaveResult Save(std::string_view section, std::span<const ProfileSetting> settings, const std::string& path,
                       LinkPolicy policy, const ProfileSaveHooks* hooks) {
  for (const ProfileSetting& setting : settings) {
    if (!CanSetProfileString(section, setting.key, setting.value)) return {ProfileFileStatus::kRefused, {}};
  }
  const Target target = Resolve(path, policy);
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

  const ProfileFileStatus replaced = Replace(target.path, bytes, exists ? &old.st : nullptr);
  if (replaced != ProfileFileStatus::kOk) return {replaced, {}};
  fsync(lock.folder_fd());  // the rename itself
  return {saved, {}};
}

}  // namespace

ProfileFileRead ReadProfileFile(const std::string& path, LinkPolicy policy) {
  ProfileFileRead out;
  try {
    const Target target = Resolve(path, policy);
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
