#include "field_file_loader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trotix {
namespace {

class FieldFileLoader : public ::testing::Test {
 protected:
  void Write(const QByteArray& bytes) {
    QFile file(dir.filePath("horsedat.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir dir;
};

TEST_F(FieldFileLoader, NoFileMeansARandomField) { EXPECT_FALSE(LoadFieldFile(dir.path()).has_value()); }

TEST_F(FieldFileLoader, AFolderOfThatNameDoesNotCount) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("horsedat.txt"));
  EXPECT_FALSE(LoadFieldFile(dir.path()).has_value());
}

TEST_F(FieldFileLoader, ReadsAGoodFile) {
  Write("80\t60\t2\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\n");
  const auto horses = LoadFieldFile(dir.path());
  ASSERT_TRUE(horses.has_value());
  EXPECT_EQ((*horses)[0].Speed, 80.0);
  EXPECT_EQ((*horses)[3].Stamina, 90.0);
}

TEST_F(FieldFileLoader, RefusalIsToldOnStandardError) {
  Write("80\t60\t2\r\n50\t50\r\n");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFieldFile(dir.path()).has_value());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("horsedat.txt"), std::string::npos) << said;
  EXPECT_NE(said.find("line 2"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(FieldFileLoader, AHugeFileIsNotReadWhole) {
  // 64 MiB with no line break: refused after reading its first 64 KiB.
  QFile file(dir.filePath("horsedat.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.resize(64 << 20));
  file.close();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadFieldFile(dir.path()).has_value());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("longer"), std::string::npos);
}

TEST_F(FieldFileLoader, SixGoodLinesAtTheHeadOfAHugeFileAreEnough) {
  QByteArray bytes("80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n");
  bytes.append(QByteArray(1 << 20, 'x'));
  Write(bytes);
  EXPECT_TRUE(LoadFieldFile(dir.path()).has_value());
}

}  // namespace
}  // namespace trotix
