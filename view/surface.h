// A drawing surface of the race view: rows of 32-bit pixels that every
// front end presents as they are, plus the text state a picture keeps
// between prints. The view draws into surfaces and nothing else, so it needs
// no toolkit.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace trotix {

// A pixel's four bytes in memory are red, green, blue and 0xff: the byte
// order of a canvas's image data and of Qt's RGBX8888 images, so the desktop
// and the browser show the very same bytes.
using Pixel = std::uint32_t;
static_assert(std::endian::native == std::endian::little, "pixels are laid out for a little-endian machine");

constexpr Pixel Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return 0xff000000u | static_cast<Pixel>(blue) << 16 | static_cast<Pixel>(green) << 8 | red;
}
constexpr std::uint8_t RedOf(Pixel p) { return static_cast<std::uint8_t>(p); }
constexpr std::uint8_t GreenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t BlueOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }

inline constexpr Pixel kYellow = Rgb(255, 255, 0);  // a picture's text colour at rest

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = Rgb(0, 0, 0));

  int width() const { return width_; }
  int height() const { return height_; }
  // Pixels from the start of one row to the start of the next.
  int stride() const { return width_; }
  Pixel* data() { return pixels_.data(); }
  const Pixel* data() const { return pixels_.data(); }
  Pixel* Row(int y) { return data() + static_cast<std::ptrdiff_t>(y) * stride(); }
  const Pixel* Row(int y) const { return data() + static_cast<std::ptrdiff_t>(y) * stride(); }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);
  // Fills the pixels from (left, top) to (right, bottom), both corners
  // included, clipped to the surface; places may lie anywhere.
  void FillBetween(int left, int top, int right, int bottom, Pixel p);

  // The same size and the same pixels; the text state does not count.
  bool SamePixels(const Surface& other) const;

  // What the picture remembers between prints: text colour and weight.
  Pixel fore_color = kYellow;
  bool font_bold = false;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace trotix
