#include "result_board.h"

#include <gtest/gtest.h>

#include "numbers.h"
#include "odds.h"
#include "palette.h"
#include "scene_fixture.h"
#include "spoken_board.h"

namespace trotix {
namespace {

TEST(MarginText, TraditionalTermsAtTheirExactThresholds) {
  const struct { double metres; const char* text; } cases[] = {
      {0.0, "ﾊﾅ"},      {1.5624, "ﾊﾅ"},  {1.5625, "ｱﾀﾏ"}, {3.1249, "ｱﾀﾏ"}, {3.125, "ｸﾋﾞ"},
      {6.2499, "ｸﾋﾞ"},  {6.25, "1/2"},   {9.3749, "1/2"},  {9.375, "3/4"},  {12.4999, "3/4"},
      {12.5, "1"},      {24.99, "1"},    {25.0, "2"},      {180.0, "14"},   {2000.0, "160"},
  };
  for (const auto& c : cases) EXPECT_EQ(MarginText(c.metres), c.text) << c.metres;
}

// Every term the board prints, said in words, at the same thresholds.
TEST(SpokenMargin, EveryTermInWordsAtTheBoardsThresholds) {
  const struct { double metres; const char* words; } cases[] = {
      {1.5624, "a nose"},       {1.5625, "a head"},  {3.125, "a neck"},
      {6.25, "half a length"},  {9.375, "three quarters of a length"},
      {12.4999, "three quarters of a length"},     {12.5, "1 length"},
      {24.99, "1 length"},      {25.0, "2 lengths"}, {180.0, "14 lengths"},
  };
  for (const auto& c : cases) EXPECT_EQ(SpokenMargin(c.metres), c.words) << c.metres;
}

class Board : public ::testing::Test {
 protected:
  Board() {
    RaceState& race = scene.race;
    const int order[] = {3, 0, 5, 1, 4, 2};  // horse 4 wins, horse 1 second
    const double margins[] = {1.5625, 12.5, 0.0, 24.99, 25.0, 2000.0};
    for (std::size_t r = 0; r < kHorseCount; ++r) race.FinishOrder[r] = {order[r], margins[r]};
    race.FinishCount = 6;
    race.Horses[3].Speed = 60;
    race.Horses[3].Stamina = 50;
    for (Horse& h : race.Horses) h.WinOdds = 5.6;
    race.Horses[3].WinOdds = 12.25;
    race.StartTime = 1000.0f;
    race.FinishTime = 1059.94f;
    race.Phase = kPhaseOver;
    ComputeQuinellaOdds(race);
  }
  testing::SceneFixture scene;
};

TEST_F(Board, PrintsEveryPieceInPlace) {
  const std::vector<BoardText> texts = ResultBoardTexts(scene.race);
  ASSERT_EQ(texts.size(), 19u);
  const struct { double x, y; const char* text; } expected[] = {
      {510, 225, "1着【4】 "},  {1200, 225, "0:59.9"}, {1800, 225, "x12.3"},
      {510, 450, "2着【1】 "},  {1200, 450, "ｱﾀﾏ"},    {1800, 450, "x5.6"},
      {510, 675, "3着【6】 "},  {1200, 675, "1"},      {1800, 675, "x5.6"},
      {510, 900, "4着【2】 "},  {1200, 900, "ﾊﾅ"},     {1800, 900, "x5.6"},
      {510, 1125, "5着【5】 "}, {1200, 1125, "1"},     {1800, 1125, "x5.6"},
      {510, 1350, "6着【3】 "}, {1200, 1350, "2"},     {1800, 1350, "x5.6"},
  };
  for (std::size_t k = 0; k < 18; ++k) {
    EXPECT_EQ(texts[k].x, expected[k].x) << k;
    EXPECT_EQ(texts[k].y, expected[k].y) << k;
    EXPECT_EQ(texts[k].text, expected[k].text) << k;
    EXPECT_EQ(texts[k].color, kOrange) << k;
    EXPECT_TRUE(texts[k].bold) << k;
  }
  const BoardText& quinella = texts[18];
  EXPECT_EQ(quinella.x, 510);
  EXPECT_EQ(quinella.y, 1590);
  EXPECT_EQ(quinella.color, kLightGrey);
  EXPECT_FALSE(quinella.bold);
  EXPECT_EQ(quinella.text, "馬連: 1-4  x" + FormatMask(scene.race.QuinellaTable[0][3].Odds, "0.0"));
}

TEST_F(Board, ReadsAsTextLinesWithTheSameWords) {
  EXPECT_EQ(ResultBoardText(scene.race),
            "1着【4】 0:59.9 x12.3\n2着【1】 ｱﾀﾏ x5.6\n3着【6】 1 x5.6\n4着【2】 ﾊﾅ x5.6\n5着【5】 1 x5.6\n"
            "6着【3】 2 x5.6\n馬連: 1-4  x" + FormatMask(scene.race.QuinellaTable[0][3].Odds, "0.0") + "\n");
}

TEST_F(Board, SaysTheSameBoardInEnglishWords) {
  EXPECT_EQ(SpokenBoard(scene.race),
            "First, horse 4, in 59.9 seconds, at odds of 12.3; second, horse 1, a head behind, at odds of 5.6; "
            "third, horse 6, 1 length behind, at odds of 5.6; fourth, horse 2, a nose behind, at odds of 5.6; "
            "fifth, horse 5, 1 length behind, at odds of 5.6; sixth, horse 3, 2 lengths behind, at odds of 5.6; "
            "quinella 1 and 4 at " + FormatMask(scene.race.QuinellaTable[0][3].Odds, "0.0") + ".");
}

TEST_F(Board, WinnersTimeInMinutesSecondsAndTenths) {
  scene.race.FinishTime = 1061.0f;
  EXPECT_EQ(ResultBoardTexts(scene.race)[1].text, "1:01.0");
  scene.race.FinishTime = 1125.43f;
  EXPECT_EQ(ResultBoardTexts(scene.race)[1].text, "2:05.4");
  scene.race.StartTime = 86380.0f;  // across midnight
  scene.race.FinishTime = 95.0f;
  EXPECT_EQ(ResultBoardTexts(scene.race)[1].text, "1:55.0");
}

TEST_F(Board, IsPrintedOverTheFinishBackdrop) {
  ShowResults(scene.race, testing::SharedSprites(), scene.picture);
  ASSERT_EQ(scene.picture.width(), 180);
  ASSERT_EQ(scene.picture.height(), 120);
  const Surface& backdrop = testing::SharedSprites().Bitmap(852);
  // Orange on each placing line, grey on the quinella line, and the
  // backdrop untouched where no text stands.
  for (int r = 0; r < 6; ++r) {
    int orange = 0;
    for (int y = 15 * (r + 1); y < 15 * (r + 1) + 13; ++y) {
      for (int x = 34; x < 180; ++x) orange += scene.picture.At(x, y) == kOrange;
    }
    EXPECT_GT(orange, 30) << "line " << r + 1;
  }
  int grey = 0;
  for (int y = 106; y < 120; ++y) {
    for (int x = 34; x < 180; ++x) grey += scene.picture.At(x, y) == kLightGrey;
  }
  EXPECT_GT(grey, 30);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 34; ++x) ASSERT_EQ(scene.picture.At(x, y), backdrop.At(x, y)) << x << "," << y;
  }
  EXPECT_EQ(scene.picture.fore_color, kYellow);
  EXPECT_FALSE(scene.picture.font_bold);
  EXPECT_EQ(scene.race.QuinellaTable[3][0].Label, "1-4");
}

}  // namespace
}  // namespace trotix
