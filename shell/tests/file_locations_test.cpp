#include "platform/file_locations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

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

}  // namespace
}  // namespace trotix
