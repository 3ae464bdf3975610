#include "texts.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

RaceState FieldWith(double speed, double stamina, std::int32_t style, double odds) {
  RaceState race;
  for (Horse& h : race.Horses) h = Horse{0, 50, 50, 50, 50, 1, 0, 0, 0, 4.2, 1, 0};
  race.Horses[2].Speed = speed;
  race.Horses[2].Stamina = stamina;
  race.Horses[2].Style = style;
  race.Horses[2].WinOdds = odds;
  return race;
}

std::string ThirdLine(const RaceState& race) {
  const std::string text = FieldListingText(race);
  std::size_t start = 0;
  for (int n = 0; n < 2; ++n) start = text.find("\r\n", start) + 2;
  return text.substr(start, text.find("\r\n", start) - start);
}

TEST(FieldListing, SixLinesEachEndedByCrLf) {
  const std::string text = FieldListingText(FieldWith(57.48, 80.5, 3, 4.264));
  EXPECT_EQ(text.substr(0, text.find("\r\n") + 2), "【1】Sp:050  St:050  逃  x4.2\r\n");
  EXPECT_EQ(ThirdLine(FieldWith(57.48, 80.5, 3, 4.264)), "【3】Sp:057  St:081  差  x4.3");
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 6u);
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "no bare line feeds";
}

TEST(FieldListing, NumbersAndGlyphs) {
  const struct { double speed; std::int32_t style; double odds; const char* line; } cases[] = {
      {7.6, 1, 12.25, "【3】Sp:008  St:050  逃  x12.3"},
      {100, 2, 3, "【3】Sp:100  St:050  先  x3.0"},
      {1234, 4, 4.2, "【3】Sp:1234  St:050  追  x4.2"},
      {50, 0, 4.2, "【3】Sp:050  St:050     x4.2"},  // style 0: a blank, five blanks in all
      {50, 7, 4.2, "【3】Sp:050  St:050     x4.2"},  // a style from a file beyond 4 shows a blank too
      {50, -2, 4.2, "【3】Sp:050  St:050     x4.2"},
  };
  for (const auto& c : cases) EXPECT_EQ(ThirdLine(FieldWith(c.speed, 50, c.style, c.odds)), c.line) << c.speed;
}

TEST(PictureTexts, ClockOddsAndBoardPieces) {
  const struct { std::string text; const char* expected; } cases[] = {
      {ClockText(5.2f), "0:05.20"},
      {ClockText(75.456f), "1:15.46"},
      {ClockText(600.0f), "10:00.00"},
      {BoardTimeText(59.94f), "0:59.9"},
      {BoardTimeText(61.0f), "1:01.0"},
      {OddsLineText(2, 4.46), "【3】 x4.5"},
      {OddsLineText(2, 12.26), "【3】 x12.3"},
      {OddsLineText(5, 7.0), "【6】 x7.0"},
      {PlaceText(1, 2), "1着【3】 "},
      {QuinellaLineText({13.06, "2-5"}), "馬連: 2-5  x13.1"},
      {std::string(StyleGlyph(1)) + std::string(StyleGlyph(2)) + std::string(StyleGlyph(3)) +
           std::string(StyleGlyph(4)),
       "逃先差追"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

}  // namespace
}  // namespace trotix
