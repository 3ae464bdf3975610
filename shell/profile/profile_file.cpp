#include "profile_file.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "private_profile.h"

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

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a profile path stands for under `policy`: the path itself when it
// is not a link, the link's final target when the policy follows it. The
// result's status is kOk, kSymbolicLink or kFailed; whether the file exists
// and is ordinary is judged when it is opened.
struct Target {
  ProfileFileStatus status = ProfileFileStatus::kOk;
  std::string path;
};

Target Resolve(const std::string& path, LinkPolicy policy) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    return {errno == ENOENT ? ProfileFileStatus::kOk : ProfileFileStatus::kFailed, path};
  }
  if (!S_ISLNK(st.st_mode)) return {ProfileFileStatus::kOk, path};
  if (policy == LinkPolicy::kRefuse) return {ProfileFileStatus::kSymbolicLink, path};

  char resolved[PATH_MAX];
  // A dangling link is not followed: the save would create a file wherever
  // it points.
  if (realpath(path.c_str(), resolved) == nullptr) return {ProfileFileStatus::kSymbolicLink, path};
  if (lstat(resolved, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    return {ProfileFileStatus::kSymbolicLink, path};
  }
  return {ProfileFileStatus::kOk, resolved};
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

// Holds an exclusive flock on a folder for as long as it lives.
class FolderLock {
 public:
  FolderLock(const std::string& folder, const ProfileSaveHooks* hooks)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_.ok()) return;
    if (flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
      locked_ = true;
      return;
    }
    if (errno != EWOULDBLOCK) return;
    if (hooks != nullptr && hooks->waiting_for_lock) hooks->waiting_for_lock();
    int result;
    do {
      result = flock(fd_.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    locked_ = result == 0;
  }
  bool locked() const { return locked_; }
  int folder_fd() const { return fd_.get(); }

 private:
  Descriptor fd_;  // closing it releases the lock
  bool locked_ = false;
};

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

ProfileFileStatus Save(std::string_view section, std::span<const ProfileSetting> settings, const QString& path,
                       LinkPolicy policy, const ProfileSaveHooks* hooks) {
  for (const ProfileSetting& setting : settings) {
    if (!CanSetProfileString(section, setting.key, setting.value)) return ProfileFileStatus::kRefused;
  }
  const Target target = Resolve(Encoded(path), policy);
  if (target.status != ProfileFileStatus::kOk) return target.status;

  const FolderLock lock(FolderOf(target.path), hooks);
  if (!lock.locked()) return ProfileFileStatus::kFailed;

  const OpenedFile old = ReadTarget(target.path, kProfileFileReadLimit);
  const bool exists = old.status == ProfileFileStatus::kOk;
  if (!exists && old.status != ProfileFileStatus::kMissing) return old.status;
  // Rewriting only the part read would lose the file's end.
  if (old.more) return ProfileFileStatus::kTooLarge;

  std::string text = old.bytes;
  for (const ProfileSetting& setting : settings) {
    text = SetProfileString(text, section, setting.key, setting.value);
  }
  if (hooks != nullptr && hooks->before_replace) hooks->before_replace();
  if (exists && text == old.bytes) return ProfileFileStatus::kOk;  // untouched, mtime and all

  const ProfileFileStatus replaced = Replace(target.path, text, exists ? &old.st : nullptr);
  if (replaced == ProfileFileStatus::kOk) fsync(lock.folder_fd());  // the rename itself
  return replaced;
}

}  // namespace

ProfileFileRead ReadProfileFile(const QString& path, LinkPolicy policy) {
  ProfileFileRead out;
  try {
    const Target target = Resolve(Encoded(path), policy);
    if (target.status != ProfileFileStatus::kOk) {
      out.status = target.status;
      return out;
    }
    OpenedFile file = ReadTarget(target.path, kProfileFileReadLimit);
    out.status = file.status;
    if (file.status != ProfileFileStatus::kOk) return out;
    out.text = std::move(file.bytes);
    // Of an over-long file keep only complete lines; a lone CR ends a line
    // as well as LF does.
    if (file.more) out.text.resize(out.text.find_last_of("\r\n") + 1);  // npos + 1 is 0
  } catch (const std::bad_alloc&) {
    out = {ProfileFileStatus::kFailed, {}};
  }
  return out;
}

ProfileFileStatus WriteProfileStrings(std::string_view section, std::span<const ProfileSetting> settings,
                                      const QString& path, LinkPolicy policy, const ProfileSaveHooks* hooks) {
  try {
    return Save(section, settings, path, policy, hooks);
  } catch (const std::bad_alloc&) {
    return ProfileFileStatus::kFailed;
  }
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const QString& path, LinkPolicy policy) {
  return GetProfileString(ReadProfileFile(path, policy).text, section, key, default_value, buffer_size);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const QString& path, LinkPolicy policy) {
  const ProfileSetting setting{key, value};
  return WriteProfileStrings(section, std::span(&setting, 1), path, policy) == ProfileFileStatus::kOk;
}

}  // namespace trotix
