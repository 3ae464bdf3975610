#include "platform/file_locations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace trotix {
namespace {

class FileLocationsTest : public ::testing::Test {
 protected:
  QString Folder(const char* name) {
    const QString path = root.filePath(QString::fromLatin1(name));
    QDir().mkpath(path);
    return path;
  }
  static void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QTemporaryDir root;
};

TEST_F(FileLocationsTest, PositionFileStaysBesideAWritableProgramOnly) {
  const QString program = Folder("bin");
  const QString user = root.filePath("config/trotix");  // not made yet
  struct Case {
    const char* what;
    QString program_dir;
    QString user_dir;
    FilePlace place;
  };
  const Case cases[] = {
      {"a writable folder", program, user, FilePlace::kBesideProgram},
      {"a folder that is gone", root.filePath("missing"), user, FilePlace::kUserFolder},
      {"a file, not a folder", root.filePath("bin/trotix"), user, FilePlace::kUserFolder},
      {"no user folder known", root.filePath("missing"), QString(), FilePlace::kBesideProgram},
  };
  Touch(program + "/trotix");
  for (const Case& c : cases) {
    const FileLocations files = LocateFiles(c.program_dir, c.user_dir);
    EXPECT_EQ(files.position_place, c.place) << c.what;
    const QString folder = c.place == FilePlace::kBesideProgram ? c.program_dir : c.user_dir;
    EXPECT_EQ(files.PositionFile(), folder + "/Trotix.ini") << c.what;
  }
}

TEST_F(FileLocationsTest, AReadOnlyProgramFolderSendsThePositionToTheUser) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  const QString program = Folder("usr/bin");
  ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
  const FileLocations files = LocateFiles(program, Folder("config/trotix"));
  QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(files.position_place, FilePlace::kUserFolder);
  EXPECT_EQ(files.PositionFile(), root.filePath("config/trotix/Trotix.ini"));
}

TEST_F(FileLocationsTest, HorseDataBesideTheProgramWinsOverTheUsersOwn) {
  const QString program = Folder("bin");
  const QString user = Folder("config/trotix");
  FileLocations files{program, user, FilePlace::kUserFolder};
  EXPECT_EQ(files.FieldFileFolder(), user) << "none beside the program";
  Touch(user + "/horsedat.txt");
  EXPECT_EQ(files.FieldFileFolder(), user);
  Touch(program + "/horsedat.txt");
  EXPECT_EQ(files.FieldFileFolder(), program) << "asked again at the next race";
  files.position_place = FilePlace::kBesideProgram;
  EXPECT_EQ(files.FieldFileFolder(), program);
  QFile::remove(program + "/horsedat.txt");
  EXPECT_EQ((FileLocations{program, QString()}.FieldFileFolder()), program) << "no user folder known";
}

}  // namespace
}  // namespace trotix
