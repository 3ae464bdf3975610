#include "private_profile.h"

#include <gtest/gtest.h>

#include <string>

namespace trotix {
namespace {

using namespace std::string_literals;  // for texts with a NUL in them

TEST(GetProfileString, FindsTheFirstEntryOfTheFirstMatchingSection) {
  const struct { std::string file; const char* section; const char* key; std::string value; } cases[] = {
      {"[Trotix]\r\nTop=1500\r\nLeft=3000\r\n", "Trotix", "Top", "1500"},
      {"[Trotix]\r\nTop=1500\r\nLeft=3000\r\n", "Trotix", "Left", "3000"},
      {"", "Trotix", "Top", "0"},
      {"[Trotix]\r\n", "Trotix", "Top", "0"},
      {"[tROTIX]\nTOP=5\n", "Trotix", "top", "5"},
      {"  [ Trotix ]  \r\n\t Top\t=\t720  \r\n", " Trotix", "Top ", "720"},
      {"[T]\nTop=\n", "T", "Top", ""},  // present but empty: not the default
      {"[T]\nTop=a=b\n", "T", "Top", "a=b"},
      {"[T]\nTop=\"12\"\n", "T", "Top", "12"},
      {"[T]\nTop=' 12 '\n", "T", "Top", " 12 "},
      {"[T]\nTop= \"\" \n", "T", "Top", ""},
      {"[T]\nTop=\"12'\n", "T", "Top", "\"12'"},
      {"[T]\nTop=\"\n", "T", "Top", "\""},
      {"[T]\nTop=1\ntop=2\n", "T", "Top", "1"},
      {"[T]\nTop=1\n[T]\nTop=2\n", "T", "Top", "1"},
      {"[T]\nLeft=1\n[t]\nTop=2\n", "T", "Top", "0"},  // later sections are not searched
      {"[T]\n;Top=1\n  ; Top=2\nTop=3\n", "T", "Top", "3"},
      {"[T]\nTop\nTop 4\nTop=5\n", "T", "Top", "5"},
      {"Top=1\n[T]\n", "T", "Top", "0"},  // before any section
      {"[U]\nTop=1\n[T]\nLeft=2\n", "T", "Top", "0"},
      {"[T]\n[U]\nTop=1\n", "T", "Top", "0"},
      {"[T]\rTop=1\rLeft=2", "T", "Left", "2"},
      {"[T]\r\rTop=1\r\n\nLeft=2\n", "T", "Left", "2"},
      {"\xEF\xBB\xBF[T]\r\nTop=9\r\n", "T", "Top", "9"},
      {"[T\nTop=4\n", "T", "Top", "4"},       // a header without ']' still counts
      {"[T] ; x\nTop=6\n", "T", "Top", "6"},  // text after ']' is ignored
      {"[T]\n=7\n", "T", "", "0"},            // an empty name never matches
      {"[]\nTop=7\n", "", "Top", "0"},
      {"[T]\nTop=a\0b\n"s, "T", "Top", "a\0b"s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetProfileString(c.file, c.section, c.key, "0", 1024), c.value)
        << c.file << " / " << c.section << " / " << c.key;
  }
}

TEST(GetProfileString, CutsTheValueOrDefaultToOneLessThanTheBufferSize) {
  const std::string file = "[T]\nTop=12345\n";
  const struct { const char* key; const char* fallback; std::size_t size; const char* result; } cases[] = {
      {"Top", "0", 1024, "12345"}, {"Top", "0", 6, "12345"}, {"Top", "0", 5, "1234"},
      {"Top", "0", 1, ""},         {"Top", "0", 0, ""},      {"Left", "abc", 2, "a"},
      {"Left", "abc", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetProfileString(file, "T", c.key, c.fallback, c.size), c.result) << c.key << " " << c.size;
  }
}

// Each write changes one line or adds lines; every other byte must stay.
TEST(SetProfileString, ChangesOnlyTheKeysLineOrAddsIt) {
  const struct { std::string before; const char* section; const char* key; const char* value; std::string after; } cases[] = {
      {"", "Trotix", "Top", "1500", "[Trotix]\r\nTop=1500\r\n"},
      {"[Trotix]\r\nTop=1500\r\n", "Trotix", "Left", "3450", "[Trotix]\r\nTop=1500\r\nLeft=3450\r\n"},
      // Replaced in place, keeping the line's own ending and the other lines.
      {"[T]\nTop=1\nX=2\n", "T", "Top", "22", "[T]\nTop=22\nX=2\n"},
      {"[T]\rTop=1\rX=2", "T", "Top", "22", "[T]\rTop=22\rX=2"},
      {"[T]\r\n  top = 1 \r\n", "T", "Top", "22", "[T]\r\nTop=22\r\n"},
      {"[T]\nTop=1\nTop=2\n", "T", "Top", "5", "[T]\nTop=5\nTop=2\n"},
      {"[T]\nTop=1\n[t]\nTop=2\n", "t", "TOP", "5", "[T]\nTOP=5\n[t]\nTop=2\n"},
      // Added after the section's last non-blank line.
      {"[T]\r\nA=1\r\n\r\n[U]\r\nB=2\r\n", "T", "Top", "5", "[T]\r\nA=1\r\nTop=5\r\n\r\n[U]\r\nB=2\r\n"},
      {"; head\r\n[T]\r\njunk line\r\n;note\r\n \t\r\n", "T", "Top", "5",
       "; head\r\n[T]\r\njunk line\r\n;note\r\nTop=5\r\n \t\r\n"},
      {"[T]\nA=1\n[t]\nTop=1\n", "T", "Top", "5", "[T]\nA=1\nTop=5\r\n[t]\nTop=1\n"},
      {"[T]\rA=1\r\r[U]", "T", "Top", "5", "[T]\rA=1\rTop=5\r\n\r[U]"},
      {"[T]\nA=1", "T", "Top", "5", "[T]\nA=1\r\nTop=5\r\n"},
      {"[T]", "T", "Top", "5", "[T]\r\nTop=5\r\n"},
      // A new section at the end, after a line break of its own if needed.
      {"[U]\r\nB=2", "T", "Top", "5", "[U]\r\nB=2\r\n[T]\r\nTop=5\r\n"},
      {"[U]\rB=2\r", "T", "Top", "5", "[U]\rB=2\r[T]\r\nTop=5\r\n"},
      {"\xEF\xBB\xBF", "T", "Top", "5", "\xEF\xBB\xBF[T]\r\nTop=5\r\n"},
      {"\xEF\xBB\xBF[T]\nA=1\n", "T", "Top", "5", "\xEF\xBB\xBF[T]\nA=1\nTop=5\r\n"},
      {"Top=1\n", "T", "Top", "5", "Top=1\n[T]\r\nTop=5\r\n"},
      // Names are written trimmed; the value exactly as given.
      {"", " T\t", " Top ", " a=b;c ", "[T]\r\nTop= a=b;c \r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SetProfileString(c.before, c.section, c.key, c.value), c.after) << c.before;
  }
}

TEST(SetProfileString, RefusesWhatWouldBreakTheLineStructure) {
  const struct { const char* section; const char* key; const char* value; } refused[] = {
      {"", "Top", "1"},     {" \t", "Top", "1"},   {"A=B", "Top", "1"}, {"[T", "Top", "1"},
      {"T]", "Top", "1"},   {"T\nU", "Top", "1"},  {"T\r", "Top", "1"}, {"T", "", "1"},
      {"T", "A=B", "1"},    {"T", "[Top", "1"},    {"T", "To]p", "1"},  {"T", ";Top", "1"},
      {"T", " ;Top", "1"},  {"T", "To\np", "1"},   {"T", "Top", "1\r2"}, {"T", "Top", "1\n"},
  };
  const std::string file = "[T]\r\nTop=1\r\n";
  for (const auto& c : refused) {
    EXPECT_FALSE(CanSetProfileString(c.section, c.key, c.value)) << c.section << "/" << c.key << "/" << c.value;
    EXPECT_EQ(SetProfileString(file, c.section, c.key, c.value), file) << c.section << "/" << c.key;
  }
  EXPECT_TRUE(CanSetProfileString("T", "To;p", "[=]; \"x"));
  EXPECT_TRUE(CanSetProfileString("T;", "Top", ""));
}

}  // namespace
}  // namespace trotix
