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

}  // namespace
}  // namespace trotix
