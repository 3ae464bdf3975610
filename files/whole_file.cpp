#include "whole_file.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <unistd.h>

#include "descriptor.h"
#include "trusted_path.h"

namespace trotix {

namespace {

bool WriteAll(int fd, std::string_view text) {
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

WholeFileTarget Check(const std::string& path, LinkPolicy policy) {
  WholeFileTarget out;
  FileTarget target = ResolveFileTarget(path, policy);
  out.status = target.status;
  out.path = std::move(target.path);
  out.untrusted = std::move(target.untrusted);
  if (out.status != FileStatus::kOk) return out;
  const std::string folder = FolderOf(out.path);
  struct stat folder_st {};
  if (stat(folder.c_str(), &folder_st) != 0) {
    out.status = FileStatus::kFailed;
    out.error = errno;
    return out;
  }
  if (out.untrusted = UntrustedOnTheWay(folder); !out.untrusted.empty()) {
    out.status = FileStatus::kUntrusted;
    return out;
  }
  // lstat, not open: a pipe with no reader would hold an open for good.
  out.exists = lstat(out.path.c_str(), &out.st) == 0;
  if (!out.exists && errno != ENOENT) {
    out.status = FileStatus::kFailed;
    out.error = errno;
  } else if (out.exists && !S_ISREG(out.st.st_mode)) {
    out.status = FileStatus::kNotOrdinary;
  } else if (out.exists && (out.st.st_mode & S_IWUSR) == 0) {
    out.status = FileStatus::kReadOnly;
  } else if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    out.status = FileStatus::kFailed;
    out.error = errno;
  }
  return out;
}

}  // namespace

FileTarget ResolveFileTarget(const std::string& path, LinkPolicy policy) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return {errno == ENOENT ? FileStatus::kOk : FileStatus::kFailed, path, {}};
  if (!S_ISLNK(st.st_mode)) return {FileStatus::kOk, path, {}};
  if (policy == LinkPolicy::kRefuse) return {FileStatus::kSymbolicLink, path, {}};

  // A link someone else placed, or one in a folder someone else may write
  // in, could point at any file of the user's (a ~/.profile to append to).
  std::string untrusted = UntrustedOnTheWay(FolderOf(path));
  if (untrusted.empty() && st.st_uid != geteuid() && st.st_uid != 0) untrusted = path;
  if (!untrusted.empty()) return {FileStatus::kUntrusted, path, untrusted};
  char resolved[PATH_MAX];
  // A dangling link is not followed: the save would create a file wherever
  // it points.
  if (realpath(path.c_str(), resolved) == nullptr) return {FileStatus::kSymbolicLink, path, {}};
  if (lstat(resolved, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    return {FileStatus::kSymbolicLink, path, {}};
  }
  untrusted = UntrustedOnTheWay(FolderOf(resolved));
  if (!untrusted.empty()) return {FileStatus::kUntrusted, path, untrusted};
  return {FileStatus::kOk, resolved, {}};
}

FileStatus ReplaceFile(const std::string& path, std::string_view bytes, const struct stat* old) {
  std::string temp_path;
  Descriptor fd = CreateTemporary(path, temp_path);
  if (!fd.ok()) return FileStatus::kFailed;
  auto give_up = [&](FileStatus status) {
    unlink(temp_path.c_str());
    return status;
  };
  if (old != nullptr) {
    if ((old->st_uid != geteuid() || old->st_gid != getegid()) && fchown(fd.get(), old->st_uid, old->st_gid) != 0) {
      // A group we are not in is let go; another owner is not.
      if (old->st_uid != geteuid()) return give_up(FileStatus::kOtherOwner);
    }
    // After fchown, which clears set-id bits.
    if (fchmod(fd.get(), old->st_mode & 07777) != 0) return give_up(FileStatus::kFailed);
  }
  // A short write (a full disk, a file size limit) fails here, before the
  // old file is touched.
  if (!WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0 || !fd.Close()) return give_up(FileStatus::kFailed);
  if (rename(temp_path.c_str(), path.c_str()) != 0) return give_up(FileStatus::kFailed);
  return FileStatus::kOk;
}

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

WholeFileTarget CheckWholeFileTarget(const std::string& path, LinkPolicy policy) {
  try {
    return Check(path, policy);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

WholeFileTarget WriteWholeFile(const std::string& path, std::string_view bytes, LinkPolicy policy) {
  try {
    WholeFileTarget target = Check(path, policy);
    if (target.status != FileStatus::kOk) return target;
    RemoveStaleTemporaries(target.path);
    target.status = ReplaceFile(target.path, bytes, target.exists ? &target.st : nullptr);
    target.error = target.status == FileStatus::kFailed ? errno : 0;
    if (target.status == FileStatus::kOk) {
      const Descriptor folder(open(FolderOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (folder.ok()) fsync(folder.get());  // the rename itself
    }
    return target;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

std::string FileProblem(const WholeFileTarget& target) {
  switch (target.status) {
    case FileStatus::kOk:
    case FileStatus::kSavedWithoutLock: return "";
    case FileStatus::kSymbolicLink: return "a link that is not followed";
    case FileStatus::kUntrusted: return target.untrusted + " can be changed by someone else";
    case FileStatus::kNotOrdinary: return "not an ordinary file";
    case FileStatus::kReadOnly: return "a read-only file";
    case FileStatus::kOtherOwner: return "someone else's file";
    default: return target.error != 0 ? std::strerror(target.error) : "the system refused";
  }
}

}  // namespace trotix
