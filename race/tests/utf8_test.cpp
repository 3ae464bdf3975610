#include "utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trotix {
namespace {

// Every sequence that is not UTF-8 must read as U+FFFD, one byte at a
// time: otherwise trotix-sim's JSON would carry invalid UTF-8 from a file
// name, and a UTF-16 profile would be written with a surrogate in it.
TEST(NextUtf8, RefusesWhatIsNotUtf8AndReadsWhatIs) {
  struct Case {
    const char* what;
    std::string bytes;
    char32_t first;
    std::size_t advance;  // bytes the first read passes over
  };
  const std::vector<Case> cases = {
      {"ASCII", "A", U'A', 1},
      {"two bytes", "\xc3\xa9", 0xE9, 2},
      {"three bytes", "\xe9\xa6\xac", 0x99AC, 3},
      {"four bytes", "\xf0\x9f\x90\x8e", 0x1F40E, 4},
      {"the last character", "\xf4\x8f\xbf\xbf", 0x10FFFF, 4},
      {"the first surrogate, ED A0 80", "\xed\xa0\x80", kReplacementCharacter, 1},
      {"the last surrogate, ED BF BF", "\xed\xbf\xbf", kReplacementCharacter, 1},
      {"overlong two bytes for '/'", "\xc0\xaf", kReplacementCharacter, 1},
      {"overlong three bytes for '/'", "\xe0\x80\xaf", kReplacementCharacter, 1},
      {"overlong four bytes for NUL", "\xf0\x80\x80\x80", kReplacementCharacter, 1},
      {"overlong four bytes for U+FFFF", "\xf0\x8f\xbf\xbf", kReplacementCharacter, 1},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", kReplacementCharacter, 1},
      {"a five-byte lead", "\xf8\x88\x80\x80\x80", kReplacementCharacter, 1},
      {"a stray continuation byte", "\x80", kReplacementCharacter, 1},
      {"cut short", "\xe9\xa6", kReplacementCharacter, 1},
      {"a lead followed by ASCII", "\xc3" "A", kReplacementCharacter, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::size_t pos = 0;
    bool valid = true;
    EXPECT_EQ(static_cast<std::uint32_t>(NextUtf8(c.bytes, pos, &valid)), static_cast<std::uint32_t>(c.first));
    EXPECT_EQ(pos, c.advance);
    EXPECT_EQ(valid, c.first != kReplacementCharacter);
  }
}

}  // namespace
}  // namespace trotix
