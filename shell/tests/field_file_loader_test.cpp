#include "field_file_loader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trotix {
namespace {

TEST(FieldFileLoader, ARefusalIsOneLineOnStandardErrorAndARandomField) {
  QTemporaryDir dir;
  const std::string path = QFile::encodeName(QDir(dir.path()).filePath("horsedat.txt")).toStdString();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFieldFile(path).has_value());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "no file at all is not worth a word";

  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("80\t60\t2\r\n50\t50\r\n");
  file.close();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFieldFile(path).has_value());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Trotix: " + path + ", line 2 has fewer than three tab-separated columns; the field is made up at random\n");
}

// A folder named with an escape sequence and a right-to-left override: the
// refusal once wrote both raw, retitling the terminal and turning the
// game's own words backwards.
TEST(FieldFileLoader, ARefusalShowsControlsInTheNameAsEscapes) {
  QTemporaryDir dir;
  const std::string folder = QFile::encodeName(dir.path()).toStdString() + "/\x1b]0;owned\x07\xe2\x80\xae";
  ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder.c_str())));
  QFile file(QFile::decodeName((folder + "/horsedat.txt").c_str()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("80\t60\t2\n");
  file.close();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFieldFile(folder + "/horsedat.txt").has_value());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Trotix: " + QFile::encodeName(dir.path()).toStdString() +
                "/\\x1B]0;owned\\x07\\u202E/horsedat.txt, line 2 is missing: the file has 1 lines, six are needed; "
                "the field is made up at random\n");
}

}  // namespace
}  // namespace trotix
