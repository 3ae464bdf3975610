#include "private_profile.h"

#include <optional>

namespace trotix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";      // what new lines end with
constexpr std::string_view kLineBreaks = "\r\n";   // the characters that end a line

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimFront(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimFront(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// One line of the file as offsets: its content is [begin, content_end), its
// line ending [content_end, end), empty for a last line without one.
struct Line {
  std::size_t begin = 0;
  std::size_t content_end = 0;
  std::size_t end = 0;
};

Line LineAt(std::string_view text, std::size_t begin) {
  const std::size_t stop = text.find_first_of(kLineBreaks, begin);
  if (stop == std::string_view::npos) return {begin, text.size(), text.size()};
  std::size_t end = stop + 1;
  if (text[stop] == '\r' && end < text.size() && text[end] == '\n') ++end;
  return {begin, stop, end};
}

enum class LineKind { kOther, kSection, kEntry };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // the section's name or the entry's key, trimmed
  std::string_view value;  // the entry's value as written, untrimmed
};

ParsedLine ParseLine(std::string_view content) {
  const std::string_view body = TrimFront(content);
  if (body.empty() || body.front() == ';') return {};
  if (body.front() == '[') {
    const std::string_view inside = body.substr(1);
    return {LineKind::kSection, Trim(inside.substr(0, inside.find(']'))), {}};
  }
  const std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) return {};
  return {LineKind::kEntry, Trim(body.substr(0, equals)), body.substr(equals + 1)};
}

// What a search for one key finds in a file.
struct Lookup {
  bool section_found = false;
  Line last_filled;          // the section's last non-blank line, its header at least
  std::optional<Line> key;   // the key's entry in that section
};

// Searches the first section named `section` for the first entry of `key`.
// Both names must already be trimmed.
Lookup Find(std::string_view text, std::string_view section, std::string_view key) {
  Lookup found;
  std::size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  bool inside = false;
  while (pos < text.size()) {
    const Line line = LineAt(text, pos);
    pos = line.end;
    const std::string_view content = text.substr(line.begin, line.content_end - line.begin);
    const ParsedLine parsed = ParseLine(content);
    if (parsed.kind == LineKind::kSection) {
      if (inside) break;  // the end of the first matching section
      if (SameName(parsed.name, section)) {
        inside = true;
        found.section_found = true;
        found.last_filled = line;
      }
      continue;
    }
    if (!inside) continue;
    if (!Trim(content).empty()) found.last_filled = line;
    if (!found.key && parsed.kind == LineKind::kEntry && SameName(parsed.name, key)) {
      found.key = line;
    }
  }
  return found;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool IsWritableName(std::string_view name) {
  return !name.empty() && name.find_first_of("=[]\r\n") == std::string_view::npos;
}

}  // namespace

std::string GetProfileString(std::string_view file_text, std::string_view section,
                             std::string_view key, std::string_view default_value,
                             std::size_t buffer_size) {
  section = Trim(section);
  key = Trim(key);
  std::string_view result = default_value;
  if (!section.empty() && !key.empty()) {
    const Lookup found = Find(file_text, section, key);
    if (found.key) {
      const Line& line = *found.key;
      const auto content = file_text.substr(line.begin, line.content_end - line.begin);
      result = Unquote(Trim(ParseLine(content).value));
    }
  }
  const std::size_t room = buffer_size == 0 ? 0 : buffer_size - 1;
  return std::string(result.substr(0, room));
}

bool CanSetProfileString(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  return IsWritableName(section) && IsWritableName(key) && key.front() != ';' &&
         value.find_first_of(kLineBreaks) == std::string_view::npos;
}

std::string SetProfileString(std::string_view file_text, std::string_view section,
                             std::string_view key, std::string_view value) {
  if (!CanSetProfileString(section, key, value)) return std::string(file_text);
  section = Trim(section);
  key = Trim(key);

  std::string entry;
  entry.reserve(key.size() + 1 + value.size());
  entry.append(key).append("=").append(value);

  const Lookup found = Find(file_text, section, key);
  std::string result;
  result.reserve(file_text.size() + section.size() + entry.size() + 8);

  if (found.key) {
    // Replace the line's content and keep its line ending.
    result.append(file_text.substr(0, found.key->begin));
    result.append(entry);
    result.append(file_text.substr(found.key->content_end));
  } else if (found.section_found) {
    // After the section's last non-blank line, so blank lines that part it
    // from the next section stay where they are.
    const Line& after = found.last_filled;
    result.append(file_text.substr(0, after.end));
    if (after.end == after.content_end) result.append(kNewLine);  // last line of the file
    result.append(entry).append(kNewLine);
    result.append(file_text.substr(after.end));
  } else {
    result.append(file_text);
    const std::string_view body =
        file_text.starts_with(kByteOrderMark) ? file_text.substr(kByteOrderMark.size()) : file_text;
    if (!body.empty() && !IsLineBreak(body.back())) result.append(kNewLine);
    result.append("[").append(section).append("]").append(kNewLine);
    result.append(entry).append(kNewLine);
  }
  return result;
}

}  // namespace trotix
