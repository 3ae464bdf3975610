// trotix-sim: the game's engine, the same figures for any thread count, the
// edge of the lower number, and one clear line for every bad input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "field_file_reader.h"
#include "random_field.h"
#include "field_setup.h"
#include "figures.h"
#include "phase_machine.h"
#include "race_runner.h"
#include "sim_main.h"
#include "silent_host.h"
#include "simulation.h"
#include "utf8.h"

namespace trotix::sim {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSampleField = "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n";
constexpr const char* kLevelField = "50\t50\t2\n50\t50\t2\n50\t50\t2\n50\t50\t2\n50\t50\t2\n50\t50\t2\n";

class SimTest : public ::testing::Test {
 protected:
  fs::path dir_ = fs::temp_directory_path() / ("trotix_sim_test_" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }
};

struct SimRun {
  int status;
  std::string out;
  std::string err;
};

SimRun Sim(const std::vector<std::string>& args) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  const int status = SimMain(views, out, err, false);
  return {status, out.str(), err.str()};
}

TEST_F(SimTest, RacesAreTheGamesOwn) {
  const FieldFileRead sample = ReadFieldFile(Write("sample.txt", kSampleField));
  ASSERT_EQ(sample.status, FieldFileStatus::kRead) << sample.message;
  RaceState reused;  // carries the last race over, as the game's state does
  for (const FieldRecords* field : {static_cast<const FieldRecords*>(nullptr), &sample.horses}) {
    for (const std::uint64_t seed : {std::uint64_t{1}, std::uint64_t{2}, std::uint64_t{99}, RaceSeed(5, 17)}) {
      SCOPED_TRACE(seed);
      // The headless path of the race library's own tests.
      Pcg32Random game_random(seed);
      RaceState game;
      SetUpField(game, game_random, field);
      testing::SilentHost host;
      int ticks = 0, winner_ticks = 0;
      while (!host.over) {
        RaceTick(game, game_random, host);
        ++ticks;
        if (winner_ticks == 0 && game.Phase == kPhaseRunOut) winner_ticks = ticks;
      }

      Pcg32Random sim_random(seed);
      const RaceOutcome outcome = RunRace(reused, sim_random, field);
      EXPECT_EQ(outcome.ticks, ticks);
      EXPECT_EQ(outcome.winner_ticks, winner_ticks);
      ASSERT_EQ(reused.FinishCount, 6);
      for (std::size_t k = 0; k < kHorseCount; ++k) {
        EXPECT_EQ(reused.FinishOrder[k].HorseIndex, game.FinishOrder[k].HorseIndex) << k;
        EXPECT_EQ(reused.FinishOrder[k].Margin, game.FinishOrder[k].Margin) << k;
      }
    }
  }
}

TEST_F(SimTest, ThreadsChangeOnlyTheLineThatSaysSo) {
  const std::string file = Write("sample.txt", kSampleField);
  const std::vector<std::vector<std::string>> setups = {{file}, {}, {"--random"}, {"--json", file}, {"--json", "--random"}};
  for (const auto& setup : setups) {
    auto run = [&setup](const char* threads) {
      std::vector<std::string> args = {"--races", "1000", "--seed", "7", "--threads", threads};
      args.insert(args.end(), setup.begin(), setup.end());
      return Sim(args);
    };
    const SimRun one = run("1"), two = run("2");
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(one.err + two.err, "") << "nothing on stderr when it is not a terminal";
    std::istringstream a(one.out), b(two.out);
    std::string line_a, line_b;
    int lines = 0, differing = 0;
    while (std::getline(a, line_a)) {
      ASSERT_TRUE(std::getline(b, line_b));
      ++lines;
      if (line_a != line_b) {
        ++differing;
        EXPECT_TRUE(line_a.starts_with("Ran on 1 thread ") || line_a.starts_with("  \"run\": {\"threads\": 1,")) << line_a;
      }
    }
    EXPECT_FALSE(std::getline(b, line_b));
    EXPECT_GT(lines, 10);
    EXPECT_EQ(differing, 1);
  }
}

TEST_F(SimTest, LevelFieldFavoursTheLowerNumber) {
  RunSetup setup;
  setup.seed = 3;
  setup.races = 12000;
  const FieldFileRead level = ReadFieldFile(Write("level.txt", kLevelField));
  ASSERT_EQ(level.status, FieldFileStatus::kRead) << level.message;
  setup.field = level.horses;
  const Tally tally = Simulate(setup, 2, nullptr).tally;
  const Figures figures = ComputeFigures(setup, tally);

  Count wins = 0, pairs = 0;
  double shares = 0.0;
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    Count placed = 0;
    for (std::size_t k = 0; k < kHorseCount; ++k) placed += tally.places[k][h];
    EXPECT_EQ(placed, setup.races) << "place " << h + 1;
    wins += figures.horses[h].win.hits;
    shares += figures.horses[h].win.share;
  }
  for (const PairFigures& pair : figures.pairs) pairs += pair.hit.hits;
  EXPECT_EQ(wins, setup.races);
  EXPECT_EQ(pairs, setup.races);
  EXPECT_NEAR(shares, 1.0, 1e-12);
  // Level horses reaching the line in one tick are placed lower number first.
  const Chance& first = figures.horses[0].win;
  const Chance& last = figures.horses[5].win;
  EXPECT_GT(first.interval.low, last.interval.high) << "the 95% intervals do not overlap";
}

TEST(WinnerTime, PercentilesByNearestRank) {
  Tally tally;
  tally.races = 20;
  tally.winner_ticks[570] = 1;
  tally.winner_ticks[574] = 9;
  tally.winner_ticks[575] = 9;
  tally.winner_ticks[580] = 1;
  const std::vector<std::pair<double, int>> cases = {{0.0, 570}, {0.05, 570}, {0.06, 574}, {0.5, 574},
                                                     {0.51, 575}, {0.95, 575}, {0.96, 580}, {1.0, 580}};
  for (const auto& [fraction, ticks] : cases) EXPECT_EQ(WinnerTicksAt(tally, fraction), ticks) << fraction;
  EXPECT_FLOAT_EQ(BoardSeconds(574), 114.8f);
}

TEST_F(SimTest, BadInputGivesOneLineAndStatusTwo) {
  const std::string refused = Write("five.txt", "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n");
  const std::string zero = Write("zero.txt", std::string("0\t60\t2\n") + kSampleField);
  const std::string good = Write("good.txt", kSampleField);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--races", "0"}, "--races: '0' is not a whole number from 1 to 1000000000"},
      {{"--threads", "0"}, "--threads: '0'"},
      {{"--races", "12x"}, "'12x' is not a whole number"},
      {{"--races", "-5"}, "'-5' is not"},
      {{"--races=+5"}, "'+5' is not"},
      {{"--seed", "18446744073709551616"}, "--seed: '18446744073709551616' is not"},
      {{"--threads"}, "--threads needs a number"},
      {{"--verbose"}, "unknown option '--verbose'"},
      {{"--json=yes"}, "--json takes no value"},
      {{good, good}, "more than one horse data file"},
      {{"--random", good}, "takes no horse data file"},
      {{(fs::path(good).parent_path() / "none.txt").string()}, "none.txt: no such file"},
      {{fs::path(good).parent_path().string()}, "cannot be read (a folder)"},
      {{refused}, "five.txt, line 6 is missing: the file has 5 lines, six are needed"},
      {{zero}, "zero.txt, line 1 gives a speed x stamina that is not a positive number"},
  };
  for (const auto& [args, message] : cases) {
    const SimRun run = Sim(args);
    SCOPED_TRACE(run.err);
    EXPECT_EQ(run.status, kExitBadInput);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("trotix-sim: "));
    EXPECT_NE(run.err.find(message), std::string::npos) << message;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
  }
  const SimRun help = Sim({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: trotix-sim [options] [HORSEDAT]\n"));
  EXPECT_EQ(help.err, "");
}

// A folder named with an escape sequence reached the terminal raw, and a
// right-to-left override in a file's name turned the rest of the line
// backwards. Every message that names a file shows its controls as escapes.
TEST_F(SimTest, ControlCharactersInANameReachNoTerminalRaw) {
  const std::string hostile = "\x1b]0;owned\x07\xe2\x80\xaetxt.exe";
  const std::string shown = "\\x1B]0;owned\\x07\\u202Etxt.exe";
  fs::create_directories(dir_ / hostile);
  const std::string good = Write(hostile + "/horsedat.txt", kSampleField);
  const std::string refused = Write(hostile + "/five.txt", "80\t60\t2\n");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{refused}, shown + "/five.txt, line 2 is missing"},
      {{good + "x"}, shown + "/horsedat.txtx: no such file"},
      {{"--" + hostile}, "unknown option '--" + shown + "'"},
      {{"--races", "300", "--seed", "1", good}, "trotix-sim: field from " + (dir_ / shown).string() + "/horsedat.txt, 300 races"},
      {{"--races", "10", "--svg", (dir_ / hostile / "no" / "c.svg").string(), good},
       "written to " + (dir_ / shown).string() + "/no/c.svg"},
  };
  for (const auto& [args, message] : cases) {
    const SimRun run = Sim(args);
    const std::string said = run.out + run.err;
    SCOPED_TRACE(said);
    EXPECT_NE(said.find(message), std::string::npos) << message;
    EXPECT_EQ(said.find('\x1b'), std::string::npos);
    EXPECT_EQ(said.find("\xe2\x80\xae"), std::string::npos);
  }
}

// `trotix-sim --help >/dev/full` once exited 0 with the text lost.
TEST(SimOutput, TextThatCannotBeWrittenIsAFailure) {
  for (const char* args : {"--help", "--races=10"}) {
    std::ostream nowhere(nullptr);  // every write fails, as on a full disk
    std::ostringstream err;
    const std::vector<std::string_view> views = {args};
    EXPECT_EQ(SimMain(views, nowhere, err, false), kExitWriteFailed) << args;
    EXPECT_TRUE(err.str().starts_with("trotix-sim: ")) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
  }
}

// Ratings of seven digits and negative ones, and odds of sixteen digits, once
// ran into each other ("  110000001000000", "先x700000000003.5"); a file's
// name with a byte that is not UTF-8 made JSON that json.load refused.
TEST_F(SimTest, ColumnsNeverTouchAndJsonIsUtf8) {
  const std::string wide = Write("wide\xff.txt",
                                 "1000000\t1000000\t2\n-1000000\t-900000\t1\n700\t0.000001\t2\n"
                                 "45\t90\t4\n60\t60\t3\n55\t75\t2\n");
  const SimRun text = Sim({"--races", "300", "--seed", "1", wide});
  ASSERT_EQ(text.status, 0) << text.err;
  std::istringstream lines(text.out);
  std::string line;
  int rows = 0;
  while (std::getline(lines, line)) {
    const bool horse_row = line.size() > 3 && line[0] == ' ' && line[1] == ' ' && line[2] >= '1' && line[2] <= '6';
    if (!horse_row) continue;
    ++rows;
    std::istringstream fields(line);
    std::vector<std::string> cells;
    for (std::string cell; fields >> cell;) cells.push_back(cell);
    // No, Sp, St, style, odds, implied, win, interval, fair, return, its
    // interval, place, and when they apply the bet's mark, the pricing and a bar.
    EXPECT_GE(cells.size(), 12u) << line;
    EXPECT_LE(cells.size(), 15u) << line;
  }
  EXPECT_EQ(rows, 6);

  const SimRun json = Sim({"--json", "--races", "300", "--seed", "1", wide});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out.find('\xff'), std::string::npos);
  EXPECT_NE(json.out.find("\"field\": \"field from " + fs::path(wide).parent_path().string() + "/wide\\ufffd.txt\""),
            std::string::npos);
  for (std::size_t pos = 0; pos < json.out.size();) {
    bool valid = false;
    NextUtf8(json.out, pos, &valid);
    ASSERT_TRUE(valid) << "at byte " << pos;
  }
  EXPECT_NE(json.out.find("\"low_95\": 0, \"high_95\": 0.012"), std::string::npos) << "a horse that never won";
}

// With the address space limited, `--threads 1024` once ended in a bare
// "Resource temporarily unavailable" and exit status 1, after the threads
// that had started ran every race.
TEST(SimThreads, ThreadsThatCannotStartAreOneLineAndStatusThree) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#else
  const auto run = [] {
    const rlimit limit{614400ull * 1024, 614400ull * 1024};
    if (setrlimit(RLIMIT_AS, &limit) != 0) std::exit(100);
    std::ostringstream report;
    const std::vector<std::string_view> args = {"--threads", "1024", "--races", "300000"};
    std::exit(SimMain(args, report, std::cerr, false));
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(kExitNoResources),
              "^trotix-sim: 1024 threads could not be started \\([^\n]*\\); try fewer with --threads\n$");
#endif
}

}  // namespace
}  // namespace trotix::sim
