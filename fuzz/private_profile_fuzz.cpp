// Sets one key in arbitrary INI text, then checks that the key reads back as
// written, that a second identical write changes nothing, that no line break
// of the old text was lost, and that every other entry reads as before. The
// same text taken as a file's bytes (UTF-16 when it begins with a mark) must,
// when a save may write it, get the key in its own encoding and read back.
//
// Input: three control bytes, then the value, the section and the key, as
// long as the control bytes say, then the file text.
//   byte 0: bits 0-3 the value's length; bit 7 set: section "Trotix" and
//           key "Top" instead of bytes from the input
//   byte 1: bits 0-3 the section's length
//   byte 2: bits 0-3 the key's length
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "private_profile.h"
#include "profile_encoding.h"

namespace {

// Deliberately simple: every line that looks like a header or an entry
// gives a name to check, and a wrong guess only means an entry that reads
// as the default before and after.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  a = Trimmed(a);
  b = Trimmed(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::vector<std::pair<std::string_view, std::string_view>> CandidateEntries(std::string_view text) {
  std::vector<std::pair<std::string_view, std::string_view>> entries;
  std::string_view section;
  while (!text.empty()) {
    const std::size_t stop = text.find_first_of("\r\n");
    const std::string_view line = Trimmed(text.substr(0, stop));
    std::size_t next = stop == std::string_view::npos ? text.size() : stop + 1;
    if (stop != std::string_view::npos && text[stop] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text.remove_prefix(next);
    if (line.starts_with('[') || line.starts_with("\xEF\xBB\xBF[")) {
      const std::string_view inside = line.substr(line.find('[') + 1);
      section = inside.substr(0, inside.find(']'));
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      entries.emplace_back(section, line.substr(0, equals));
    }
  }
  return entries;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void Fail(const char* what) {
  std::fprintf(stderr, "private_profile_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool fixed_names = (data[0] & 0x80) != 0;
  const std::size_t lengths[3] = {data[0] & 15u, data[1] & 15u, data[2] & 15u};
  input.remove_prefix(3);
  auto take = [&input](std::size_t n) {
    const std::string_view piece = input.substr(0, n);
    input.remove_prefix(piece.size());
    return piece;
  };
  std::string_view value = take(lengths[0]);
  std::string_view section = fixed_names ? "Trotix" : take(lengths[1]);
  std::string_view key = fixed_names ? "Top" : take(lengths[2]);
  const std::string_view text = input;

  // Blanks and quotes at the ends of a value do not read back; leave them
  // off so that the value read must equal the value written.
  while (!value.empty() && std::string_view(" \t\"'").find(value.front()) != std::string_view::npos) {
    value.remove_prefix(1);
  }
  while (!value.empty() && std::string_view(" \t\"'").find(value.back()) != std::string_view::npos) {
    value.remove_suffix(1);
  }

  const trotix::DecodedProfile decoded = trotix::DecodeProfileBytes(text);
  // The game writes ASCII names and numbers; other bytes cannot all be written in UTF-16.
  if (decoded.writable && IsAscii(section) && IsAscii(key) && IsAscii(value)) {
    if (trotix::EncodeProfileText(decoded.text, decoded.encoding) != text) Fail("a writable file does not encode back to its bytes");
    const std::string set = trotix::SetProfileString(decoded.text, section, key, value);
    const trotix::DecodedProfile again = trotix::DecodeProfileBytes(trotix::EncodeProfileText(set, decoded.encoding));
    if (again.encoding != decoded.encoding || again.text != set) Fail("a save in the file's own encoding does not read back");
  }

  const std::string after = trotix::SetProfileString(text, section, key, value);
  if (!trotix::CanSetProfileString(section, key, value)) {
    if (after != text) Fail("a refused write changed the text");
    return 0;
  }

  const std::size_t room = after.size() + 1;
  if (trotix::GetProfileString(after, section, key, "\x01", room) != value) {
    Fail("the value does not read back as written");
  }
  if (trotix::SetProfileString(after, section, key, value) != after) {
    Fail("writing the same value again changed the text");
  }

  // The old text and the new one differ in one stretch; the old side of it
  // lies within one line's content, so every line break survives in place.
  std::size_t prefix = 0;
  while (prefix < text.size() && prefix < after.size() && text[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < text.size() - prefix && suffix < after.size() - prefix &&
         text[text.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  if (text.substr(prefix, text.size() - prefix - suffix).find_first_of("\r\n") != std::string_view::npos) {
    Fail("a line break of the old text was removed");
  }

  for (const auto& [other_section, other_key] : CandidateEntries(text)) {
    if (SameName(other_section, section) && SameName(other_key, key)) continue;
    if (trotix::GetProfileString(text, other_section, other_key, "\x01", room) !=
        trotix::GetProfileString(after, other_section, other_key, "\x01", room)) {
      Fail("another entry reads differently after the write");
    }
  }
  return 0;
}
