// The page's adapter: its click and its horse files reach the main window.
#include "front_end.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field_file.h"
#include "sample_field_file.h"
#include "scripted_clock.h"
#include "scripted_page.h"

namespace trotix::web {
namespace {

using testing::kGoodFieldFile;

class PageAdapter : public ::testing::Test {
 protected:
  testing::ScriptedClock clock;
  testing::ScriptedPage page;
  FrontEnd front_end{clock, page};
  frmMain& form = front_end.form();
  void SetUp() override { form.Form_Load(1); }
};

TEST_F(PageAdapter, AClickPressesRunOnlyOnTheButton) {
  const PixelBox button = PixelsOf(kCmdRun);
  const struct { int x, y; bool presses; } clicks[] = {
      {button.left - 1, button.top + 5, false},
      {button.left + button.width, button.top + 5, false},
      {button.left + 5, button.top + button.height, false},
      {button.left, button.top, true},
  };
  for (const auto& c : clicks) {
    front_end.Click(c.x, c.y);
    EXPECT_EQ(page.interval != 0, c.presses) << c.x << "," << c.y;
  }
}

// What the page hands in is as many first bytes as it read: one past the
// limit tells a file that goes on.
TEST_F(PageAdapter, AHorseFileIsReadFromAllTheBytesThePageHandsIn) {
  const std::string at_limit = testing::FieldFileAtTheReadLimit();
  EXPECT_EQ(front_end.OpenFieldFile("long.txt", at_limit + "x"), FieldFileTaken::kRefused);
  EXPECT_EQ(page.notices.back(), "long.txt, line 6 is longer than 65536 bytes; the field is made up at random");
  EXPECT_EQ(front_end.OpenFieldFile("whole.txt", at_limit), FieldFileTaken::kSetUpNow);
  EXPECT_EQ(page.notices.back(), "");
  EXPECT_EQ(form.race().Horses[5].Stamina, 75.0);
}

TEST_F(PageAdapter, ATakenFileWaitsForTheNextRunWhileARaceRunsAndARefusedOneIsDropped) {
  const auto next_race = [&] {
    while (page.interval != 0) form.Timer1_Timer();
    front_end.Click(PixelsOf(kCmdRun).left + 1, PixelsOf(kCmdRun).top + 1);
  };
  form.cmdRun_Click();
  EXPECT_EQ(front_end.OpenFieldFile("horsedat.txt", kGoodFieldFile), FieldFileTaken::kNextRace);
  EXPECT_NE(form.race().Horses[0].Speed, 80.0);
  next_race();
  EXPECT_EQ(form.race().Horses[0].Speed, 80.0);
  EXPECT_EQ(front_end.OpenFieldFile("bad.txt", "80\t60\t2\n"), FieldFileTaken::kRefused);
  const std::size_t told = page.notices.size();
  next_race();
  EXPECT_EQ(page.notices.size(), told) << "the refused file was dropped, not read again";
  EXPECT_NE(form.race().Horses[0].Speed, 80.0);
}

// A kept name with a NUL once cut the notice down to the name, and one the
// page could not find again in the notice was not set apart: the notice
// comes whole, with how much of it is the name.
TEST_F(PageAdapter, ANoticeSaysHowMuchOfItIsTheFilesName) {
  const std::string nul("a\0b.txt", 7);
  const struct { std::string name; bool folder; const char* rest; } cases[] = {
      {nul, false, ", line 2 is missing"},
      {"\xe2\x81\xa9\xe2\x80\xaetxt.exe", false, ", line 2 is missing"},
      {"\xef\xbf\xbd.txt", false, ", line 2 is missing"},
      {"horses\0", true, " cannot be read (a folder)"},
  };
  for (const auto& c : cases) {
    if (c.folder) {
      front_end.RefuseFieldFolder(c.name);
    } else {
      ASSERT_EQ(front_end.OpenFieldFile(c.name, "80\t60\t2\n"), FieldFileTaken::kRefused);
    }
    EXPECT_EQ(page.names.back(), c.name);
    EXPECT_TRUE(page.notices.back().starts_with(c.name + c.rest)) << page.notices.back();
  }
  ASSERT_EQ(front_end.OpenFieldFile(nul, kGoodFieldFile), FieldFileTaken::kSetUpNow);
  EXPECT_EQ(page.notices.back(), "");
  EXPECT_EQ(page.names.back(), "");
}

// A folder is refused in the desktop reader's words; between races, it and
// Forget both put a random field up at once, where the file's field stood.
TEST_F(PageAdapter, AFolderIsRefusedAsTheDesktopRefusesOneAndForgetDrawsARandomField) {
  for (const bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "a folder" : "Forget");
    ASSERT_EQ(front_end.OpenFieldFile("horsedat.txt", kGoodFieldFile), FieldFileTaken::kSetUpNow);
    ASSERT_TRUE(form.field_from_file());
    const std::size_t told = page.notices.size();
    if (folder) {
      front_end.RefuseFieldFolder("horses");
      EXPECT_EQ(page.notices.back(), "horses cannot be read (a folder); the field is made up at random");
    } else {
      front_end.ForgetFieldFile();
      EXPECT_EQ(page.notices.size(), told) << "Forget tells nothing";
    }
    EXPECT_FALSE(form.field_from_file());
    EXPECT_NE(form.race().Horses[0].Speed, 80.0);
  }
}

// The page's lab names the card's field the horse file's when a file is
// kept: exactly when the next Run reads one.
TEST_F(PageAdapter, AFileIsKeptExactlyWhenTheCardIsTheFilesField) {
  for (const bool keep : {true, false, true}) {
    if (keep) front_end.OpenFieldFile("horsedat.txt", kGoodFieldFile);
    if (!keep) front_end.OpenFieldFile("bad.txt", "80\t60\t2\n");
    EXPECT_EQ(front_end.HoldsFieldFile(), keep);
    EXPECT_EQ(form.Card().horses[0].Speed == 80.0, keep);
  }
  front_end.ForgetFieldFile();
  EXPECT_FALSE(front_end.HoldsFieldFile() || form.Card().horses[0].Speed == 80.0);
}

}  // namespace
}  // namespace trotix::web
