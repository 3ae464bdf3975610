#include "terminal_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trotix {
namespace {

using namespace std::string_literals;  // for names with a NUL in them

TEST(TerminalSafe, ControlCharactersInANameBecomeVisibleEscapes) {
  struct Case {
    std::string name;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"horsedat.txt", "horsedat.txt"},
      {"馬データ.txt", "馬データ.txt"},
      {"tab\there", "tab\\x09here"},
      {"\x1b]0;owned\x07", "\\x1B]0;owned\\x07"},             // retitles the terminal
      {"\x1b[2J\x1b[31mred", "\\x1B[2J\\x1B[31mred"},       // clears it, recolours it
      {"nul\0byte"s, "nul\\x00byte"},
      {"del\x7f", "del\\x7F"},
      {"c1\xc2\x9b" "31m", "c1\\u009B31m"},                  // CSI as a character
      {"\xe2\x80\xaetxt.exe", "\\u202Etxt.exe"},             // right-to-left override
      {"\xe2\x81\xa6" "a\xe2\x81\xa9", "\\u2066a\\u2069"},   // isolates
      {"\xe2\x80\x8f\xd8\x9c", "\\u200F\\u061C"},             // marks
      {"line\xe2\x80\xa8sep", "line\\u2028sep"},
      {"raw\x9b" "c1", "raw\\x9Bc1"},                        // CSI as a byte, no UTF-8
      {"latin1 caf\xe9", "latin1 caf\\xE9"},
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},                   // an encoded surrogate
      {"back\\slash", "back\\\\slash"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TerminalSafe(c.name), c.shown) << c.shown;
  }
}

}  // namespace
}  // namespace trotix
