#include "profile_encoding.h"

#include <algorithm>
#include <cstdint>

#include "utf8.h"

namespace trotix {

namespace {

// UTF-8: one byte below 0x80, else a lead byte whose high bits count the
// bytes (110, 1110, 11110), then six bits in each byte after it.
void AppendUtf8(std::string& out, char32_t c) {
  const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  out += static_cast<char>(more == 0 ? c : ((0xFFu << (7 - more)) & 0xFFu) | (c >> (6 * more)));
  for (int shift = 6 * (more - 1); shift >= 0; shift -= 6) out += static_cast<char>(0x80u | ((c >> shift) & 0x3Fu));
}

void AppendUnit(std::string& out, std::uint16_t unit, bool little_endian) {
  const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  out += little_endian ? low : high;
  out += little_endian ? high : low;
}

}  // namespace

DecodedProfile DecodeProfileBytes(std::string_view bytes) {
  DecodedProfile out;
  const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
  if (!little && !big) {
    // UTF-16 or UTF-32 without a mark has a NUL beside each ASCII character:
    // NULs in half the places of one parity. Fewer are the file's own bytes.
    std::size_t nuls[2] = {0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i) nuls[i % 2] += bytes[i] == '\0' ? 1 : 0;
    out.text = std::string(bytes);
    out.writable = std::max(nuls[0], nuls[1]) * 4 < bytes.size() || nuls[0] + nuls[1] == 0;
    return out;
  }
  out.encoding = little ? TextEncoding::kUtf16Le : TextEncoding::kUtf16Be;
  const auto unit_at = [&](std::size_t i) {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<std::uint16_t>(little ? first | (second << 8) : (first << 8) | second);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const std::uint16_t unit = unit_at(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const std::uint16_t next = unit_at(i + 2);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(out.text, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out.text, unit >= 0xD800 && unit <= 0xDFFF ? kReplacementCharacter : unit);
  }
  if (i < bytes.size()) AppendUtf8(out.text, kReplacementCharacter);
  out.writable = out.text.find('\0') == std::string::npos && EncodeProfileText(out.text, out.encoding) == bytes;
  return out;
}

std::string EncodeProfileText(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kBytes) return std::string(text);
  const bool little = encoding == TextEncoding::kUtf16Le;
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextUtf8(text, pos);
    if (c < 0x10000) {
      AppendUnit(out, static_cast<std::uint16_t>(c), little);
    } else {
      AppendUnit(out, static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)), little);
      AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), little);
    }
  }
  return out;
}

}  // namespace trotix
