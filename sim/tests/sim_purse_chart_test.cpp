// The purse's chart: a point a ledger line where its purse stands on the
// scale, each race's kind told by its mark, refills where they came, and
// the narrow layout's text no smaller than 14 px.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "purse_chart_svg.h"

namespace trotix::sim {
namespace {

LedgerEntry Line(std::int64_t purse, int refills, bool seen = false, bool settled = true) {
  LedgerEntry e;
  e.date = "2026-12-10 12:00:00";
  e.purse = purse;
  e.refills = refills;
  e.saw_chances = seen;
  e.settled = settled;
  return e;
}

// The first group of every match of `pattern`.
std::vector<std::string> All(const std::string& svg, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (std::sregex_iterator it(svg.begin(), svg.end(), re), end; it != end; ++it) found.push_back((*it)[1]);
  return found;
}

// The same, joined by blanks.
std::string Joined(const std::string& svg, const std::string& pattern) {
  std::string text;
  for (const std::string& p : All(svg, pattern)) text += (text.empty() ? "" : " ") + p;
  return text;
}

TEST(PurseChart, EveryLedgerLineIsAPointOfItsKind) {
  struct Case {
    const char* name;
    std::vector<LedgerEntry> entries;
    std::string settled;   // data-settled of each race, in order
    std::string chances;   // data-chances
    std::string refills;   // races with a refill line before them
    std::string summary;
  };
  const Case cases[] = {
      {"empty", {}, "", "", "", "No race run with tickets yet. Purse 10000."},
      {"refills",
       {Line(0, 0), Line(9000, 1, true), Line(0, 1), Line(300, 3)},
       "1 1 1 1", "0 1 0 0", "2 4",
       "4 races run with tickets. Purse 300, refilled 3 times. The chances seen before 1 of them."},
      {"unsettled",
       {Line(10500, 0), Line(10500, 0, true, false)},
       "1 0", "0 1", "",
       "2 races run with tickets. Purse 10500. The chances seen before 1 of them; 1 unsettled, the game closed"
       " during the race."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string svg = PurseChartSvg(c.entries);
    EXPECT_EQ(Joined(svg, "data-settled=\"(\\d)\""), c.settled);
    EXPECT_EQ(Joined(svg, "data-chances=\"(\\d)\""), c.chances);
    EXPECT_EQ(Joined(svg, "class=\"refill\" data-race=\"(\\d+)\""), c.refills);
    EXPECT_EQ(All(svg, "<desc id=\"trotix-purse-desc\">([^<]*)</desc>").at(0).substr(0, c.summary.size()), c.summary);
    EXPECT_EQ(All(svg, "<title id=\"trotix-purse-title\">([^<]*)<").at(0), "Trotix: the purse after each race");
    EXPECT_EQ(All(svg, "(<rect x=)").size(), std::count(c.settled.begin(), c.settled.end(), '0') + 1u)
        << "a square for an unsettled race, and the legend's";
  }
}

TEST(PurseChart, APurseStandsOnTheScale) {
  const std::string svg = PurseChartSvg({Line(10000, 0), Line(0, 0), Line(25000, 0)});
  const std::string start = All(svg, "<line x1=\"[0-9.]+\" y1=\"([0-9.]+)\"[^>]*class=\"start\"").at(0);
  const auto cy = All(svg, "data-race=\"\\d\"[^<]*\n<title>[^<]*</title>\n<circle cx=\"[0-9.]+\" cy=\"([0-9.]+)\"");
  ASSERT_EQ(cy.size(), 3u);
  EXPECT_EQ(cy[0], start) << "10,000 on the start's line";
  const auto zero = All(svg, "y=\"([0-9.]+)\" font-size=\"11\" text-anchor=\"end\">0<");
  ASSERT_EQ(zero.size(), 1u);
  EXPECT_DOUBLE_EQ(std::stod(cy[1]) + 4.0, std::stod(zero[0])) << "0 at the foot of the scale";
  EXPECT_EQ(All(svg, "text-anchor=\"end\">(25,000)<").size(), 1u) << "the top at the largest purse";
}

TEST(PurseChart, TheNarrowLayoutHasNoTextUnder14Px) {
  const std::vector<LedgerEntry> entries = {Line(4000, 0, true), Line(12000, 1, false, false)};
  const std::string narrow = PurseChartSvg(entries, ChartLayout::kNarrow);
  EXPECT_NE(narrow.find("width=\"360\""), std::string::npos);
  EXPECT_NE(PurseChartSvg(entries).find("width=\"640\""), std::string::npos);
  const auto sizes = All(narrow, "font-size=\"(\\d+)\"");
  ASSERT_FALSE(sizes.empty());
  for (const std::string& size : sizes) EXPECT_GE(std::stoi(size), 14);
  EXPECT_EQ(All(narrow, "<text ([^>]*)>").size(), sizes.size()) << "every text has its size";
}

}  // namespace
}  // namespace trotix::sim
