#include "utf8.h"

namespace trotix {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0u) == 0x80u; }

// East Asian wide and full-width ranges, enough for CJK text.
bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

char32_t NextUtf8(std::string_view text, std::size_t& pos, bool* valid) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF5 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  char32_t c = length == 4 ? lead & 0x07u : length == 3 ? lead & 0x0Fu : length == 2 ? lead & 0x1Fu : lead;
  bool ok = length > 0 && pos + length <= text.size();
  for (std::size_t i = 1; ok && i < length; ++i) {
    ok = IsContinuation(byte(pos + i));
    c = (c << 6) | (byte(pos + i) & 0x3Fu);
  }
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  ok = ok && c >= kLeast[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
  if (valid != nullptr) *valid = ok;
  pos += ok ? length : 1;
  return ok ? c : kReplacementCharacter;
}

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t pos = 0; pos < text.size();) width += IsWide(NextUtf8(text, pos)) ? 2u : 1u;
  return width;
}

}  // namespace trotix
