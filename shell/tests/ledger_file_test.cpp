#include "ledger_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "profile/profile_file.h"

namespace trotix {
namespace {

const std::string kRace =
    "2026-12-10 10:40:12;078/039/1/3.0,052/087/3/2.6,050/050/2/4.1,061/033/4/5.0,045/070/1/3.9,090/020/2/4.4;"
    "4-2;W4:100@3.0=300;10200;0;0;S";

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Reading the ledger as it may be found: kept and used, or moved aside
// under a new name with one line, and a new purse.
TEST(LedgerFile, ReadsAGoodLedgerAndMovesAnyOtherAside) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
    std::int64_t purse;
    std::size_t races;
    const char* notice;  // a piece of the line, or "" for none
  } cases[] = {
      {"missing", [](const std::string&) {}, kPurseStart, 0, ""},
      {"good", [](const std::string& p) { Write(p, "[Ledger]\r\nPurse=10200\r\nRace1=" + kRace + "\r\n"); }, 10200, 1, ""},
      {"damaged", [](const std::string& p) { Write(p, "[Ledger]\r\nPurse=10200\r\nRace1=" + kRace + "\r\ngarbage\r\n"); },
       kPurseStart, 0, "is damaged: line 4 is out of place; it is kept as"},
      {"truncated line", [](const std::string& p) { Write(p, "[Ledger]\r\nRace1=" + kRace.substr(0, 70)); },
       kPurseStart, 0, "is damaged: line 2 is not a race of the ledger"},
      {"huge", [](const std::string& p) { Write(p, "[Ledger]\r\n" + std::string(kProfileFileReadLimit, ' ')); },
       kPurseStart, 0, "is larger than a ledger can be"},
      {"folder", [](const std::string& p) { mkdir(p.c_str(), 0700); }, kPurseStart, 0, "is a folder"},
      {"link", [](const std::string& p) {
         Write(p + ".target", "[Ledger]\r\nPurse=99999\r\n");
         ASSERT_EQ(symlink((p + ".target").c_str(), p.c_str()), 0);
       }, kPurseStart, 0, "is a symbolic link"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/" + kLedgerFileName;
    c.make(path);
    struct stat before {};
    const bool existed = lstat(path.c_str(), &before) == 0;
    const LedgerLoad load = LoadLedgerFile(path);
    EXPECT_EQ(load.read.purse, c.purse);
    EXPECT_EQ(load.read.entries.size(), c.races);
    EXPECT_NE(load.notice.find(c.notice), std::string::npos) << load.notice;
    EXPECT_EQ(load.notice.empty(), std::string(c.notice).empty());
    if (!load.notice.empty()) {
      // The same thing under its new name, and the ledger's name free.
      EXPECT_EQ(load.kept_as, path + ".damaged");
      struct stat after {};
      ASSERT_EQ(lstat(load.kept_as.c_str(), &after), 0);
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_NE(lstat(path.c_str(), &after), 0);
      EXPECT_TRUE(existed);
    }
  }
}

TEST(LedgerFile, AKeptDamagedLedgerIsNeverOverwritten) {
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString() + "/" + kLedgerFileName;
  Write(path + ".damaged", "the first");
  Write(path, "the second");
  const LedgerLoad load = LoadLedgerFile(path);
  EXPECT_EQ(load.kept_as, path + ".damaged-2");
  EXPECT_EQ(Read(path + ".damaged"), "the first");
  EXPECT_EQ(Read(path + ".damaged-2"), "the second");
}

TEST(LedgerFile, AnUnreadableLedgerIsMovedAside) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString() + "/" + kLedgerFileName;
  Write(path, "[Ledger]\r\n");
  chmod(path.c_str(), 0);
  const LedgerLoad load = LoadLedgerFile(path);
  EXPECT_NE(load.notice.find("cannot be read"), std::string::npos) << load.notice;
  EXPECT_EQ(load.kept_as, path + ".damaged");
}

TEST(LedgerFile, StoresRacesInTurnAndReadsThemBack) {
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString() + "/" + kLedgerFileName;
  const auto entry = ParseLedgerLine(kRace);
  ASSERT_TRUE(entry);
  EXPECT_EQ(StoreLedger(path, 10200, 0, entry, 1), "");
  EXPECT_EQ(StoreLedger(path, 0, 0), "");
  EXPECT_EQ(StoreLedger(path, 10000, 1, entry, 2), "");
  const LedgerLoad load = LoadLedgerFile(path);
  EXPECT_EQ(load.notice, "");
  EXPECT_EQ(load.read.purse, 10000);
  EXPECT_EQ(load.read.refills, 1);
  ASSERT_EQ(load.read.entries.size(), 2u);
  EXPECT_EQ(LedgerLineText(load.read.entries[1]), kRace);

  // Never written through a link planted in its place.
  QTemporaryDir other;
  const std::string planted = folder.path().toStdString() + "/planted.ini";
  const std::string target = other.path().toStdString() + "/target";
  Write(target, "mine");
  ASSERT_EQ(symlink(target.c_str(), planted.c_str()), 0);
  EXPECT_NE(StoreLedger(planted, 1, 0), "");
  EXPECT_EQ(Read(target), "mine");
}

}  // namespace
}  // namespace trotix
