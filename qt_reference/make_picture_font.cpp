// Renders every character of the race picture in its font, regular and
// bold, as Qt draws it, and writes the glyph file the view compiles in:
//
//   make_picture_font > view/bitmaps/picture_font.inc
//
// Needs the font installed (fonts-ipafont-gothic); the game itself does not.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QRect>

#include <cmath>
#include <cstdio>
#include <string>

#include "picture_font.h"
#include "qt_picture_text.h"

namespace trotix {
namespace {

// Room around the pen for ink that reaches left of it or above the cell.
constexpr int kMargin = 16;

std::string Hex(char32_t code) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(code));
  return buffer;
}

// One glyph's entry, or an empty string after a line on standard error.
std::string GlyphEntry(char32_t code, bool bold) {
  const QString text = QString::fromUcs4(&code, 1);
  const double advance = QFontMetricsF(QtPictureFont(bold)).horizontalAdvance(text);
  // Qt keeps advances in 64ths of a pixel.
  const double sixty_fourths = advance * 64.0;
  if (sixty_fourths != std::round(sixty_fourths)) {
    std::fprintf(stderr, "make_picture_font: %s advances %g pixels, not a number of 64ths\n", Hex(code).c_str(),
                 advance);
    return {};
  }
  QImage image(4 * kMargin, 3 * kMargin, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 0));
  QtPrintText(image, kMargin, kMargin, text, qRgb(255, 255, 255), bold);
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
    }
  }
  if (ink.height() > kGlyphMaxRows || ink.width() > 32) {
    std::fprintf(stderr, "make_picture_font: %s is too large for a glyph\n", Hex(code).c_str());
    return {};
  }
  const std::string head = "{" + std::string(bold ? "true" : "false") + ", " + Hex(code) + ", " +
                           std::to_string(static_cast<int>(sixty_fourths)) + ", ";
  if (ink.isEmpty()) return head + "0, 0, 0, 0, \"\"},  // blank\n";
  std::string entry = head + std::to_string(ink.left() - kMargin) + ", " + std::to_string(ink.top() - kMargin) +
                      ", " + std::to_string(ink.width()) + ", " + std::to_string(ink.height()) + ",";
  entry += "  // " + text.toStdString() + "\n";
  for (int y = ink.top(); y <= ink.bottom(); ++y) {
    entry += "  \"";
    for (int x = ink.left(); x <= ink.right(); ++x) entry += image.pixel(x, y) == qRgb(255, 255, 255) ? '#' : '.';
    entry += y == ink.bottom() ? "\"},\n" : "\"\n";
  }
  return entry;
}

}  // namespace
}  // namespace trotix

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace trotix;
  const QFontInfo found(QtPictureFont(false));
  if (found.family() != QString::fromLatin1(kPictureFontFamily)) {
    std::fprintf(stderr, "make_picture_font: the font %s is not installed (Debian: fonts-ipafont-gothic)\n",
                 kPictureFontFamily);
    return 1;
  }
  std::string out =
      "// The race picture's text: IPAPGothic at 12 pixels, regular and bold,\n"
      "// unsmoothed, rendered by qt_reference/make_picture_font. Not edited by\n"
      "// hand: a test renders it again from the installed font and compares.\n"
      "//\n"
      "// {bold, code point, advance in 64ths of a pixel, left, top, width,\n"
      "// height, ink rows}: the ink box stands `left` pixels right of the pen\n"
      "// and `top` below the top of the character cell; '#' is an inked pixel.\n";
  for (bool bold : {false, true}) {
    for (char32_t code : kPictureCharacters) {
      const std::string entry = GlyphEntry(code, bold);
      if (entry.empty()) return 1;
      out += entry;
    }
  }
  return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
