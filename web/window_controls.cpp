#include "window_controls.h"

#include "blit.h"
#include "picture_font.h"
#include "picture_text.h"
#include "run_pictogram.h"
#include "twips.h"

namespace trotix::web {

namespace {

// The desktop's light window colours.
constexpr Pixel kFace = Rgb(240, 240, 240);
constexpr Pixel kBase = Rgb(255, 255, 255);
constexpr Pixel kLight = Rgb(255, 255, 255);
constexpr Pixel kShadow = Rgb(160, 160, 160);
constexpr Pixel kFrame = Rgb(105, 105, 105);
constexpr Pixel kText = Rgb(0, 0, 0);

void Fill(Surface& surface, PixelBox box, Pixel colour) {
  surface.FillBetween(box.left, box.top, box.left + box.width - 1, box.top + box.height - 1, colour);
}

// A one-pixel frame just inside the box: `light` above and left, `dark`
// below and right, as a raised control shows it.
void Bevel(Surface& surface, PixelBox box, Pixel light, Pixel dark) {
  Fill(surface, {box.left, box.top, box.width, 1}, light);
  Fill(surface, {box.left, box.top, 1, box.height}, light);
  Fill(surface, {box.left, box.top + box.height - 1, box.width, 1}, dark);
  Fill(surface, {box.left + box.width - 1, box.top, 1, box.height}, dark);
}

// A disabled control's ink: the pixel's grey, halfway towards the face.
Pixel Greyed(Pixel p) {
  const int grey = (RedOf(p) * 11 + GreenOf(p) * 16 + BlueOf(p) * 5) / 32;
  const auto half = static_cast<std::uint8_t>((grey + RedOf(kFace)) / 2);
  return Rgb(half, half, half);
}

}  // namespace

PixelBox PixelsOf(const Placement& twips) {
  return {TwipsToPixels(twips.left), TwipsToPixels(twips.top), TwipsToPixels(twips.width),
          TwipsToPixels(twips.height)};
}

bool Contains(PixelBox box, int x, int y) {
  return x >= box.left && x < box.left + box.width && y >= box.top && y < box.top + box.height;
}

Surface NewWindow() { return Surface(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight), kFace); }

void DrawDistanceBar(Surface& window, const DistanceBarState& bar) {
  const PixelBox frame = PixelsOf(kKpbDist);
  Surface inside(frame.width - 2, frame.height - 2, kBase);
  const int filled = DistanceFill(inside.width(), bar.value, bar.maximum);
  const Pixel colour = Rgb(static_cast<std::uint8_t>(bar.bgr), static_cast<std::uint8_t>(bar.bgr >> 8),
                           static_cast<std::uint8_t>(bar.bgr >> 16));
  Fill(inside, {0, 0, filled, inside.height()}, colour);

  // The caption twice at the same place: dark over the whole bar, then white
  // on a copy of the filled part only, which is laid over it.
  const std::string caption = DistanceCaption(bar.value, bar.maximum);
  const double x = (inside.width() - TextWidth(caption, false)) / 2 * kTwipsPerPixel;
  const double y = (inside.height() - kPictureFontPixels) / 2 * kTwipsPerPixel;
  inside.fore_color = kText;
  PrintText(inside, x, y, caption);
  if (filled > 0) {
    Surface over(filled, inside.height(), colour);
    over.fore_color = kBase;
    PrintText(over, x, y, caption);
    BitBlt(inside, 0, 0, over.width(), over.height(), over, RasterOp::kSrcCopy);
  }
  Bevel(window, frame, kFrame, kFrame);
  BitBlt(window, frame.left + 1, frame.top + 1, inside.width(), inside.height(), inside, RasterOp::kSrcCopy);
}

void DrawRunButton(Surface& window, bool enabled) {
  const PixelBox button = PixelsOf(kCmdRun);
  Fill(window, button, kFace);
  Bevel(window, button, kLight, kShadow);
  Bevel(window, {button.left + 1, button.top + 1, button.width - 2, button.height - 2}, kFace, kShadow);
  const Surface& pictogram = RunPictogram();
  const int left = button.left + (button.width - pictogram.width()) / 2;
  const int top = button.top + (button.height - pictogram.height()) / 2;
  for (int y = 0; y < pictogram.height(); ++y) {
    for (int x = 0; x < pictogram.width(); ++x) {
      const Pixel p = pictogram.At(x, y);
      if (p != kPictogramGrey) window.Set(left + x, top + y, enabled ? p : Greyed(p));
    }
  }
}

}  // namespace trotix::web
