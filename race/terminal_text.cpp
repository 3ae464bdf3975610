#include "terminal_text.h"

#include "utf8.h"

namespace trotix {

namespace {

bool IsInvisibleControl(char32_t c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

// \x1B or \u202E: the prefix, then `digits` upper-case hex digits.
void AppendEscape(std::string& out, std::string_view prefix, char32_t value, int digits) {
  out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += "0123456789ABCDEF"[(value >> shift) & 0xFu];
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t begin = pos;
    bool valid = false;
    const char32_t c = NextUtf8(text, pos, &valid);
    if (!valid) {
      AppendEscape(out, "\\x", static_cast<unsigned char>(text[begin]), 2);
    } else if (c < 0x20 || c == 0x7F) {
      AppendEscape(out, "\\x", c, 2);
    } else if (IsInvisibleControl(c)) {
      AppendEscape(out, "\\u", c, 4);
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out.append(text.substr(begin, pos - begin));
    }
  }
  return out;
}

}  // namespace trotix
