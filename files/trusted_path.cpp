#include "trusted_path.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace trotix {

namespace {

bool OwnedByUserOrRoot(const struct stat& st) { return st.st_uid == geteuid() || st.st_uid == 0; }

// `holds` is true for the folder at the end of the way, which holds the file.
bool Trusted(const struct stat& st, bool holds) {
  if (!OwnedByUserOrRoot(st)) return false;
  if (S_ISLNK(st.st_mode) || (st.st_mode & (S_IWGRP | S_IWOTH)) == 0) return true;
  return !holds && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0;
}

// The prefixes of an absolute path, one component more each time: "/",
// "/a", "/a/b". Empty components and "." are passed over.
template <typename Visit>
bool EachPrefix(const std::string& path, Visit visit) {
  if (!visit(std::string("/"), path.find_first_not_of('/') == std::string::npos)) return false;
  std::string prefix;
  std::size_t pos = 0;
  while (pos < path.size()) {
    const std::size_t start = path.find_first_not_of('/', pos);
    if (start == std::string::npos) break;
    const std::size_t end = std::min(path.find('/', start), path.size());
    pos = end;
    const std::string part = path.substr(start, end - start);
    if (part == ".") continue;
    prefix += "/" + part;
    if (!visit(prefix, path.find_first_not_of("/.", end) == std::string::npos)) return false;
  }
  return true;
}

// `end_holds`: the folder at the end of `folder` holds the file, and must
// not be writable by others even when sticky.
std::string Check(const std::string& folder, bool end_holds, int depth) {
  if (folder.empty() || folder.front() != '/' || depth > 8) return folder;
  std::string culprit;
  EachPrefix(folder, [&](const std::string& prefix, bool last) {
    struct stat st {};
    if (lstat(prefix.c_str(), &st) != 0 || !Trusted(st, last && end_holds)) {
      culprit = prefix;
      return false;
    }
    if (!S_ISLNK(st.st_mode)) return true;
    // The rest of the way goes through the link's target, which has no links
    // left in it once resolved.
    char resolved[PATH_MAX];
    culprit = realpath(prefix.c_str(), resolved) == nullptr ? prefix : Check(resolved, last && end_holds, depth + 1);
    return culprit.empty();
  });
  return culprit;
}

}  // namespace

std::string UntrustedOnTheWay(const std::string& folder) { return Check(folder, true, 0); }

std::string MakeTrustedFolder(const std::string& folder) {
  struct stat st {};
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? std::string() : folder;
  if (errno != ENOENT) return folder;
  const std::string parent = FolderOf(folder);
  if (parent == folder || parent == ".") return folder;
  // The parent is only on the way: a sticky /tmp may hold the new folder,
  // which is the user's alone. One that someone else made first is theirs,
  // and fails the rule when a save checks the folder it writes in.
  std::string culprit = MakeTrustedFolder(parent);
  if (culprit.empty()) culprit = Check(parent, false, 0);
  if (!culprit.empty()) return culprit;
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return folder;
  return {};
}

std::string FolderOf(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const auto slash = trimmed.rfind('/');
  if (slash == std::string::npos) return ".";
  std::size_t end = slash;
  while (end > 0 && trimmed[end - 1] == '/') --end;
  return end == 0 ? "/" : trimmed.substr(0, end);
}

}  // namespace trotix
