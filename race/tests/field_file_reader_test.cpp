#include "field_file_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace trotix {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSixLines = "80\t60\t2\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\n";

class FieldFileReader : public ::testing::Test {
 public:
  FieldFileReader() {
    char name[] = "/tmp/trotix-reader-XXXXXX";
    dir = ::mkdtemp(name);
    path = dir + "/horsedat.txt";
  }
  ~FieldFileReader() override { fs::remove_all(dir); }
  void Write(const std::string& bytes, const std::string& where) { std::ofstream(where, std::ios::binary) << bytes; }

  std::string dir;
  std::string path;
};

// What lies under the file's name, and what the reader makes of it. A FIFO
// swapped in must be refused at once, never waited on for a writer.
TEST_F(FieldFileReader, TakesOnlyAnOrdinaryFileThatKeepsTheLimits) {
  const struct {
    const char* what;
    std::function<void(FieldFileReader&)> make;
    FieldFileStatus status;
    const char* said;
  } cases[] = {
      {"nothing", [](FieldFileReader&) {}, FieldFileStatus::kAbsent, ""},
      {"six good lines", [](FieldFileReader& t) { t.Write(kSixLines, t.path); }, FieldFileStatus::kRead, ""},
      {"a link to six good lines",
       [](FieldFileReader& t) {
         t.Write(kSixLines, t.dir + "/real.txt");
         fs::create_symlink(t.dir + "/real.txt", t.path);
       },
       FieldFileStatus::kRead, ""},
      {"a short line", [](FieldFileReader& t) { t.Write("80\t60\t2\r\n50\t50\r\n", t.path); },
       FieldFileStatus::kRefused, "horsedat.txt, line 2 has fewer than three tab-separated columns"},
      {"64 MiB without a line break",
       [](FieldFileReader& t) {
         t.Write("", t.path);
         fs::resize_file(t.path, 64u << 20);
       },
       FieldFileStatus::kRefused, "horsedat.txt, line 1 is longer than 65536 bytes"},
      {"a FIFO", [](FieldFileReader& t) { ASSERT_EQ(::mkfifo(t.path.c_str(), 0600), 0); },
       FieldFileStatus::kRefused, "horsedat.txt cannot be read (not an ordinary file)"},
      {"a device", [](FieldFileReader& t) { fs::create_symlink("/dev/zero", t.path); }, FieldFileStatus::kRefused,
       "horsedat.txt cannot be read (not an ordinary file)"},
      {"a folder", [](FieldFileReader& t) { fs::create_directory(t.path); }, FieldFileStatus::kRefused,
       "horsedat.txt cannot be read (a folder)"},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir);
    fs::create_directory(dir);
    c.make(*this);
    const FieldFileRead read = ReadFieldFile(path);
    EXPECT_EQ(read.status, c.status) << c.what;
    EXPECT_EQ(read.message, *c.said == 0 ? "" : dir + "/" + c.said) << c.what;
    if (c.status == FieldFileStatus::kRead) {
      EXPECT_EQ(read.horses[0].Speed, 80.0) << c.what;
      EXPECT_EQ(read.horses[5].Stamina, 75.0) << c.what;
    }
  }
}

TEST_F(FieldFileReader, AnUnreadableFileIsNamedWithTheReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  Write(kSixLines, path);
  fs::permissions(path, fs::perms::none);
  EXPECT_EQ(ReadFieldFile(path).message, path + " cannot be read (Permission denied)");
}

}  // namespace
}  // namespace trotix
