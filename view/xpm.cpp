#include "xpm.h"

#include <charconv>
#include <map>
#include <string_view>

namespace trotix {

namespace {

bool ReadInt(std::string_view& text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || value < 0) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

std::optional<Pixel> ReadColour(std::string_view definition) {
  // "... c #RRGGBB": the colour key of the line, with its six hex digits.
  const auto key = definition.find(" c #");
  if (key == std::string_view::npos || definition.size() < key + 10) return std::nullopt;
  unsigned value = 0;
  const char* digits = definition.data() + key + 4;
  const auto [end, error] = std::from_chars(digits, digits + 6, value, 16);
  if (error != std::errc() || end != digits + 6) return std::nullopt;
  return Rgb(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value));
}

}  // namespace

std::optional<Surface> DecodeXpm(std::span<const char* const> lines) {
  if (lines.empty()) return std::nullopt;
  std::string_view header = lines[0];
  int width = 0, height = 0, colours = 0, chars = 0;
  if (!ReadInt(header, width) || !ReadInt(header, height) || !ReadInt(header, colours) || !ReadInt(header, chars) ||
      chars < 1 || width > 4096 || height > 4096 || lines.size() != 1 + static_cast<std::size_t>(colours + height)) {
    return std::nullopt;
  }
  const auto key_length = static_cast<std::size_t>(chars);
  std::map<std::string_view, Pixel> palette;
  for (int c = 0; c < colours; ++c) {
    const std::string_view line = lines[1 + static_cast<std::size_t>(c)];
    const std::optional<Pixel> colour = line.size() > key_length ? ReadColour(line.substr(key_length)) : std::nullopt;
    if (!colour) return std::nullopt;
    palette[line.substr(0, key_length)] = *colour;
  }
  Surface picture(width, height);
  for (int y = 0; y < height; ++y) {
    const std::string_view row = lines[1 + static_cast<std::size_t>(colours + y)];
    if (row.size() != static_cast<std::size_t>(width) * key_length) return std::nullopt;
    for (int x = 0; x < width; ++x) {
      const auto found = palette.find(row.substr(static_cast<std::size_t>(x) * key_length, key_length));
      if (found == palette.end()) return std::nullopt;
      picture.Set(x, y, found->second);
    }
  }
  return picture;
}

}  // namespace trotix
