#include "file_locations.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "field_file.h"
#include "terminal_text.h"

namespace trotix {

namespace {

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  return path.append(name);
}

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// The folders a package manager or an administrator installs programs into.
bool UnderSystemPrefix(std::string_view folder) {
  for (const std::string_view prefix : {"/usr", "/opt"}) {
    if (folder.starts_with(prefix) && (folder.size() == prefix.size() || folder[prefix.size()] == '/')) return true;
  }
  return false;
}

}  // namespace

std::string FileLocations::PositionFile() const {
  return Join(position_place == FilePlace::kBesideProgram ? program_dir : user_dir, "Trotix.ini");
}

std::string FileLocations::ProgramDirNow() const { return find_program_dir ? find_program_dir() : program_dir; }

std::string FileLocations::FieldFileFolder() const {
  const std::string folder = ProgramDirNow();
  struct stat st {};
  const bool beside = !folder.empty() && stat(Join(folder, kFieldFileName).c_str(), &st) == 0;
  return beside || user_dir.empty() ? folder : user_dir;
}

PositionSave FileLocations::PositionFileForSave() const {
  if (position_place == FilePlace::kUserFolder) return {PositionFile(), true, {}};
  const std::string folder = ProgramDirNow();
  struct stat st {};
  if (folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return {{}, false, "the game's folder " + TerminalSafe(program_dir) + " is gone (moved or deleted while the game ran), so the window position is not stored"};
  }
  return {Join(folder, "Trotix.ini"), false, {}};
}

std::string ProgramFolder(std::string* problem) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  // The kernel names no path longer than a page, PATH_MAX on Linux.
  if ((length < 0 && errno == ENAMETOOLONG) || static_cast<std::size_t>(length) == sizeof path) {
    if (problem != nullptr) *problem = "the game's folder is deeper than the system's limit of " + std::to_string(PATH_MAX) + " bytes for a path";
    return {};
  }
  if (length <= 0) return {};
  const std::string_view exe(path, static_cast<std::size_t>(length));
  const auto slash = exe.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(exe.substr(0, slash == 0 ? 1 : slash));
}

std::string UserFolder(const char* xdg_config_home, const char* home) {
  if (IsAbsolute(xdg_config_home)) return Join(xdg_config_home, "trotix");
  if (IsAbsolute(home)) return Join(Join(home, ".config"), "trotix");
  return {};
}

std::string UserFolder() {
  const char* home = std::getenv("HOME");
  if (!IsAbsolute(home)) {
    const passwd* entry = getpwuid(geteuid());
    home = entry != nullptr ? entry->pw_dir : nullptr;
  }
  return UserFolder(std::getenv("XDG_CONFIG_HOME"), home);
}

FileLocations LocateFiles(const std::string& program_dir, const std::string& user_dir) {
  // access(2) asks the system, so a read-only mount and the user's own
  // rights both count, not just the permission bits.
  struct stat st {};
  const bool writable = stat(program_dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                        access(program_dir.c_str(), W_OK) == 0 && !UnderSystemPrefix(program_dir);
  const bool beside = writable || user_dir.empty();
  return {program_dir, user_dir, beside ? FilePlace::kBesideProgram : FilePlace::kUserFolder};
}

FileLocations LocateFiles() {
  std::string problem;
  FileLocations files = LocateFiles(ProgramFolder(&problem), UserFolder());
  if (!problem.empty()) {
    const std::string instead = files.user_dir.empty() ? "neither is used" : "both are kept in " + TerminalSafe(files.user_dir);
    std::fprintf(stderr, "Trotix: %s, so horsedat.txt and Trotix.ini beside it cannot be opened; %s\n", problem.c_str(),
                 instead.c_str());
  }
  files.find_program_dir = [] { return ProgramFolder(); };
  return files;
}

}  // namespace trotix
