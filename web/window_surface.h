// The whole window as one plain picture, 187 x 150 pixels, that the page
// shows in its canvas. Each pixel is four bytes in memory, red, green, blue
// and 255, the order of a canvas's ImageData, so the page puts the bytes on
// the canvas as they stand.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace trotix::web {

inline constexpr int kWindowWidth = 187;
inline constexpr int kWindowHeight = 150;

struct Rgb {
  std::uint8_t red, green, blue;
};

// A colour number as the controls take one, 0x00BBGGRR.
constexpr Rgb FromBgr(std::uint32_t bgr) {
  return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
          static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

struct PixelBox {
  int left, top, width, height;
};

class WindowSurface {
 public:
  static constexpr int kStride = kWindowWidth * 4;  // bytes from one row to the next

  // A box, clipped to the window.
  void Fill(PixelBox box, Rgb colour);
  // A one-pixel frame just inside the box: light above and left, dark below
  // and right, as a raised or a sunken control shows it.
  void Bevel(PixelBox box, Rgb light, Rgb dark);

  const std::uint8_t* bytes() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::array<std::uint8_t, static_cast<std::size_t>(kStride) * kWindowHeight> bytes_{};
};

}  // namespace trotix::web
