#include "platform/file_locations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <vector>

namespace trotix {
namespace {

class FileLocationsTest : public ::testing::Test {
 protected:
  std::string Folder(const std::string& name) {
    const std::string path = root.path().toStdString() + "/" + name;
    for (std::size_t slash = 0; slash != std::string::npos;) {
      slash = path.find('/', slash + 1);
      mkdir(path.substr(0, slash).c_str(), 0755);
    }
    return path;
  }
  static void Touch(const std::string& path) { std::ofstream(path).put('\n'); }
  QTemporaryDir root;
};

TEST_F(FileLocationsTest, PositionFileStaysBesideAWritableProgramOutsideTheSystemPrefixes) {
  const std::string program = Folder("bin");
  const std::string user = root.path().toStdString() + "/config/trotix";  // not made yet
  struct Case {
    const char* what;
    std::string program_dir;
    std::string user_dir;
    FilePlace place;
  };
  const Case cases[] = {
      {"a writable folder", program, user, FilePlace::kBesideProgram},
      {"a folder that is gone", program + "/missing", user, FilePlace::kUserFolder},
      {"a file, not a folder", program + "/trotix", user, FilePlace::kUserFolder},
      {"no user folder known", program + "/missing", "", FilePlace::kBesideProgram},
      // Root may write in /usr/games, which belongs to the package.
      {"an installed copy", "/usr/games", user, FilePlace::kUserFolder},
      {"a copy in /usr/local", "/usr/local/bin", user, FilePlace::kUserFolder},
      {"a copy in /opt", "/opt", user, FilePlace::kUserFolder},
  };
  Touch(program + "/trotix");
  for (const Case& c : cases) {
    const FileLocations files = LocateFiles(c.program_dir, c.user_dir);
    EXPECT_EQ(files.position_place, c.place) << c.what;
    const std::string folder = c.place == FilePlace::kBesideProgram ? c.program_dir : c.user_dir;
    EXPECT_EQ(files.PositionFile(), folder + "/Trotix.ini") << c.what;
  }
}

TEST_F(FileLocationsTest, AReadOnlyProgramFolderSendsThePositionToTheUser) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  const std::string program = Folder("usr/bin");
  ASSERT_EQ(chmod(program.c_str(), 0555), 0);
  const FileLocations files = LocateFiles(program, Folder("config/trotix"));
  chmod(program.c_str(), 0755);
  EXPECT_EQ(files.position_place, FilePlace::kUserFolder);
}

TEST_F(FileLocationsTest, TheUsersFolderFollowsTheXdgRules) {
  const struct { const char* xdg; const char* home; std::string folder; } cases[] = {
      {"/cfg", "/home/u", "/cfg/trotix"},
      {nullptr, "/home/u", "/home/u/.config/trotix"},
      {"", "/home/u", "/home/u/.config/trotix"},
      {"rel/cfg", "/home/u", "/home/u/.config/trotix"},  // relative: ignored
      {nullptr, nullptr, ""},
      {"rel/cfg", "also/relative", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UserFolder(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

TEST_F(FileLocationsTest, HorseDataBesideTheProgramWinsOverTheUsersOwn) {
  const std::string program = Folder("bin");
  const std::string user = Folder("config/trotix");
  FileLocations files{program, user, FilePlace::kUserFolder};
  EXPECT_EQ(files.FieldFileFolder(), user) << "none beside the program";
  Touch(user + "/horsedat.txt");
  EXPECT_EQ(files.FieldFileFolder(), user);
  Touch(program + "/horsedat.txt");
  EXPECT_EQ(files.FieldFileFolder(), program) << "asked again at the next race";
  files.position_place = FilePlace::kBesideProgram;
  EXPECT_EQ(files.FieldFileFolder(), program);
  unlink((program + "/horsedat.txt").c_str());
  EXPECT_EQ((FileLocations{program, ""}.FieldFileFolder()), program) << "no user folder known";
}

// A portable copy moved while it ran (~/Downloads/trotix to ~/Games/trotix)
// once made its old folder again on close, with a new Trotix.ini in it. A
// save follows the executable, and never makes the program's own folder.
TEST_F(FileLocationsTest, ASaveFollowsTheProgramAndNeverMakesItsFolder) {
  const std::string old_place = root.path().toStdString() + "/Downloads/trotix";  // moved away: not there
  const std::string new_place = Folder("Games/trotix");
  const std::string user = root.path().toStdString() + "/config/trotix";
  const auto at = [](std::string folder) { return [folder] { return folder; }; };
  struct Case {
    const char* what;
    FileLocations files;
    std::string path;  // empty: not stored
    bool may_make_folder;
  };
  const std::vector<Case> cases = {
      {"beside the program, where it stands", {new_place, user, FilePlace::kBesideProgram}, new_place + "/Trotix.ini", false},
      {"moved while it ran", {old_place, user, FilePlace::kBesideProgram, at(new_place)}, new_place + "/Trotix.ini", false},
      {"its folder deleted", {old_place, user, FilePlace::kBesideProgram, at(old_place)}, "", false},
      {"the system cannot say where it is", {old_place, user, FilePlace::kBesideProgram, at("")}, "", false},
      {"in the user's folder, made by the save", {old_place, user, FilePlace::kUserFolder, at(new_place)}, user + "/Trotix.ini", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PositionSave save = c.files.PositionFileForSave();
    EXPECT_EQ(save.path, c.path);
    EXPECT_EQ(save.may_make_folder, c.may_make_folder);
    EXPECT_EQ(save.problem.empty(), !c.path.empty()) << save.problem;
    if (c.path.empty()) {
      EXPECT_EQ(save.problem, "the game's folder " + old_place +
                                  " is gone (moved or deleted while the game ran), so the window position is not stored");
    }
  }
}

// What program_folder_probe says on standard error when run as ./probe
// from the folder `dir`, a copy of it put there first.
std::string ProbeSaysIn(int dir, const std::string& config) {
  const int from = open(TROTIX_PROGRAM_FOLDER_PROBE, O_RDONLY | O_CLOEXEC);
  const int to = openat(dir, "probe", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
  char buffer[65536];
  for (ssize_t n; (n = read(from, buffer, sizeof buffer)) > 0;) EXPECT_EQ(write(to, buffer, static_cast<std::size_t>(n)), n);
  close(from);
  close(to);
  int err[2];
  EXPECT_EQ(pipe(err), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(err[1], 2);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (fchdir(dir) == 0) execl("./probe", "probe", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(err[1]);
  std::string said;
  for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
  close(err[0]);
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  unlinkat(dir, "probe", 0);
  // A sanitizer's runtime has its own word about a folder it cannot name
  // ("==PID==WARNING: ..."); only the game's lines count.
  std::string game;
  for (std::size_t at = 0, end; at < said.size(); at = end + 1) {
    end = std::min(said.find('\n', at), said.size() - 1);
    if (said.compare(at, 2, "==") != 0) game.append(said, at, end + 1 - at);
  }
  return game;
}

// A portable copy in a folder deeper than the system's limit for a path
// once used the user's folder in silence: its own horsedat.txt and
// Trotix.ini were ignored without a word.
TEST_F(FileLocationsTest, AFolderTooDeepToNameIsOneLine) {
  const std::string config = Folder("config");
  std::vector<int> folders = {open(root.path().toStdString().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  EXPECT_EQ(ProbeSaysIn(folders.back(), config), "");
  const std::string name(200, 'd');
  while (folders.size() * (name.size() + 1) <= PATH_MAX + name.size()) {
    ASSERT_EQ(mkdirat(folders.back(), name.c_str(), 0700), 0);
    folders.push_back(openat(folders.back(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  EXPECT_EQ(ProbeSaysIn(folders.back(), config),
            "Trotix: the game's folder is deeper than the system's limit of " + std::to_string(PATH_MAX) +
                " bytes for a path, so horsedat.txt and Trotix.ini beside it cannot be opened; both are kept in " +
                config + "/trotix\n");
  // Too deep for QTemporaryDir to remove by name.
  for (std::size_t i = folders.size() - 1; i > 0; --i) {
    close(folders[i]);
    unlinkat(folders[i - 1], name.c_str(), AT_REMOVEDIR);
  }
  close(folders[0]);
}

}  // namespace
}  // namespace trotix
