#include "profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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

struct stat StatOf(const QString& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.toLocal8Bit().constData(), &st), 0) << path.toStdString();
  return st;
}

bool IsLink(const QString& path) { return S_ISLNK(StatOf(path).st_mode); }

void Link(const QString& target, const QString& link) {
  ASSERT_EQ(symlink(target.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
}

void GiveAway(const QString& path, uid_t uid, gid_t gid) {
  ASSERT_EQ(lchown(path.toLocal8Bit().constData(), uid, gid), 0);
}

constexpr uid_t kSomeoneElse = 12345;

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

// A symbolic link named Trotix.ini beside the executable is not an ordinary
// file of the game's folder: a save used to append to the file it pointed to
// and replace that with a file of the player's own, whoever had owned it. In
// a user's own configuration folder a link to that user's file is followed
// and its target replaced; no other link is.
TEST_F(ProfileFileTest, LinksAreFollowedOnlyToTheUsersOwnFileAndOnlyWhereAllowed) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("dotfiles"));
  const QString own = PathOf("dotfiles/Trotix.ini"), theirs = PathOf("theirs.ini");
  const std::string text = "[Trotix]\r\nTop=15\r\n";
  WriteBytes(theirs, text);
  GiveAway(theirs, kSomeoneElse, kSomeoneElse);
  const struct { LinkPolicy policy; QString target; bool followed; } cases[] = {
      {LinkPolicy::kRefuse, own, false},
      {LinkPolicy::kRefuse, theirs, false},
      {LinkPolicy::kRefuse, PathOf("nowhere.ini"), false},
      {LinkPolicy::kFollowToOwnFile, own, true},
      {LinkPolicy::kFollowToOwnFile, theirs, false},
      {LinkPolicy::kFollowToOwnFile, PathOf("dotfiles"), false},
      {LinkPolicy::kFollowToOwnFile, PathOf("nowhere.ini"), false},
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.policy == LinkPolicy::kRefuse ? "refuse " : "follow ") + c.target.toStdString();
    WriteBytes(own, text);
    const QString link = PathOf("Trotix.ini");
    QFile::remove(link);
    Link(c.target, link);
    EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, link, c.policy), c.followed ? "15" : "0") << name;
    EXPECT_EQ(WritePrivateProfileString("Trotix", "Left", "30", link, c.policy), c.followed) << name;
    EXPECT_EQ(ReadProfileFile(link, c.policy).status,
              c.followed ? ProfileFileStatus::kOk : ProfileFileStatus::kSymbolicLink) << name;
    EXPECT_EQ(ReadBytes(own), c.followed ? text + "Left=30\r\n" : text) << name;
    EXPECT_TRUE(IsLink(link)) << name;
  }
  EXPECT_EQ(ReadBytes(theirs), text);
  EXPECT_EQ(StatOf(theirs).st_uid, kSomeoneElse);
  EXPECT_FALSE(QFileInfo::exists(PathOf("nowhere.ini")));
  EXPECT_EQ(QDir(PathOf("dotfiles")).entryList(QDir::Files | QDir::Hidden), QStringList{"Trotix.ini"});
}

// A save never changes who owns the file it replaces: the new file gets the
// old one's owner, group and mode, or, when only root could give it those,
// the old file stays.
TEST_F(ProfileFileTest, ASaveKeepsTheOwnerOfTheFileItReplaces) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make a file that belongs to someone else";
  const QString path = PathOf("Trotix.ini");
  WriteBytes(path, "[Trotix]\r\nTop=15\r\n");
  GiveAway(path, kSomeoneElse, kSomeoneElse);
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", "30", path));
  EXPECT_EQ(ReadBytes(path), "[Trotix]\r\nTop=30\r\n");
  EXPECT_EQ(StatOf(path).st_uid, kSomeoneElse);
  EXPECT_EQ(StatOf(path).st_gid, kSomeoneElse);
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);

  // An ordinary user in a folder anyone may write to, with root's file.
  const std::string root_text = "[Trotix]\r\nTop=45\r\n";
  WriteBytes(path, root_text);
  GiveAway(path, 0, 0);
  ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0666), 0);
  ASSERT_EQ(chmod(dir_.path().toLocal8Bit().constData(), 0777), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(kSomeoneElse) != 0 || setuid(kSomeoneElse) != 0) _exit(2);
    const ProfileSetting top{"Top", "60"};
    _exit(WriteProfileStrings("Trotix", std::span(&top, 1), path) == ProfileFileStatus::kOtherOwner ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user's save was not refused";
  EXPECT_EQ(ReadBytes(path), root_text);
  EXPECT_EQ(StatOf(path).st_uid, 0u);
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});
}

// Two copies closing at once. The first has read the file and made its text
// when the second starts; the second must wait for the lock, then read what
// the first wrote, so the file ends with both keys of the second and the
// bytes of four single-key writes made one after the other.
TEST_F(ProfileFileTest, ConcurrentSavesTakeTurnsAndTheLastSetsBothKeys) {
  const QString path = PathOf("Trotix.ini");
  WriteBytes(path, "[Trotix]\nLeft=1\n");
  std::mutex mutex;
  std::condition_variable changed;
  bool second_waits = false, second_done = false;
  ProfileFileStatus second_result = ProfileFileStatus::kFailed;
  std::thread second;

  ProfileSaveHooks first_hooks;
  first_hooks.before_replace = [&] {
    second = std::thread([&] {
      ProfileSaveHooks hooks;
      hooks.waiting_for_lock = [&] {
        const std::lock_guard<std::mutex> hold(mutex);
        second_waits = true;
        changed.notify_all();
      };
      const ProfileSetting b[] = {{"Top", "222"}, {"Left", "-222"}};
      second_result = WriteProfileStrings("Trotix", b, path, LinkPolicy::kRefuse, &hooks);
      const std::lock_guard<std::mutex> hold(mutex);
      second_done = true;
      changed.notify_all();
    });
    // Without a lock the second would finish here, and the first then
    // overwrite it.
    std::unique_lock<std::mutex> hold(mutex);
    changed.wait(hold, [&] { return second_waits || second_done; });
  };
  const ProfileSetting a[] = {{"Top", "111"}, {"Left", "-111"}};
  EXPECT_EQ(WriteProfileStrings("Trotix", a, path, LinkPolicy::kRefuse, &first_hooks), ProfileFileStatus::kOk);
  second.join();
  EXPECT_EQ(second_result, ProfileFileStatus::kOk);
  EXPECT_EQ(ReadBytes(path), "[Trotix]\nLeft=-222\nTop=222\r\n");
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});
}

TEST_F(ProfileFileTest, ASaveThatChangesNothingLeavesTheFileUntouched) {
  const QString path = PathOf("Trotix.ini");
  WriteBytes(path, "[Trotix]\r\nTop=15\r\nLeft=30\r\n");
  const timespec long_ago[] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.toLocal8Bit().constData(), long_ago, 0), 0);
  const struct stat before = StatOf(path);
  const ProfileSetting same[] = {{"Top", "15"}, {"Left", "30"}};
  EXPECT_EQ(WriteProfileStrings("Trotix", same, path), ProfileFileStatus::kOk);
  const struct stat after = StatOf(path);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(ProfileFileTest, AnOversizedFileWithCarriageReturnsOnlyStillGivesItsPosition) {
  const QString path = PathOf("Trotix.ini");
  std::string text = "[Trotix]\rTop=5\rLeft=7\r";
  text += std::string(kProfileFileReadLimit, ';') + "\r";
  WriteBytes(path, text);
  EXPECT_EQ(ReadPosition("Top", path), 5.0f);
  EXPECT_EQ(ReadPosition("Left", path), 7.0f);
}

}  // namespace
}  // namespace trotix
