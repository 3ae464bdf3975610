// The main window's rules, once, on the plain window: the keys by phase and
// by Run's state, the tick guard, a Run that waits during a drawing, the
// distance bar through a whole race, the horse data file.
#include "frm_main.h"

#include <gtest/gtest.h>

#include <string>

#include "field_file.h"
#include "hooked_random.h"
#include "main_window_layout.h"
#include "priority_class.h"
#include "sample_field_file.h"
#include "scripted_platform.h"
#include "scripted_race.h"
#include "spoken_board.h"
#include "texts.h"

namespace trotix {
namespace {

constexpr std::size_t kDrawsPerRandomField = 42;
constexpr std::size_t kDrawsPerFileField = 12;
constexpr std::int16_t kVkF6 = 117;
using testing::kGoodFieldFile;

FieldFileBytes FileOf(std::string bytes, std::string name = "horsedat.txt") {
  return {FieldFileStatus::kRead, std::move(name), std::move(bytes), ""};
}

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() { form.Form_Load(99); }

  void RunOut() {
    for (int ticks = 0; form.timer_on() && ++ticks < 2000;) form.Timer1_Timer();
  }
  std::size_t Runs() const { return platform.priority_calls.size(); }
  FieldFileTaken Choose(FieldFileBytes file) {
    platform.field_file = std::move(file);
    return form.FieldFileChosen();
  }

  testing::ScriptedPlatform platform;
  testing::HookedRandom random;
  frmMain form{platform, &random};
};

TEST_F(MainWindow, LoadsReadyWithARandomFieldShown) {
  EXPECT_EQ(random.seed_calls, 1);
  EXPECT_EQ(random.count, kDrawsPerRandomField);
  EXPECT_EQ(platform.position_loads, 1);
  EXPECT_EQ(platform.presents, 1);
  EXPECT_TRUE(platform.shown.run_enabled);
  EXPECT_EQ(platform.shown.bar_value, 2000);
  EXPECT_EQ(platform.shown.bar_colour, kBarBlue);
  EXPECT_EQ(platform.interval, 0);
  EXPECT_TRUE(platform.notices.empty()) << "no file at all is not worth a word";
}

TEST_F(MainWindow, RunBuildsAFreshFieldRaisesThePriorityAndStartsTheTimer) {
  const Horse before = form.race().Horses[0];
  platform.clock.ms = 50'000'250.0;
  form.cmdRun_Click();
  EXPECT_EQ(platform.priority_calls, std::vector<std::uint32_t>{kRealtimePriorityClass});
  EXPECT_EQ(random.count, 2 * kDrawsPerRandomField);
  EXPECT_NE(form.race().Horses[0].Speed, before.Speed);
  EXPECT_FALSE(platform.shown.run_enabled);
  EXPECT_EQ(platform.interval, 200);
  EXPECT_EQ(form.race().StartTime, 50000.25f);
  EXPECT_EQ(form.race().Phase, kPhaseReady);
}

// Every key in every phase, with Run enabled (before a race, on the board)
// and disabled (a race under way): F7 lists in phases 0 and 5 whatever Run
// is; F5 runs exactly when Run is enabled; other keys do nothing.
TEST_F(MainWindow, F5AndF7ByPhaseAndByRunsState) {
  for (const bool run_enabled : {true, false}) {
    for (std::int32_t phase = kPhaseReady; phase <= kPhaseOver; ++phase) {
      for (const std::int16_t key : {kVkF5, kVkF7, kVkF6}) {
        SCOPED_TRACE(::testing::Message() << "key " << key << ", phase " << phase << ", run " << run_enabled);
        testing::ScriptedPlatform fresh;
        frmMain window(fresh);
        window.Form_Load(5);
        if (!run_enabled) window.cmdRun_Click();
        window.race().Phase = phase;
        const std::size_t runs = fresh.priority_calls.size();
        const bool lists = key == kVkF7 && (phase == kPhaseReady || phase == kPhaseOver);
        const bool runs_now = key == kVkF5 && run_enabled;
        EXPECT_EQ(window.ListingOffered(), phase == kPhaseReady || phase == kPhaseOver);
        window.Form_KeyUp(key, /*shift=*/1);
        EXPECT_EQ(fresh.listings, lists ? std::vector<std::string>{FieldListingText(window.race())}
                                        : std::vector<std::string>{});
        if (lists) {
          EXPECT_EQ(fresh.listing_title, "データ");
        }
        EXPECT_EQ(fresh.priority_calls.size(), runs + (runs_now ? 1 : 0));
        if (runs_now) {
          EXPECT_FALSE(window.run_enabled());
        }
      }
    }
  }
}

TEST_F(MainWindow, RunIsDisabledOnlyAfterTheNewFieldIsBuilt) {
  bool enabled_while_building = true;
  random.on_draw = [&] { enabled_while_building = enabled_while_building && form.run_enabled(); };
  form.cmdRun_Click();
  EXPECT_TRUE(enabled_while_building);
  EXPECT_FALSE(form.run_enabled());
}

TEST_F(MainWindow, ARunWaitingDuringTheDrawingRunsNestedAndTheRaceStartsOnce) {
  platform.waiting = [&] { form.PressRun(); };
  form.cmdRun_Click();
  EXPECT_EQ(Runs(), 2u);
  EXPECT_EQ(random.count, 3 * kDrawsPerRandomField);
  EXPECT_EQ(platform.interval, 200);
  EXPECT_FALSE(form.run_enabled());
  EXPECT_FALSE(platform.shown.run_enabled);
  // One waiting during a tick's drawing finds Run disabled.
  form.Timer1_Timer();
  platform.waiting = [&] { form.PressRun(); };
  form.Timer1_Timer();
  EXPECT_FALSE(platform.waiting) << "the drawing let it run";
  EXPECT_EQ(Runs(), 2u);
}

TEST_F(MainWindow, ATickNeverStartsInsideAnother) {
  form.cmdRun_Click();
  form.Timer1_Timer();  // phase 0: shows the field
  const std::size_t draws = random.count;
  const std::int64_t ticks = form.ticks();
  random.on_draw = [&] { form.Timer1_Timer(); };
  form.Timer1_Timer();  // a moving tick: six draws, however often it is poked
  EXPECT_EQ(random.count, draws + 6);
  EXPECT_EQ(form.ticks(), ticks + 1);
  random.on_draw = nullptr;
  platform.waiting = [&] { form.Timer1_Timer(); };  // and no tick waiting at a drawing runs in it
  form.Timer1_Timer();
  EXPECT_EQ(form.ticks(), ticks + 2);
}

TEST_F(MainWindow, TheBarThroughAWholeRace) {
  form.cmdRun_Click();
  EXPECT_EQ(platform.shown.bar_colour, kBarBlue);
  int presents = platform.presents;
  ControlsState before = platform.shown;
  while (form.timer_on() && form.ticks() < 2000) {
    form.Timer1_Timer();
    const ControlsState& now = platform.shown;
    ASSERT_EQ(platform.presents, ++presents) << "every tick presents once";
    EXPECT_EQ(now.bar_value, form.controls().bar_value);
    EXPECT_EQ(now.bar_colour, form.controls().bar_colour);
    // The distance left only shrinks; the colour goes from blue to red.
    ASSERT_LE(now.bar_value, before.bar_value) << "tick " << form.ticks();
    ASSERT_GE(now.bar_colour & 0xff, before.bar_colour & 0xff) << "tick " << form.ticks();
    ASSERT_LE(now.bar_colour >> 16, before.bar_colour >> 16) << "tick " << form.ticks();
    before = now;
  }
  EXPECT_EQ(form.race().Phase, kPhaseOver);
  EXPECT_LT(platform.shown.bar_value, 0);
  EXPECT_EQ(DistanceCaption(platform.shown.bar_value, 2000), "0");
  EXPECT_EQ(platform.shown.bar_colour, 0x000000FFu);
  EXPECT_TRUE(platform.shown.run_enabled);
  EXPECT_EQ(platform.interval, 0);
  EXPECT_EQ(platform.priority_calls, (std::vector<std::uint32_t>{kRealtimePriorityClass, kNormalPriorityClass}));
  form.cmdRun_Click();
  EXPECT_EQ(platform.shown.bar_colour, kBarBlue) << "a new race starts blue";
}

TEST_F(MainWindow, TheBoardReadsAsTextOnlyWhileItShows) {
  EXPECT_EQ(form.BoardText(), "");
  form.cmdRun_Click();
  RunOut();
  const std::string board = form.BoardText();
  EXPECT_EQ(board.rfind("1着【", 0), 0u) << board;
  EXPECT_EQ(std::count(board.begin(), board.end(), '\n'), 7);
  form.cmdRun_Click();
  EXPECT_EQ(form.BoardText(), "");
}

TEST_F(MainWindow, ClosingMidRaceSavesThePositionAndEndsTheRace) {
  form.cmdRun_Click();
  for (int n = 0; n < 20; ++n) form.Timer1_Timer();
  const double lead = form.race().LeadPosition;
  std::int16_t cancel = 0;
  form.Form_Unload(cancel);
  EXPECT_EQ(cancel, 0);
  EXPECT_EQ(platform.position_saves, 1);
  EXPECT_EQ(platform.interval, 0);
  form.Timer1_Timer();  // a tick that was already due does nothing
  form.Form_KeyUp(kVkF5, 0);
  EXPECT_EQ(form.race().LeadPosition, lead);
  EXPECT_EQ(Runs(), 1u);
}

TEST_F(MainWindow, ClosedWhileRunDrawsTheNewFieldNoRaceStarts) {
  std::int16_t cancel = 0;
  platform.waiting = [&] { form.Form_Unload(cancel); };
  form.cmdRun_Click();
  EXPECT_EQ(platform.interval, 0);
  EXPECT_FALSE(form.timer_on());
}

// The horse data file: the field comes from it when it is read whole and
// keeps every limit; a refusal is told, naming the file and the line, and
// the field is made up at random.
TEST_F(MainWindow, AHorseFileIsTakenOrRefusedAsAWhole) {
  const std::string at_limit = testing::FieldFileAtTheReadLimit();
  const struct {
    const char* what;
    FieldFileBytes file;
    const char* notice;  // "" when taken
  } cases[] = {
      {"good", FileOf(kGoodFieldFile), ""},
      {"missing column", FileOf("80\t60\t2\n50\t50\n", "bad horses.txt"),
       "bad horses.txt, line 2 has fewer than three tab-separated columns; the field is made up at random"},
      {"unreadable", {FieldFileStatus::kRefused, "", "", "/x/horsedat.txt cannot be read (a folder)"},
       "/x/horsedat.txt cannot be read (a folder); the field is made up at random"},
      {"exactly the limit", FileOf(at_limit), ""},
      {"cut at the limit", FileOf(at_limit + "x"), "horsedat.txt, line 6 is longer than 65536 bytes; the field is made up at random"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::ScriptedPlatform fresh;
    testing::HookedRandom draws;
    fresh.field_file = c.file;
    frmMain window(fresh, &draws);
    window.Form_Load(3);
    const bool taken = std::string(c.notice).empty();
    EXPECT_EQ(fresh.notices, taken ? std::vector<std::string>{} : std::vector<std::string>{c.notice});
    EXPECT_EQ(draws.count, taken ? kDrawsPerFileField : kDrawsPerRandomField);
    if (taken) {
      EXPECT_EQ(window.race().Horses[3].Stamina, 90.0);
    }
  }
}

TEST_F(MainWindow, AChosenHorseFileIsSetUpAtOnceWhenNoRaceRunsElseAtTheNextRun) {
  EXPECT_EQ(Choose(FileOf(kGoodFieldFile)), FieldFileTaken::kSetUpNow);
  EXPECT_EQ(form.race().Horses[0].Speed, 80.0) << "before a race: at once";
  EXPECT_EQ(platform.notices, std::vector<std::string>{""});
  form.cmdRun_Click();
  EXPECT_EQ(Choose(FileOf("90\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n")), FieldFileTaken::kNextRace);
  EXPECT_EQ(form.race().Horses[0].Speed, 80.0) << "the race under way keeps its field";
  RunOut();
  EXPECT_EQ(form.race().Horses[0].Speed, 80.0);
  form.cmdRun_Click();
  EXPECT_EQ(form.race().Horses[0].Speed, 90.0) << "the next race has the new file's field";
  RunOut();
  // On the board a refused file is told, and the field is made up at once.
  const std::size_t draws = random.count;
  EXPECT_EQ(Choose(FileOf("80\t60\t2\n", "short.txt")), FieldFileTaken::kRefused);
  EXPECT_EQ(random.count, draws + kDrawsPerRandomField);
  EXPECT_EQ(form.race().Phase, kPhaseReady);
  EXPECT_EQ(form.BoardText(), "");
  EXPECT_NE(platform.notices.back().find("short.txt, line "), std::string::npos) << platform.notices.back();
}

// Whether the chosen file waits for the next Run, step by step: only a good
// file chosen mid-race waits, through the race's end, until that Run; a
// later refusal or Forget ends the wait, and so does a choice between races.
TEST_F(MainWindow, AFileWaitsForTheNextRunOnlyWhenChosenGoodDuringARace) {
  enum Step { kGood, kRefused, kForget, kRun, kRunOut };
  const struct {
    Step step;
    bool waits;
  } steps[] = {
      {kGood, false},  {kRun, false},    {kGood, true},   {kRunOut, true}, {kRun, false},
      {kGood, true},   {kRefused, false}, {kGood, true},  {kForget, false}, {kGood, true},
      {kRunOut, true}, {kGood, false},   {kRun, false},  {kRunOut, false}, {kRefused, false},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    switch (steps[i].step) {
      case kGood: Choose(FileOf(kGoodFieldFile)); break;
      case kRefused: Choose(FileOf("80\t60\t2\n", "short.txt")); break;
      case kForget: Choose({}); break;
      case kRun: form.cmdRun_Click(); break;
      case kRunOut: RunOut(); break;
    }
    EXPECT_EQ(form.FieldFileWaitsForRun(), steps[i].waits) << "step " << i;
  }
}

// The page's kept file comes before the window has loaded: loading sets it
// up, so it never waits.
TEST(MainWindowBeforeLoading, AFileGivenBeforeLoadingIsSetUpAtLoadingAndNeverWaits) {
  testing::ScriptedPlatform platform;
  testing::HookedRandom random;
  frmMain window(platform, &random);
  platform.field_file = FileOf(kGoodFieldFile);
  EXPECT_EQ(window.FieldFileChosen(), FieldFileTaken::kSetUpNow);
  EXPECT_FALSE(window.FieldFileWaitsForRun());
  window.Form_Load(5);
  EXPECT_FALSE(window.FieldFileWaitsForRun());
  EXPECT_TRUE(window.field_from_file());
  EXPECT_EQ(window.race().Horses[0].Speed, 80.0);
}

// Forget leaves the platform with no file: between races a random field is
// drawn at once, with nothing told; a race under way keeps its field. The
// window says whether the field on show is the file's.
TEST_F(MainWindow, ForgetDrawsARandomFieldBetweenRacesAndTheWindowKnowsWhoseFieldItShows) {
  EXPECT_FALSE(form.field_from_file());
  Choose(FileOf(kGoodFieldFile));
  EXPECT_TRUE(form.field_from_file());
  std::size_t draws = random.count;
  Choose({});
  EXPECT_EQ(random.count, draws + kDrawsPerRandomField);
  EXPECT_FALSE(form.field_from_file());
  EXPECT_EQ(platform.notices, std::vector<std::string>{""}) << "only the good file's empty notice";

  Choose(FileOf(kGoodFieldFile));
  form.cmdRun_Click();
  draws = random.count;
  Choose({});
  EXPECT_EQ(random.count, draws) << "mid-race nothing is drawn";
  EXPECT_TRUE(form.field_from_file());
  EXPECT_EQ(form.race().Horses[0].Speed, 80.0);
  RunOut();
  form.cmdRun_Click();
  EXPECT_FALSE(form.field_from_file()) << "the next race's field is random";
}

// What a listener hears of a scripted race, in order: the start at Run,
// each 500 m mark with the leader as the bar passes it, the winner at the
// line, and the board at the end, once each. Seed 31's lead changes hands
// between the marks, and the winner is not the leader at 500 m.
TEST(MainWindowAnnouncements, AScriptedRaceIsToldFromStartToBoard) {
  RaceState end;
  const std::vector<std::string> heard = testing::RunScriptedRace(
      [&](std::string_view name, const Surface&, const RaceState& race, int) {
        if (name == "board") end = race;
      },
      31);
  const std::vector<std::string> told = {
      "The race is off: 2000 metres to run.",
      "1500 metres to go, horse 6 leads.",
      "1000 metres to go, horse 2 leads.",
      "500 metres to go, horse 1 leads.",
      "Finish: horse 2 wins in 1 minute 57.8 seconds.",
      SpokenBoard(end),
  };
  EXPECT_EQ(heard, told);
  EXPECT_TRUE(told.back().starts_with("First, horse 2, in 1 minute 57.8 seconds, at odds of ")) << told.back();
}

}  // namespace
}  // namespace trotix
