#include "profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
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

  std::string PathOf(const char* name) const { return dir_.filePath(QString::fromUtf8(name)).toStdString(); }
  std::string Dir() const { return dir_.path().toStdString(); }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
  }

  static std::string ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
  }

  static QStringList EntriesOf(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }
  QStringList Entries() const { return EntriesOf(Dir()); }

  QTemporaryDir dir_;
};

float ReadPosition(const char* key, const std::string& path) {
  return ParsePositionValue(GetPrivateProfileString("Trotix", key, "0", 1024, path));
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return st;
}

bool IsLink(const std::string& path) { return S_ISLNK(StatOf(path).st_mode); }

void Link(const std::string& target, const std::string& link) { ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0); }

void GiveAway(const std::string& path, uid_t uid, gid_t gid) { ASSERT_EQ(lchown(path.c_str(), uid, gid), 0); }

void MakeFolder(const std::string& path, mode_t mode) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << path;
  ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
}

constexpr uid_t kSomeoneElse = 12345;

TEST_F(ProfileFileTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, PathOf("none.ini")), "0");
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, Dir()), "0");  // a directory
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
    const std::string path = PathOf("Trotix.ini");
    WriteBytes(path, c.file);
    EXPECT_EQ(ReadPosition("Top", path), c.top) << c.file;
    EXPECT_EQ(ReadPosition("Left", path), c.left) << c.file;
  }
}

TEST_F(ProfileFileTest, FirstSaveCreatesTheWholeFile) {
  const std::string path = PathOf("Trotix.ini");
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", FormatGeneralNumber(-120.0f), path));
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Left", FormatGeneralNumber(3450.0f), path));
  EXPECT_EQ(ReadBytes(path), "[Trotix]\r\nTop=-120\r\nLeft=3450\r\n");
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});  // no temporary file left behind
}

TEST_F(ProfileFileTest, SaveKeepsTheRestOfTheFile) {
  const std::string path = PathOf("Trotix.ini");
  WriteBytes(path, "\xEF\xBB\xBF; mine\n[Other]\rTop=7\r[Trotix]\nLeft=1\nno equals\n");
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Left", "3450", path));
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", "15", path));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF; mine\n[Other]\rTop=7\r[Trotix]\nLeft=3450\nno equals\nTop=15\r\n");
}

TEST_F(ProfileFileTest, RefusedWritesChangeNothing) {
  const std::string path = PathOf("Trotix.ini");
  const std::string text = "[Trotix]\r\nTop=1\r\n";
  WriteBytes(path, text);
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1\r\nLeft=2", path));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "A=B", "1", path));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1", Dir()));  // a directory
  EXPECT_EQ(ReadBytes(path), text);
}

TEST_F(ProfileFileTest, UnwritablePlaceFailsQuietlyAndLeavesNoFile) {
  // A regular file as the parent: no one, root included, can create in it.
  const std::string parent = PathOf("plain");
  WriteBytes(parent, "x");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "1", parent + "/Trotix.ini"));
  EXPECT_EQ(Entries(), QStringList{"plain"});
  EXPECT_EQ(ReadBytes(parent), "x");
}

TEST_F(ProfileFileTest, ReadOnlyDirectoryFailsQuietly) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const std::string sub = PathOf("locked");
  MakeFolder(sub, 0700);
  WriteBytes(sub + "/Trotix.ini", "[Trotix]\r\nTop=1\r\n");
  ASSERT_EQ(chmod(sub.c_str(), 0500), 0);
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "2", sub + "/Trotix.ini"));
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "2", sub + "/New.ini"));
  chmod(sub.c_str(), 0700);
  EXPECT_EQ(ReadBytes(sub + "/Trotix.ini"), "[Trotix]\r\nTop=1\r\n");
  EXPECT_EQ(EntriesOf(sub), QStringList{"Trotix.ini"});
}

// A disk that fills up half-way through the new file (here a file size
// limit, which holds for root too) must leave the old file whole.
TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string path = PathOf("Trotix.ini");
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
  const std::string path = PathOf("Trotix.ini");
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
  const std::string pipe = PathOf("Trotix.ini");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, pipe), "0");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "15", pipe));
  EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode));

  const std::string folder = PathOf("folder.ini");
  MakeFolder(folder, 0700);
  EXPECT_EQ(GetPrivateProfileString("Trotix", "Top", "0", 1024, folder), "0");
  EXPECT_FALSE(WritePrivateProfileString("Trotix", "Top", "15", folder));
  EXPECT_TRUE(S_ISDIR(StatOf(folder).st_mode));
}

// A symbolic link named Trotix.ini beside the executable is not an ordinary
// file of the game's folder: a save used to append to the file it pointed to
// and replace that with a file of the player's own, whoever had owned it. In
// a user's own configuration folder a link to that user's file is followed
// and its target replaced; no other link is.
TEST_F(ProfileFileTest, LinksAreFollowedOnlyToTheUsersOwnFileAndOnlyWhereAllowed) {
  MakeFolder(PathOf("dotfiles"), 0755);
  const std::string own = PathOf("dotfiles/Trotix.ini"), theirs = PathOf("theirs.ini");
  const std::string text = "[Trotix]\r\nTop=15\r\n";
  WriteBytes(theirs, text);
  GiveAway(theirs, kSomeoneElse, kSomeoneElse);
  const struct { LinkPolicy policy; std::string target; bool followed; } cases[] = {
      {LinkPolicy::kRefuse, own, false},
      {LinkPolicy::kRefuse, theirs, false},
      {LinkPolicy::kRefuse, PathOf("nowhere.ini"), false},
      {LinkPolicy::kFollowToOwnFile, own, true},
      {LinkPolicy::kFollowToOwnFile, theirs, false},
      {LinkPolicy::kFollowToOwnFile, PathOf("dotfiles"), false},
      {LinkPolicy::kFollowToOwnFile, PathOf("nowhere.ini"), false},
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.policy == LinkPolicy::kRefuse ? "refuse " : "follow ") + c.target;
    WriteBytes(own, text);
    const std::string link = PathOf("Trotix.ini");
    unlink(link.c_str());
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
  EXPECT_NE(access(PathOf("nowhere.ini").c_str(), F_OK), 0);
  EXPECT_EQ(EntriesOf(PathOf("dotfiles")), QStringList{"Trotix.ini"});
}

// A save never changes who owns the file it replaces: the new file gets the
// old one's owner, group and mode, or, when only root could give it those,
// the old file stays.
TEST_F(ProfileFileTest, ASaveKeepsTheOwnerOfTheFileItReplaces) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make a file that belongs to someone else";
  const std::string path = PathOf("Trotix.ini");
  WriteBytes(path, "[Trotix]\r\nTop=15\r\n");
  GiveAway(path, kSomeoneElse, kSomeoneElse);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", "30", path));
  EXPECT_EQ(ReadBytes(path), "[Trotix]\r\nTop=30\r\n");
  EXPECT_EQ(StatOf(path).st_uid, kSomeoneElse);
  EXPECT_EQ(StatOf(path).st_gid, kSomeoneElse);
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);

  // An ordinary user in a folder of their own, with a file of root's that
  // anyone may write.
  const std::string root_text = "[Trotix]\r\nTop=45\r\n";
  WriteBytes(path, root_text);
  GiveAway(path, 0, 0);
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  GiveAway(Dir(), kSomeoneElse, kSomeoneElse);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(kSomeoneElse) != 0 || setuid(kSomeoneElse) != 0) _exit(2);
    const ProfileSetting top{"Top", "60"};
    _exit(WriteProfileStrings("Trotix", std::span(&top, 1), path).status == ProfileFileStatus::kOtherOwner ? 0 : 1);
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
  const std::string path = PathOf("Trotix.ini");
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
      second_result = WriteProfileStrings("Trotix", b, path, LinkPolicy::kRefuse, &hooks).status;
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
  EXPECT_EQ(WriteProfileStrings("Trotix", a, path, LinkPolicy::kRefuse, &first_hooks).status, ProfileFileStatus::kOk);
  second.join();
  EXPECT_EQ(second_result, ProfileFileStatus::kOk);
  EXPECT_EQ(ReadBytes(path), "[Trotix]\nLeft=-222\nTop=222\r\n");
  EXPECT_EQ(Entries(), QStringList{"Trotix.ini"});
}

TEST_F(ProfileFileTest, ASaveThatChangesNothingLeavesTheFileUntouched) {
  const std::string path = PathOf("Trotix.ini");
  WriteBytes(path, "[Trotix]\r\nTop=15\r\nLeft=30\r\n");
  const timespec long_ago[] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), long_ago, 0), 0);
  const struct stat before = StatOf(path);
  const ProfileSetting same[] = {{"Top", "15"}, {"Left", "30"}};
  EXPECT_EQ(WriteProfileStrings("Trotix", same, path).status, ProfileFileStatus::kOk);
  const struct stat after = StatOf(path);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(ProfileFileTest, AnOversizedFileWithCarriageReturnsOnlyStillGivesItsPosition) {
  const std::string path = PathOf("Trotix.ini");
  std::string text = "[Trotix]\rTop=5\rLeft=7\r";
  text += std::string(kProfileFileReadLimit, ';') + "\r";
  WriteBytes(path, text);
  EXPECT_EQ(ReadPosition("Top", path), 5.0f);
  EXPECT_EQ(ReadPosition("Left", path), 7.0f);
}

// Wine's recorded cases for WritePrivateProfileStringA: a single-byte file
// with NULs is written byte for byte, its NULs where they were. Such a file
// was once taken for UTF-16 without a mark, and the position was lost.
TEST_F(ProfileFileTest, NulsInASingleByteFileStayWhereTheyWere) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"NULs before the first section", "Data \0 before \0 first \0 section"s, "section1", "key1", "string1",
       "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"s},
      {"NULs before the section written in", "\0\0\r\n[Trotix]\r\nTop=1\r\n"s, "Trotix", "Top", "15",
       "\0\0\r\n[Trotix]\r\nTop=15\r\n"s},
      {"a file that ends in a NUL", "[Trotix]\r\nTop=15\r\n\0"s, "Trotix", "Left", "30",
       "[Trotix]\r\nTop=15\r\n\0\r\nLeft=30\r\n"s},
      {"a file that ends in a NUL, no section yet", "Top=15\0"s, "Trotix", "Top", "15",
       "Top=15\0\r\n[Trotix]\r\nTop=15\r\n"s},
      {"a NUL in another key's value", "[Trotix]\r\nName=a\0b\r\nTop=1\r\n"s, "Trotix", "Top", "15",
       "[Trotix]\r\nName=a\0b\r\nTop=15\r\n"s},
      {"a NUL in another section", "[Other]\r\n\0=\0\r\n[Trotix]\r\nLeft=1\r\n"s, "Trotix", "Left", "30",
       "[Other]\r\n\0=\0\r\n[Trotix]\r\nLeft=30\r\n"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = PathOf("nul.ini");
    WriteBytes(path, c.before);
    const ProfileSetting setting{c.key, c.value};
    EXPECT_EQ(WriteProfileStrings(c.section, std::span(&setting, 1), path).status, ProfileFileStatus::kOk);
    EXPECT_EQ(ReadBytes(path), c.after);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "none", 1024, path), c.value);
  }
  // UTF-16 without a mark still cannot take an ASCII key: it is left alone.
  const std::string wide = "[\0T\0r\0o\0t\0i\0x\0]\0\r\0\n\0"s;
  WriteBytes(PathOf("wide.ini"), wide);
  const ProfileSetting top{"Top", "15"};
  EXPECT_EQ(WriteProfileStrings("Trotix", std::span(&top, 1), PathOf("wide.ini")).status, ProfileFileStatus::kUnknownEncoding);
  EXPECT_EQ(ReadBytes(PathOf("wide.ini")), wide);
}

std::string Utf16(std::string_view ascii, bool little_endian) {
  std::string out = little_endian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : ascii) {
    out += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
  }
  return out;
}

// Places a save must leave alone, and the encodings it must keep. The first
// rows are a link someone else planted in a configuration folder: once the
// game followed it to a file of the player's own (a ~/.profile) and appended
// its section there. A read-only file was replaced regardless of its mode,
// and a UTF-16 file read as no position and got an ASCII section appended.
TEST_F(ProfileFileTest, HostilePlacesAndForeignEncodingsAreLeftAsTheyAre) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make files and folders of someone else's";
  const std::string text = "[Trotix]\r\nTop=15\r\n";
  const std::string saved = text + "Left=30\r\n";
  struct Case {
    const char* what;
    std::function<void(const std::string& base)> make;  // makes base/cfg/Trotix.ini; base/victim.ini holds `text`
    ProfileFileStatus read;
    ProfileFileStatus save;
    std::string file_after;  // of base/cfg/Trotix.ini, or of base/victim.ini where it is a link
    float top;
  };
  // base/cfg, made with `mode`, holding Trotix.ini: the link to the victim's
  // file, made by `owner`, or a file of `bytes`, made with `file_mode`.
  using Make = std::function<void(const std::string& base)>;
  const auto link_in = [](mode_t mode, uid_t owner) -> Make {
    return [=](const std::string& base) {
      MakeFolder(base + "/cfg", mode);
      Link(base + "/victim.ini", base + "/cfg/Trotix.ini");
      GiveAway(base + "/cfg/Trotix.ini", owner, owner);
    };
  };
  const auto file_in = [](mode_t mode, std::string bytes, mode_t file_mode = 0644) -> Make {
    return [=](const std::string& base) {
      MakeFolder(base + "/cfg", mode);
      WriteBytes(base + "/cfg/Trotix.ini", bytes);
      ASSERT_EQ(chmod((base + "/cfg/Trotix.ini").c_str(), file_mode), 0);
    };
  };
  const auto then = [](Make first, Make second) -> Make {
    return [=](const std::string& base) {
      first(base);
      second(base);
    };
  };
  const std::string emoji_be("\xD8\x3D\xDC\x0E", 4), lone_le("\x00\xD8", 2);
  const std::vector<Case> cases = {
      {"a link another user made in their folder",
       then(link_in(0755, kSomeoneElse), [](const std::string& base) { GiveAway(base + "/cfg", kSomeoneElse, kSomeoneElse); }),
       ProfileFileStatus::kUntrusted, ProfileFileStatus::kUntrusted, text, 0.0f},
      {"a link another user made in a sticky folder for all", link_in(01777, kSomeoneElse),
       ProfileFileStatus::kUntrusted, ProfileFileStatus::kUntrusted, text, 0.0f},
      {"the user's own link in a folder the group may write in", link_in(0775, 0),
       ProfileFileStatus::kUntrusted, ProfileFileStatus::kUntrusted, text, 0.0f},
      {"the user's own link under a folder of someone else's",
       then(link_in(0755, 0), [](const std::string& base) { GiveAway(base, kSomeoneElse, kSomeoneElse); }),
       ProfileFileStatus::kUntrusted, ProfileFileStatus::kUntrusted, text, 0.0f},
      {"the user's own link, every folder the user's or root's", link_in(0755, 0),
       ProfileFileStatus::kOk, ProfileFileStatus::kOk, saved, 15.0f},
      {"a sticky folder for all on the way, as /tmp is",
       then([](const std::string& base) { ASSERT_EQ(chmod(base.c_str(), 01777), 0); }, file_in(0700, text)),
       ProfileFileStatus::kOk, ProfileFileStatus::kOk, saved, 15.0f},
      {"an ordinary file in a sticky folder for all", file_in(01777, text),
       ProfileFileStatus::kOk, ProfileFileStatus::kUntrusted, text, 15.0f},
      {"a read-only file", file_in(0700, text, 0444), ProfileFileStatus::kOk, ProfileFileStatus::kReadOnly, text, 15.0f},
      {"UTF-16, little-endian, with its mark", file_in(0700, Utf16(text, true)),
       ProfileFileStatus::kOk, ProfileFileStatus::kOk, Utf16(saved, true), 15.0f},
      {"UTF-16, big-endian, with its mark and a character beyond 16 bits", file_in(0700, Utf16(text, false) + emoji_be),
       ProfileFileStatus::kOk, ProfileFileStatus::kOk,
       Utf16(text, false) + emoji_be + Utf16("\r\nLeft=30\r\n", false).substr(2), 15.0f},
      {"UTF-16 without a mark", file_in(0700, Utf16(text, true).substr(2)),
       ProfileFileStatus::kOk, ProfileFileStatus::kUnknownEncoding, Utf16(text, true).substr(2), 0.0f},
      {"UTF-16 with a lone surrogate", file_in(0700, Utf16(text, true) + lone_le),
       ProfileFileStatus::kOk, ProfileFileStatus::kUnknownEncoding, Utf16(text, true) + lone_le, 15.0f},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string base = PathOf(std::to_string(++n).c_str());
    MakeFolder(base, 0755);
    WriteBytes(base + "/victim.ini", text);
    c.make(base);
    const std::string path = base + "/cfg/Trotix.ini";
    const bool linked = IsLink(path);
    EXPECT_EQ(ReadProfileFile(path, LinkPolicy::kFollowToOwnFile).status, c.read);
    EXPECT_EQ(ParsePositionValue(GetPrivateProfileString("Trotix", "Top", "0", 1024, path, LinkPolicy::kFollowToOwnFile)),
              c.top);
    const ProfileSetting left{"Left", "30"};
    const ProfileSaveResult result = WriteProfileStrings("Trotix", std::span(&left, 1), path, LinkPolicy::kFollowToOwnFile);
    EXPECT_EQ(result.status, c.save);
    EXPECT_EQ(result.untrusted.empty(), c.save != ProfileFileStatus::kUntrusted) << result.untrusted;
    EXPECT_EQ(ReadBytes(linked ? base + "/victim.ini" : path), c.file_after);
    EXPECT_EQ(IsLink(path), linked) << "a link stays a link";
    if (!linked) {
      EXPECT_EQ(ReadBytes(base + "/victim.ini"), text);
    }
    EXPECT_EQ(EntriesOf(base + "/cfg"), QStringList{"Trotix.ini"});
  }
}

TEST_F(ProfileFileTest, TemporaryFilesOfSavesThatDiedAreRemovedByTheNext) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);  // a process id that is gone
  const std::string dead = "Trotix.ini." + std::to_string(child) + "-0.tmp";
  const std::string alive = "Trotix.ini." + std::to_string(getppid()) + "-0.tmp";
  for (const std::string& name : {dead, alive, std::string("Trotix.ini.x-0.tmp"), std::string("Other.ini.1-0.tmp")}) {
    WriteBytes(PathOf(name.c_str()), "half a file");
  }
  EXPECT_TRUE(WritePrivateProfileString("Trotix", "Top", "15", PathOf("Trotix.ini")));
  QStringList left = Entries();
  left.sort();
  EXPECT_EQ(left, (QStringList{"Other.ini.1-0.tmp", "Trotix.ini", QString::fromStdString(alive), "Trotix.ini.x-0.tmp"}));
}

// Another process holding the folder's lock for good once froze the window
// on screen until it let go.
TEST_F(ProfileFileTest, ASaveWaitsForTheLockOnlySoLong) {
  const int held = open(Dir().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  ProfileSaveHooks hooks;
  hooks.lock_wait = std::chrono::milliseconds(50);
  const ProfileSetting top{"Top", "15"};
  EXPECT_EQ(WriteProfileStrings("Trotix", std::span(&top, 1), PathOf("Trotix.ini"), LinkPolicy::kRefuse, &hooks).status,
            ProfileFileStatus::kSavedWithoutLock);
  close(held);
  EXPECT_EQ(ReadBytes(PathOf("Trotix.ini")), "[Trotix]\r\nTop=15\r\n");
}

}  // namespace
}  // namespace trotix
