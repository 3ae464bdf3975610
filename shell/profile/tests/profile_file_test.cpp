#include "profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "position_text.h"

namespace trotix {
namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString PathOf(const QString& name) const { return dir_.filePath(name); }

  static void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
  }

  static std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
  }

  QStringList Entries() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

  QTemporaryDir dir_;
};

float ReadPosition(const char* key, const QString& path) {
  return ParsePositionValue(GetPrivateProfileString("Trotix", key, "0", 1024, path));
}

TEST_F(ProfileFileTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, PathOf("none.ini")), "0");
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, dir_.path()), "0");  // a directory
}

TEST_F(ProfileFileTest, StoredValuesBecomePositions) {
  const struct { std::string file; float top; float left; } cases[] = {
      {"[Trotix]\r\nTop=1500\r\nLeft=3000\r\n", 1500.0f, 3000.0f},
      {"[Trotix]\r\nTop=\r\nLeft=3000\r\n", 0.0f, 3000.0f},
      {"[Trotix]\r\nTop=abc\r\nLeft=-120\r\n", 0.0f, -120.0f},
      {"[Trotix]\r\nLeft=99999999\r\n", 0.0f, 1e8f},
      {"[Trotix]\r\nTop= 720 \r\nLeft=720abc\r\n", 720.0f, 720.0f},
      {"[trotix]\nLEFT=-5e20\ntop=1e99\n", 0.0f, -5e20f},
  };
  for (const auto& c : cases) {
    const QString path = PathOf("Trotix.ini");
    WriteBytes(path, c.file);
    EXPECT_EQ(ReadPosition("Top", path), c.top) << c.file;
    EXPECT_EQ(ReadPosition("Left", path), c.left) << c.file;
  }
}

TEST_F(ProfileFileTest, FirstSaveCreatesTheWholeFile) {
  const QString path = PathOf("Trotix.ini");
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", FormatGeneralNumber(-120.0f), path));
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Left", FormatGeneralNumber(3450.0f), path));
  EXPECT_EQ(ReadBytes(path), "[Trotix]\r\nTop=-120\r\nLeft=3450\r\n");
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});  // no temporary file left behind
}

TEST_F(ProfileFileTest, SaveKeepsTheRestOfTheFile) {
  const QString path = PathOf("Trotix.ini");
  WriteBytes(path, "\xEF\xBB\xBF; mine\n[Other]\rTop=7\r[Trotix]\nLeft=1\nno equals\n");
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Left", "3450", path));
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", "15", path));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF; mine\n[Other]\rTop=7\r[Trotix]\nLeft=3450\nno equals\nTop=15\r\n");
}

TEST_F(ProfileFileTest, RefusedWritesChangeNothing) {
  const QString path = PathOf("Trotix.ini");
  const std::string text = "[Trotix]\r\nTop=1\r\n";
  WriteBytes(path, text);
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1\r\nLeft=2", path));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "A=B", "1", path));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1", dir_.path()));  // a directory
  EXPECT_EQ(ReadBytes(path), text);
}

TEST_F(ProfileFileTest, UnwritablePlaceFailsQuietlyAndLeavesNoFile) {
  // A regular file as the parent: no one, root included, can create in it.
  const QString parent = PathOf("plain");
  WriteBytes(parent, "x");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1", parent + "/Trotix.ini"));
  EXPECT_EQ(Entries(), QStringList{"plain"});
  EXPECT_EQ(ReadBytes(parent), "x");
}

TEST_F(ProfileFileTest, ReadOnlyDirectoryFailsQuietly) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const QString sub = PathOf("locked");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("locked"));
  WriteBytes(sub + "/Trotix.ini", "[Trotix]\r\nTop=1\r\n");
  ASSERT_TRUE(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "2", sub + "/Trotix.ini"));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "2", sub + "/New.ini"));
  QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(ReadBytes(sub + "/Trotix.ini"), "[Trotix]\r\nTop=1\r\n");
  EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{"Trotix.ini"});
}

// A disk that fills up half-way through the new file (here a file size
// limit, which holds for root too) must leave the old file whole.
TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileWhole) {
  const QString path = PathOf("Trotix.ini");
  const std::string text = "[Trotix]\r\nTop=1\r\nLeft=2\r\n";
  WriteBytes(path, text);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WritePrivateProfileString("Trotix", "Top", std::string(100, '7'), path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(path), text);
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});
}

TEST_F(ProfileFileTest, OversizedFileIsReadInWholeLinesAndNeverRewritten) {
  const QString path = PathOf("Trotix.ini");
  // The entry Left straddles the read limit: it must not come back cut short.
  std::string text = "[Trotix]\r\nTop=5\r\n";
  text += std::string(kProfileFileReadLimit - text.size() - 10, ';') + "\r\n";
  text += "Left=123456\r\n";
  WriteBytes(path, text);
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, path), "5");
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Left", "0", 1024, path), "0");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "6", path));
  EXPECT_EQ(ReadBytes(path), text);
}

TEST_F(ProfileFileTest, OnlyAnOrdinaryFileIsReadOrReplaced) {
  // A pipe that nobody writes to would block the start for good; a folder
  // must not be replaced by a file.
  const QString pipe = PathOf("Trotix.ini");
  ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, pipe), "0");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "15", pipe));
  EXPECT_FALSE(QFileInfo(pipe).isFile());

  const QString folder = PathOf("folder.ini");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.ini"));
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, folder), "0");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "15", folder));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

}  // namespace
}  // namespace trotix
