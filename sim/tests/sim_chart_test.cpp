// The chart: one mark a horse on its interval, where the figures put it; and
// trotix-sim --svg writes the chart of the run it reports, or says why not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

#include "chart_svg.h"
#include "field_file.h"
#include "race_blocks.h"
#include "sim_main.h"
#include "sim_options.h"

namespace trotix::sim {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSampleField = "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n";

Figures SampleFigures(const std::array<Count, kHorseCount>& wins) {
  RunSetup setup;
  setup.field = ParseFieldFile(kSampleField, true).horses;
  Tally tally;
  tally.races = 1000;
  for (std::size_t h = 0; h < kHorseCount; ++h) tally.places[h][0] = wins[h];
  tally.winner_ticks[574] = 1000;
  return ComputeFigures(setup, tally);
}

// The text of every element with class `name` inside horse `number`'s group.
std::vector<std::string> Marks(const std::string& svg, int number, const std::string& name) {
  const std::string open = "<g class=\"horse\" data-number=\"" + std::to_string(number) + "\">";
  const std::size_t from = svg.find(open);
  if (from == std::string::npos) return {};
  const std::string group = svg.substr(from, svg.find("</g>", from) - from);
  const std::regex element("<(\\w+) [^>]*class=\"" + name + "\"[^>]*>");
  std::vector<std::string> found;
  for (std::sregex_iterator it(group.begin(), group.end(), element), end; it != end; ++it) found.push_back(it->str());
  return found;
}

double Attribute(const std::string& element, const std::string& name) {
  std::smatch m;
  if (!std::regex_search(element, m, std::regex(" " + name + "=\"([-0-9.]+)\""))) return -1.0;
  return std::stod(m[1]);
}

TEST(Chart, OneMarkAHorseOnItsInterval) {
  // 936 wins of 1000 for horse 4 (implied 18.5%): the scale runs to 100%,
  // 310 pixels from x = 160.
  const Figures f = SampleFigures({0, 0, 0, 936, 0, 64});
  const std::string svg = ChartSvg(f);
  for (const HorseFigures& h : f.horses) {
    SCOPED_TRACE(h.number);
    const auto marks = Marks(svg, h.number, "true");
    const auto intervals = Marks(svg, h.number, "interval");
    ASSERT_EQ(marks.size(), 1u);
    ASSERT_EQ(intervals.size(), 1u);
    const bool dot = marks[0].starts_with("<circle");
    EXPECT_EQ(dot, PricingOf(h.win) == Pricing::kWithin) << "a triangle when mispriced";
    if (dot) {
      EXPECT_NEAR(Attribute(marks[0], "cx"), 160.0 + 310.0 * h.win.share, 0.05);
    }
    // The interval's path starts at its low end and ends at its high end.
    std::smatch ends;
    ASSERT_TRUE(std::regex_search(intervals[0], ends, std::regex("d=\"M([0-9.]+) .*M([0-9.]+) ")));
    EXPECT_NEAR(std::stod(ends[1]), 160.0 + 310.0 * h.win.interval.low, 0.05);
    EXPECT_NEAR(std::stod(ends[2]), 160.0 + 310.0 * h.win.interval.high, 0.05);
    const auto implied = Marks(svg, h.number, "implied");
    ASSERT_EQ(implied.size(), 1u);
    EXPECT_NEAR(Attribute(implied[0], "width"), 310.0 * h.win.implied, 0.05);
  }
  EXPECT_NE(Marks(svg, 4, "true")[0].find("#005f94"), std::string::npos) << "underpriced in blue";
  EXPECT_NE(svg.find("【4】追 x3.8"), std::string::npos) << "the listing's number, style and odds";
  EXPECT_NE(svg.find("median 1:54.8"), std::string::npos);
  EXPECT_EQ(svg.find("NaN"), std::string::npos);
}

// A field whose chances are all small keeps them readable: the scale ends at
// the next 10% above the largest figure drawn.
TEST(Chart, TheScaleEndsAboveTheLargestFigure) {
  const Figures f = SampleFigures({170, 170, 170, 170, 160, 160});
  const std::string svg = ChartSvg(f);
  EXPECT_NE(svg.find(">30%</text>"), std::string::npos);
  EXPECT_EQ(svg.find(">40%</text>"), std::string::npos);
  const auto marks = Marks(svg, 5, "true");  // 16% against an implied 16.5%: a dot
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(Attribute(marks[0], "cx"), 160.0 + 310.0 * 0.16 / 0.3, 0.05);
}

// Every pair's cell, by its label.
std::string PairCell(const std::string& svg, const std::string& label) {
  const std::size_t from = svg.find("<g class=\"pair\" data-pair=\"" + label + "\">");
  return from == std::string::npos ? std::string() : svg.substr(from, svg.find("</g>", from) - from);
}

// The marks point up where the odds are too long for the horse or pair
// (underpriced) and down where they are too short, in both layouts.
TEST(Chart, MarksPointUpWhereUnderpricedAndDownWhereOverpriced) {
  const Figures f = SampleFigures({0, 0, 0, 936, 0, 64});
  for (const ChartLayout layout : {ChartLayout::kWide, ChartLayout::kNarrow}) {
    const std::string svg = ChartSvg(f, layout);
    for (const HorseFigures& h : f.horses) {
      SCOPED_TRACE(h.number);
      const std::string mark = Marks(svg, h.number, "true").at(0);
      std::smatch tip;
      if (PricingOf(h.win) == Pricing::kWithin) continue;
      ASSERT_TRUE(std::regex_search(mark, tip, std::regex("d=\"M[-0-9.]+ ([-0-9.]+)L[-0-9.]+ ([-0-9.]+)L")));
      const bool up = std::stod(tip[1]) < std::stod(tip[2]);
      EXPECT_EQ(up, PricingOf(h.win) == Pricing::kUnderpriced) << mark;
    }
    EXPECT_EQ(PricingOf(f.horses[3].win), Pricing::kUnderpriced);
    EXPECT_EQ(PricingOf(f.horses[0].win), Pricing::kOverpriced);
    for (const PairFigures& pair : f.pairs) {
      SCOPED_TRACE(pair.label);
      const std::string cell = PairCell(svg, pair.label);
      const Pricing pricing = PricingOf(pair.hit);
      EXPECT_EQ(cell.find(">▲ ") != std::string::npos, pricing == Pricing::kUnderpriced);
      EXPECT_EQ(cell.find(">▼ ") != std::string::npos, pricing == Pricing::kOverpriced);
    }
  }
}

// The game's Japanese is marked lang="ja": a text of it whole, a run of it
// among English words as a span; no text holds Japanese unmarked.
TEST(Chart, JapaneseTextsCarryLangJa) {
  const Figures f = SampleFigures({0, 0, 0, 936, 0, 64});
  for (const ChartLayout layout : {ChartLayout::kWide, ChartLayout::kNarrow}) {
    const std::string svg = ChartSvg(f, layout);
    EXPECT_NE(svg.find("lang=\"ja\">【4】追 x3.8</text>"), std::string::npos);
    EXPECT_NE(svg.find("<tspan lang=\"ja\">馬連</tspan> (quinella)"), std::string::npos);
    EXPECT_NE(svg.find("Styles: <tspan lang=\"ja\">逃</tspan> front-runner, <tspan lang=\"ja\">先</tspan> stalker"),
              std::string::npos);
    const std::regex unmarked("<text [^>]*>[^<]*(【|逃|先|差|追|馬)");
    for (std::sregex_iterator it(svg.begin(), svg.end(), unmarked), end; it != end; ++it) {
      EXPECT_NE(it->str().find("lang=\"ja\""), std::string::npos) << it->str();
    }
  }
}

// A phone's panel shows the narrow chart some 310 px wide: its text is drawn
// at 14 px or more, so that it is still 12 CSS px there.
TEST(Chart, TheNarrowChartIs360WideWithNoTextUnder14) {
  const std::string svg = ChartSvg(SampleFigures({0, 0, 0, 936, 0, 64}), ChartLayout::kNarrow);
  EXPECT_NE(svg.find("viewBox=\"0 0 360 "), std::string::npos);
  const std::regex size("font-size=\"(\\d+)\"");
  int sizes = 0;
  for (std::sregex_iterator it(svg.begin(), svg.end(), size), end; it != end; ++it, ++sizes) {
    EXPECT_GE(std::stoi((*it)[1]), 14);
  }
  EXPECT_GT(sizes, 100);
  std::smatch x;
  for (auto from = svg.cbegin(); std::regex_search(from, svg.cend(), x, std::regex(" x=\"([-0-9.]+)\"")); from = x[0].second) {
    EXPECT_LE(std::stod(x[1]), 360.0);
  }
}

class SimSvgTest : public ::testing::Test {
 protected:
  fs::path dir_ = fs::temp_directory_path() / ("trotix_sim_svg_test_" + std::to_string(::getpid()));
  void SetUp() override {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "horsedat.txt", std::ios::binary) << kSampleField;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string out_, err_;
  int Run(std::vector<std::string> args) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream o, e;
    const int status = SimMain(views, o, e, false);
    out_ = o.str(), err_ = e.str();
    return status;
  }
};

TEST_F(SimSvgTest, WritesTheChartOfTheRunItReports) {
  const std::string chart = (dir_ / "chart.svg").string();
  const std::string field = (dir_ / "horsedat.txt").string();
  ASSERT_EQ(Run({"--races", "600", "--seed", "9", "--svg", chart, field}), kExitOk);
  std::ifstream in(chart, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  RunSetup setup;
  setup.seed = 9;
  setup.races = 600;
  setup.field = ParseFieldFile(kSampleField, true).horses;
  Tally tally;
  RaceState race;
  for (std::uint64_t b = 0; b < BlockCount(setup); ++b) SimulateBlock(setup, b, race, tally);
  EXPECT_EQ(written, ChartSvg(ComputeFigures(setup, tally)));
}

// A chart once hung for good on a pipe with no reader, wrote through a link
// someone else planted, overwrote its own horse file, and found a file it
// could not write only after the whole run: the place is checked first.
TEST_F(SimSvgTest, RefusesWhatItCannotDraw) {
  const std::string field = (dir_ / "horsedat.txt").string(), pipe = (dir_ / "pipe.svg").string();
  const std::string read_only = (dir_ / "read-only.svg").string(), planted = (dir_ / "planted.svg").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::ofstream(read_only) << "kept";
  fs::permissions(read_only, fs::perms::owner_read);
  std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
      {{"--random", "--svg", (dir_ / "c.svg").string()}, kExitBadInput, "--svg draws one field"},
      {{"--svg"}, kExitBadInput, "--svg needs a file name"},
      {{"--races", "10", "--svg", (dir_ / "no" / "c.svg").string()}, kExitWriteFailed, "the chart could not be written"},
      {{"--svg", pipe}, kExitWriteFailed, "pipe.svg (not an ordinary file)"},
      {{"--races", "1000000000", "--svg", read_only}, kExitWriteFailed, "read-only.svg (a read-only file)"},
      {{"--svg", field, field}, kExitBadInput, "would replace the horse data file"},
      {{"--svg", (dir_ / "." / "horsedat.txt").string(), field}, kExitBadInput, "would replace the horse data file"}};
  // Only root can give a link to someone else.
  if (geteuid() == 0 && symlink(read_only.c_str(), planted.c_str()) == 0 && lchown(planted.c_str(), 65534, 65534) == 0) {
    cases.push_back({{"--svg", planted}, kExitWriteFailed, "planted.svg can be changed by someone else"});
  }
  for (const auto& [args, status, message] : cases) {
    EXPECT_EQ(Run(args), status) << message;
    EXPECT_NE(err_.find(message), std::string::npos) << err_;
  }
  for (const auto& [path, text] : {std::pair{read_only, "kept"}, {field, kSampleField}}) {
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << path;
  }
}

// A seed from the clock once ran above 2^53, where jq and JavaScript read
// another number; the seed is also written as a string for any seed given.
TEST_F(SimSvgTest, TheSeedReadsBackFromTheJson) {
  for (int i = 0; i < 3; ++i) EXPECT_LT(SeedFromClock(), kExactSeedLimit);
  ASSERT_EQ(Run({"--json", "--races", "10", "--seed", "18446744073709551615"}), kExitOk);
  EXPECT_NE(out_.find("\"seed\": 18446744073709551615,\n  \"seed_text\": \"18446744073709551615\","),
            std::string::npos) << out_.substr(0, 120);
  ASSERT_EQ(Run({"--json", "--races", "10"}), kExitOk);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(out_, m, std::regex("\"seed\": (\\d+),\n  \"seed_text\": \"(\\d+)\"")));
  EXPECT_EQ(m[1], m[2]);
  EXPECT_LT(std::stoull(m[1]), kExactSeedLimit);
}

}  // namespace
}  // namespace trotix::sim
