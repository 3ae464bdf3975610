// The figures as JSON: numbers as short as read back exactly, and the
// tables a page shows, each cell with its kind.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "chart_svg.h"
#include "field_file.h"
#include "figure_text.h"
#include "report.h"

namespace trotix::sim {
namespace {

TEST(JsonNumbers, TheShortestTextThatReadsBackExactly) {
  const struct { double value; const char* text; } cases[] = {
      {12.5, "12.5"}, {0.0005, "0.0005"}, {80.0, "80"}, {0.1, "0.1"}, {1.0 / 3.0, "0.3333333333333333"},
      {0.0, "0"},     {-2.25, "-2.25"},   {1e-7, "1e-07"}, {1e20, "1e+20"},
      {std::numeric_limits<double>::quiet_NaN(), "null"}, {INFINITY, "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.value), c.text) << c.text;
  EXPECT_EQ(JsonNumber(0.1f), "0.1") << "a float's own shortest text, not the double's";
  EXPECT_EQ(JsonNumber(115.6f), "115.6");
}

Figures SampleFigures(const std::array<Count, kHorseCount>& wins) {
  RunSetup setup;
  setup.field = ParseFieldFile("80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n", true).horses;
  Tally tally;
  tally.races = 1000;
  for (std::size_t h = 0; h < kHorseCount; ++h) tally.places[h][0] = wins[h];
  tally.pairs[0] = 1000;
  tally.winner_ticks[574] = 1000;
  return ComputeFigures(setup, tally);
}

// Horse 4 won 716 of 1000 at an implied 18.5%, horse 1 220 at 21.9%, horse
// 2 never: each cell says how it is shown, and a win count of zero has no
// fair odds anywhere.
TEST(TablesJson, EveryCellHasItsKindAndNoWinsHaveNoFairOdds) {
  const Figures f = SampleFigures({220, 0, 0, 716, 0, 64});
  std::ostringstream json;
  WriteTablesJson(json, f);
  const std::string text = json.str();
  EXPECT_NE(text.find("[{\"text\": \"4\", \"kind\": \"label\"}, {\"text\": \"045\", \"kind\": \"number\"}, "
                      "{\"text\": \"090\", \"kind\": \"number\"}, {\"text\": \"追\", \"kind\": \"style\"}, "
                      "{\"text\": \"x3.8\", \"kind\": \"number\"}"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("{\"text\": \"underpriced\", \"kind\": \"underpriced\"}]"), std::string::npos);
  EXPECT_NE(text.find("{\"text\": \"overpriced\", \"kind\": \"overpriced\"}]"), std::string::npos);
  EXPECT_NE(text.find("{\"text\": \"\", \"kind\": \"within\"}]"), std::string::npos) << "horse 1";
  EXPECT_NE(text.find("[{\"text\": \"   1-2\", \"kind\": \"label\"}"), std::string::npos);
  EXPECT_NE(text.find("{\"text\": \"-\", \"kind\": \"number\"}"), std::string::npos) << "no wins, no fair odds";

  std::ostringstream report;
  WriteText(report, f, {"sample", 1, 1.0});
  for (const std::string& shown : {text, report.str(), ChartSvg(f), ChartSvg(f, ChartLayout::kNarrow)}) {
    EXPECT_EQ(shown.find("x100000"), std::string::npos);
    EXPECT_EQ(shown.find("inf"), std::string::npos);
  }
  EXPECT_NE(report.str().find("  2  050  050     逃   x6.1   11.43%    0.00%      0.00–0.39%          -"),
            std::string::npos) << report.str();
}

// One unit on horse 4 at x3.8, which won 716 of 1000, returns 2.72 on
// average (95%: 2.61 to 2.83): the Bet cell says it pays. Horse 1 at x3.2
// won 220: 0.70, it costs. Pair 1-2 came first and second in every race.
TEST(TablesJson, TheReturnWithItsIntervalAndWhetherItPays) {
  const Figures f = SampleFigures({220, 0, 0, 716, 0, 64});
  std::ostringstream json;
  WriteTablesJson(json, f);
  const std::string text = json.str();
  EXPECT_NE(text.find("\"Return\", \"Return 95%\", \"Bet\""), std::string::npos) << text;
  EXPECT_NE(text.find("{\"text\": \"2.72\", \"kind\": \"number\"}, {\"text\": \"2.61–2.83\", \"kind\": \"number\"}, "
                      "{\"text\": \"pays\", \"kind\": \"pays\"}"),
            std::string::npos) << text;
  EXPECT_NE(text.find("{\"text\": \"0.70\", \"kind\": \"number\"}, {\"text\": \"0.62–0.79\", \"kind\": \"number\"}, "
                      "{\"text\": \"\", \"kind\": \"costs\"}"),
            std::string::npos) << text;
  const Chance& pair = f.pairs[0].hit;
  EXPECT_EQ(pair.return_interval.high, pair.posted_odds) << "a sure pair returns at most its odds";
  EXPECT_EQ(PayoffOf(pair), Payoff::kPays);

  std::ostringstream report;
  WriteText(report, f, {"sample", 1, 1.0});
  EXPECT_NE(report.str().find("  2.72   2.61–2.83 pays"), std::string::npos) << report.str();

  std::ostringstream full;
  WriteJson(full, f, {"sample", 1, 1.0});
  EXPECT_NE(full.str().find("\"return\": " + JsonNumber(0.716 * 3.8) + ", \"return_low_95\": " + JsonNumber(f.horses[3].win.interval.low * 3.8) +
                            ", \"return_high_95\": " + JsonNumber(f.horses[3].win.interval.high * 3.8) +
                            ", \"pays\": true"),
            std::string::npos) << full.str();
  EXPECT_NE(full.str().find("\"return\": 0, \"return_low_95\": 0, \"return_high_95\": "), std::string::npos)
      << "a horse that never won";
}

// A ticket pays only when it returns more than its stake; exactly the stake
// back costs the player nothing but pays nothing either.
TEST(Figures, APaysOnlyAboveOne) {
  const struct { double stake_return; Payoff payoff; } cases[] = {
      {1.0000001, Payoff::kPays}, {1.0, Payoff::kCosts}, {0.0, Payoff::kCosts}, {3.6, Payoff::kPays}};
  for (const auto& c : cases) {
    Chance chance;
    chance.stake_return = c.stake_return;
    EXPECT_EQ(PayoffOf(chance), c.payoff) << c.stake_return;
  }
  EXPECT_EQ(ReturnIntervalText({0.6253551788449172, 0.7895023723611977}), "0.62–0.79") << "outwards";
  EXPECT_EQ(ReturnIntervalText({1.0, 2.5}), "1.00–2.50") << "a hair keeps exact bounds";
  EXPECT_EQ(ReturnIntervalText({0.0, INFINITY}), "-");
}

}  // namespace
}  // namespace trotix::sim
