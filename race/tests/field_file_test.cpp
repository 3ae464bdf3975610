#include "field_file.h"

#include <gtest/gtest.h>

#include <string>

namespace trotix {
namespace {

const std::string kSixLines =
    "80\t60\t2\r\n"
    "50\t50\t1\r\n"
    "70\t40\t3\r\n"
    "45\t90\t4\r\n"
    "60\t60\t1\r\n"
    "55\t75\t2\r\n";

TEST(ParseFieldFile, ReadsSpeedStaminaAndStyleFromEachLine) {
  const FieldFileParse parsed = ParseFieldFile(kSixLines, true);
  ASSERT_TRUE(parsed.ok) << parsed.problem;
  EXPECT_EQ(parsed.horses[0].Speed, 80.0);
  EXPECT_EQ(parsed.horses[0].Stamina, 60.0);
  EXPECT_EQ(parsed.horses[0].Style, 2);
  EXPECT_EQ(parsed.horses[5].Speed, 55.0);
  EXPECT_EQ(parsed.horses[5].Stamina, 75.0);
  EXPECT_EQ(parsed.horses[5].Style, 2);
}

TEST(ParseFieldFile, AcceptsTheUsualShapesOfAGoodFile) {
  const struct { const char* name; std::string text; } cases[] = {
      {"bare LF", "80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n"},
      {"byte-order mark", "\xEF\xBB\xBF" + kSixLines},
      {"no break after the last line", kSixLines.substr(0, kSixLines.size() - 2)},
      {"fourth column and a seventh line",
       "80\t60\t2\tfast\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\nrubbish"},
      {"blanks and trailing letters", " 80 \t6 0x\t 2 \r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2"},
  };
  for (const auto& c : cases) {
    const FieldFileParse parsed = ParseFieldFile(c.text, true);
    ASSERT_TRUE(parsed.ok) << c.name << ": " << parsed.problem;
    EXPECT_EQ(parsed.horses[0].Speed, 80.0) << c.name;
    EXPECT_EQ(parsed.horses[0].Stamina, 60.0) << c.name;
    EXPECT_EQ(parsed.horses[0].Style, 2) << c.name;
    EXPECT_EQ(parsed.horses[5].Style, 2) << c.name;
  }
}

std::string WithFirstLine(const std::string& first) {
  return first + "\r\n" + kSixLines.substr(kSixLines.find('\n') + 1);
}

TEST(ParseFieldFile, StyleIsRoundedHalfToEvenAndNotRangeChecked) {
  const struct { const char* column; std::int32_t style; } cases[] = {
      {"2.5", 2}, {"3.5", 4}, {"7", 7}, {"0", 0}, {"-1", -1}, {"abc", 0}, {"32767", 32767},
      {"-32768.5", -32768},
  };
  for (const auto& c : cases) {
    const FieldFileParse parsed = ParseFieldFile(WithFirstLine(std::string("80\t60\t") + c.column), true);
    ASSERT_TRUE(parsed.ok) << c.column << ": " << parsed.problem;
    EXPECT_EQ(parsed.horses[0].Style, c.style) << c.column;
  }
}

TEST(ParseFieldFile, RefusesAFileThatBreaksALimitAndNamesTheLine) {
  const std::string five_lines = kSixLines.substr(0, kSixLines.rfind("55"));
  const struct { const char* name; std::string text; int line; const char* words; } cases[] = {
      {"empty file", "", 1, "missing"},
      {"five lines", five_lines, 6, "missing"},
      {"two columns", WithFirstLine("80\t60"), 1, "three"},
      {"no tabs at all", WithFirstLine("80 60 2"), 1, "three"},
      {"zero speed", WithFirstLine("0\t60\t2"), 1, "positive"},
      {"letters for a speed", WithFirstLine("fast\t60\t2"), 1, "positive"},
      {"empty stamina column", WithFirstLine("80\t\t2"), 1, "positive"},
      {"negative stamina", WithFirstLine("80\t-60\t2"), 1, "positive"},
      {"overflowing strength", WithFirstLine("1e200\t1e200\t2"), 1, "1000000"},
      {"style too large", WithFirstLine("80\t60\t40000"), 1, "style"},
      {"style rounds past 16 bits", WithFirstLine("80\t60\t32767.5"), 1, "style"},
      {"bad last line", kSixLines.substr(0, kSixLines.rfind("55")) + "55\t75", 6, "three"},
  };
  for (const auto& c : cases) {
    const FieldFileParse parsed = ParseFieldFile(c.text, true);
    EXPECT_FALSE(parsed.ok) << c.name;
    EXPECT_EQ(parsed.line, c.line) << c.name;
    EXPECT_NE(parsed.problem.find(c.words), std::string::npos) << c.name << ": " << parsed.problem;
  }
}

TEST(ParseFieldFile, RatingsAreTakenAsWrittenWhenTheStrengthIsPositive) {
  // Only the odds need a positive product; the ratings themselves are free.
  const FieldFileParse parsed = ParseFieldFile(WithFirstLine("-80\t-60\t2"), true);
  ASSERT_TRUE(parsed.ok) << parsed.problem;
  EXPECT_EQ(parsed.horses[0].Speed, -80.0);
  EXPECT_EQ(parsed.horses[0].Stamina, -60.0);
}

std::string SixLinesOf(const std::string& line) {
  std::string text;
  for (int i = 0; i < 6; ++i) text += line + "\r\n";
  return text;
}

std::string WithLine(int number, const std::string& line) {
  std::string text = SixLinesOf("1e-15\t1e-15\t1");
  const std::size_t at = (static_cast<std::size_t>(number) - 1) * std::string("1e-15\t1e-15\t1\r\n").size();
  return text.replace(at, std::string("1e-15\t1e-15\t1").size(), line);
}

// Ratings that broke the drawing or gave odds of "xInf" and "xNaN", and the
// edges of what is still taken.
TEST(ParseFieldFile, RefusesRatingsAndOddsTheGameCannotShow) {
  const struct { const char* name; std::string text; int line; const char* words; } refused[] = {
      {"speed 1e10 puts the gauge mark beyond int32", WithFirstLine("1e10\t100\t1"), 1, "1000000"},
      {"a hair over the bound", WithFirstLine("1000000.5\t1\t1"), 1, "1000000"},
      {"a negative stamina beyond the bound", WithFirstLine("-1\t-1e7\t1"), 1, "1000000"},
      {"an infinite speed", WithFirstLine("1e999\t1\t1"), 1, "1000000"},
      {"309 digits", WithFirstLine("1e308\t1\t1"), 1, "1000000"},
      {"six vast horses", SixLinesOf("1e154\t1e154\t1"), 1, "1000000"},
      {"a denormal speed: win odds overflow", WithFirstLine("1e-320\t100\t1"), 1, "odds"},
      {"a tiny horse on line 4", kSixLines.substr(0, 27) + "1e-305\t1\t4\r\n" + kSixLines.substr(36), 4, "odds"},
      {"six equal tiny horses: quinella 0/0", SixLinesOf("1e-160\t1e-160\t1"), 1, "odds"},
      {"only the quinella overflows; the weaker is named", WithLine(6, "1e-150\t1e-150\t1"), 6, "odds"},
      {"a subnormal speed: odds of 1.2e94, 95 digits", WithFirstLine("1e-45\t50\t1"), 1, "odds"},
      {"odds of 3.5e16 beside five of the strongest", "1e-4\t1\t1\r\n" + SixLinesOf("1000000\t1000000\t1"), 1, "odds"},
  };
  for (const auto& c : refused) {
    const FieldFileParse parsed = ParseFieldFile(c.text, true);
    EXPECT_FALSE(parsed.ok) << c.name;
    EXPECT_EQ(parsed.line, c.line) << c.name;
    EXPECT_NE(parsed.problem.find(c.words), std::string::npos) << c.name << ": " << parsed.problem;
  }
  for (const std::string& text : {SixLinesOf("1000000\t1000000\t1"), SixLinesOf("-1000000\t-1000000\t1"),
                                 SixLinesOf("1e-3\t1e-3\t1"), "1e-3\t1\t1\r\n" + SixLinesOf("1000000\t1000000\t1")}) {
    const FieldFileParse parsed = ParseFieldFile(text, true);
    const std::string_view line = std::string_view(text).substr(0, text.find('\r'));
    EXPECT_TRUE(parsed.ok) << line << ": " << parsed.problem;
  }
}

TEST(ParseFieldFile, ACutOffReadRefusesRatherThanGuessing) {
  // Only the first part of a huge file is read; if the six lines are not all
  // in it, the last one is too long to be a horse.
  const std::string head = "80\t60\t2\n" + std::string(1000, '9');
  const FieldFileParse parsed = ParseFieldFile(head, false);
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.line, 2);
  EXPECT_NE(parsed.problem.find("longer"), std::string::npos);
  // The same six lines cut off after the sixth line break are fine.
  EXPECT_TRUE(ParseFieldFile(kSixLines + "80\t60", false).ok);
}

// Readers hand over one byte past the limit; that byte only says the file
// goes on. A sixth line ending right at the limit is whole, one ending past it
// is cut off.
TEST(ParseFieldFileStart, TheByteAfterTheLimitOnlySaysTheFileGoesOn) {
  const std::string five = kSixLines.substr(0, kSixLines.size() - 9);  // the sixth line removed
  const std::string last_at_limit = five + std::string(kFieldFileReadLimit - five.size() - 9, '0') + "55\t75\t2\r\n";
  ASSERT_EQ(last_at_limit.size(), kFieldFileReadLimit);
  EXPECT_TRUE(ParseFieldFileStart(last_at_limit).ok);
  EXPECT_TRUE(ParseFieldFileStart(last_at_limit + "9").ok);
  EXPECT_FALSE(ParseFieldFileStart("0" + last_at_limit).ok) << "its sixth line ends past the limit";
}

}  // namespace
}  // namespace trotix
