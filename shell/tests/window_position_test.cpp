#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <unistd.h>

#include "fake_platform.h"
#include "qt_main_window.h"

namespace trotix {
namespace {

using testing::FakePlatform;

class WindowPosition : public ::testing::Test {
 protected:
  void WriteIni(const QByteArray& bytes) {
    QFile file(fake.dir.filePath("Trotix.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray ReadIni() {
    QFile file(fake.dir.filePath("Trotix.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  FakePlatform fake;
};

TEST_F(WindowPosition, OpensWhereTheFileSays) {
  // A place that would leave the title bar on no screen opens on the
  // nearest one instead, as near the stored place as the screen allows.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QSize window = QtMainWindow(fake.platform).size();
  const struct { const char* ini; QPoint pixels; } cases[] = {
      {"", QPoint(0, 0)},
      {"[Trotix]\r\nTop=1500\r\nLeft=3000\r\n", QPoint(200, 100)},
      {"[Trotix]\r\nTop=\r\nLeft=3000\r\n", QPoint(200, 0)},
      {"[Trotix]\r\nTop=abc\r\nLeft= 720 \r\n", QPoint(48, 0)},
      {"[Trotix]\r\nLeft=720abc\r\n", QPoint(48, 0)},
      {"[Trotix]\r\nTop=-1200\r\nLeft=450000\r\n", QPoint(screen.right() + 1 - window.width(), screen.top())},
      {"[other]\r\nTop=1500\r\n", QPoint(0, 0)},
      // Beyond any screen, and beyond what a window coordinate can hold.
      {"[Trotix]\r\nTop=3e38\r\nLeft=-3e38\r\n", QPoint(screen.left(), screen.bottom() + 1 - window.height())},
  };
  for (const auto& c : cases) {
    WriteIni(c.ini);
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    EXPECT_EQ(form.pos(), c.pixels) << c.ini;
  }
}

// Put back from 4000,3000 px, the frame's bottom once hung below the screen.
TEST_F(WindowPosition, AWindowPutBackLiesOnTheScreenFrameAndAll) {
  WriteIni("[Trotix]\r\nTop=45000\r\nLeft=60000\r\n");
  QtMainWindow form(fake.platform);
  form.Start();
  ASSERT_NE(form.frameGeometry(), form.geometry()) << "no frame here to test with";
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(form.frameGeometry()))
      << form.frameGeometry().bottom();
}

TEST_F(WindowPosition, FirstCloseCreatesTheFile) {
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    form.move(230, 77);
    form.close();
  }
  EXPECT_EQ(ReadIni(), "[Trotix]\r\nTop=1155\r\nLeft=3450\r\n");
}

TEST_F(WindowPosition, AnInstalledCopyKeepsItInTheUsersFolder) {
  const QString user = fake.dir.filePath("config/trotix");  // made by the first save
  fake.platform.files = {fake.dir.filePath("bin").toStdString(), user.toStdString(), FilePlace::kUserFolder};
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    form.move(230, 77);
    form.close();
  }
  QFile file(user + "/Trotix.ini");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the folder and the file are made on the first save";
  EXPECT_EQ(file.readAll(), "[Trotix]\r\nTop=1155\r\nLeft=3450\r\n");
  EXPECT_FALSE(QFile::exists(fake.dir.filePath("bin/Trotix.ini")));
  QtMainWindow next(fake.platform);
  next.form().Form_Load(1);
  EXPECT_EQ(next.pos(), QPoint(230, 77));
}

TEST_F(WindowPosition, ClosingRewritesOnlyItsOwnKeys) {
  WriteIni("; where the window was\n[Other]\nTop=5\n[TROTIX]\nleft = 10\nTop=20\nColour=red\n");
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    EXPECT_EQ(form.pos(), QPoint(1, 1));
    form.move(-8, 100);
    form.close();
  }
  EXPECT_EQ(ReadIni(), "; where the window was\n[Other]\nTop=5\n[TROTIX]\nLeft=-120\nTop=1500\nColour=red\n");
}

TEST_F(WindowPosition, ALinkNamedTrotixIniIsLeftAloneAndSaidSo) {
  const QString elsewhere = fake.dir.filePath("elsewhere.ini");
  {
    QFile file(elsewhere);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Trotix]\r\nTop=1500\r\nLeft=3000\r\n");
  }
  ASSERT_EQ(symlink(elsewhere.toLocal8Bit().constData(), fake.dir.filePath("Trotix.ini").toLocal8Bit().constData()), 0);
  ::testing::internal::CaptureStderr();
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    form.move(230, 77);
    form.close();
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Trotix.ini is a symbolic link, not an ordinary file; the window position is not read"),
            std::string::npos) << said;
  EXPECT_NE(said.find("Trotix.ini is a symbolic link, not an ordinary file; the window position is not stored"),
            std::string::npos) << said;
  QFile file(elsewhere);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[Trotix]\r\nTop=1500\r\nLeft=3000\r\n");
}

TEST_F(WindowPosition, InTheUsersFolderALinkToTheirOwnFileIsFollowed) {
  const QString user = fake.dir.filePath("config");
  const QString dotfiles = fake.dir.filePath("dotfiles.ini");
  ASSERT_TRUE(QDir().mkpath(user));
  {
    QFile file(dotfiles);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Trotix]\r\nTop=1500\r\nLeft=3000\r\n");
  }
  ASSERT_EQ(symlink(dotfiles.toLocal8Bit().constData(), (user + "/Trotix.ini").toLocal8Bit().constData()), 0);
  fake.platform.files = {fake.dir.filePath("bin").toStdString(), user.toStdString(), FilePlace::kUserFolder};
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    EXPECT_EQ(form.pos(), QPoint(200, 100));
    form.move(230, 77);
    form.close();
  }
  EXPECT_TRUE(QFileInfo(user + "/Trotix.ini").isSymLink()) << "the link stays a link";
  QFile file(dotfiles);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[Trotix]\r\nTop=1155\r\nLeft=3450\r\n");
}

// Moving a portable copy while it ran (~/Downloads/trotix to ~/Games/trotix)
// once made its old folder again on close, with a new Trotix.ini in it,
// while the moved copy kept its stale position, and nothing was said.
TEST_F(WindowPosition, AMovedCopyStoresWhereItNowIsAndNeverMakesItsOldFolder) {
  const QString old_place = fake.dir.filePath("Downloads/trotix"), new_place = fake.dir.filePath("Games/trotix");
  ASSERT_TRUE(QDir().mkpath(old_place));
  ASSERT_TRUE(QDir().mkpath(fake.dir.filePath("Games")));
  std::string program_now = old_place.toStdString();  // what /proc/self/exe would say
  fake.platform.files = {old_place.toStdString(), {}, FilePlace::kBesideProgram, [&program_now] { return program_now; }};
  {
    QtMainWindow form(fake.platform);
    form.form().Form_Load(1);
    ASSERT_TRUE(QDir().rename(old_place, new_place));
    program_now = new_place.toStdString();
    form.move(230, 77);
    form.close();
  }
  EXPECT_FALSE(QFileInfo::exists(old_place)) << "the old folder is not made again";
  QFile moved(new_place + "/Trotix.ini");
  ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
  EXPECT_EQ(moved.readAll(), "[Trotix]\r\nTop=1155\r\nLeft=3450\r\n");
}

// When the display goes away the toolkit calls exit(), the window is never
// closed, and asking it where it stands would ask a server that is gone: the
// exit path stores the position the window last reported, and only while
// nothing has been stored by a close.
TEST_F(WindowPosition, TheExitPathStoresTheLastReportedPositionUnlessClosed) {
  {
    QtMainWindow form(fake.platform);
    form.Start();
    form.move(230, 77);
    form.SaveBeforeExit();
    EXPECT_EQ(ReadIni(), "[Trotix]\r\nTop=1155\r\nLeft=3450\r\n");
  }
  QtMainWindow form(fake.platform);
  form.Start();
  form.move(20, 10);
  form.close();
  WriteIni("[Trotix]\r\nTop=15\r\n");
  form.SaveBeforeExit();
  EXPECT_EQ(ReadIni(), "[Trotix]\r\nTop=15\r\n");
}

}  // namespace
}  // namespace trotix
