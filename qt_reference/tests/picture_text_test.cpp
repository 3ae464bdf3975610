// The picture's text printed from the compiled-in glyphs is, pixel for
// pixel, what Qt draws with the installed font: every kind of text the race
// picture and the result board show, at the places they show it.
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palette.h"
#include "picture_text.h"
#include "qt_picture_text.h"
#include "texts.h"
#include "track.h"
#include "twips.h"

namespace trotix {
namespace {

struct Sample {
  double x, y;  // twips
  bool bold;
  Pixel color;
  std::string text;
};

std::vector<Sample> EveryKindOfText() {
  std::vector<Sample> samples;
  // The running clock at every tick a race can have, and the frozen one.
  for (int tick = 0; tick <= kTickLimit; ++tick) {
    const std::string clock = ClockText(static_cast<float>(kTickSeconds) * static_cast<float>(tick));
    samples.push_back({75, 75, false, kYellow, clock});
    samples.push_back({375, 75, false, kLightRed, clock});
  }
  // The odds line of every horse, odds x1.0 to x9999.9: every tenth below
  // 100, a spread above it, where only the number of digits moves the pen.
  for (int index = 0; index < 6; ++index) {
    for (int tenths = 10; tenths <= 99999; tenths += tenths < 1000 ? 1 : 97) {
      samples.push_back({75, 280, false, kYellow, OddsLineText(index, tenths / 10.0)});
    }
    samples.push_back({375, 280, false, kLightRed, OddsLineText(index, 9999.9)});
  }
  // The style markers, and the style glyphs in both weights.
  for (double x : {900.0, 1050.0, 1200.0, 1350.0}) {
    samples.push_back({x, 450, true, kRed, ">"});
    samples.push_back({x, 450, true, kYellow, ">"});
  }
  for (bool bold : {false, true}) samples.push_back({510, 225, bold, kOrange, "逃先差追"});
  // Every line of the board: places, the winner's times, every margin, the
  // odds, and the quinella line of every pair.
  for (int place = 1; place <= 6; ++place) {
    for (int index = 0; index < 6; ++index) samples.push_back({510, 225.0 * place, true, kOrange, PlaceText(place, index)});
    samples.push_back({1800, 225.0 * place, true, kOrange, OddsText(12.3 * place)});
  }
  for (int tenths = 1000; tenths <= 1600; tenths += 3) {
    samples.push_back({1200, 225, true, kOrange, BoardTimeText(static_cast<float>(tenths) / 10.0f)});
  }
  for (std::string_view word : {kMarginNose, kMarginHead, kMarginNeck, kMarginHalf, kMarginThreeQuarters}) {
    samples.push_back({1200, 450, true, kOrange, std::string(word)});
  }
  for (int lengths = 1; lengths <= 160; ++lengths) samples.push_back({1200, 675, true, kOrange, std::to_string(lengths)});
  for (int a = 1; a <= 6; ++a) {
    for (int b = a + 1; b <= 6; ++b) {
      const QuinellaEntry pair{a * 3.7 + b * 11.1, std::to_string(a) + "-" + std::to_string(b)};
      samples.push_back({510, 1590, false, kLightGrey, QuinellaLineText(pair)});
    }
  }
  return samples;
}

TEST(PictureText, GlyphsPrintWhatQtDrawsForEveryKindOfText) {
  Surface glyphs(180, 120);
  Surface qt(180, 120);
  QImage over_qt(reinterpret_cast<uchar*>(qt.data()), qt.width(), qt.height(), 4 * qt.stride(),
                 QImage::Format_RGBX8888);
  int differing = 0;
  for (const Sample& s : EveryKindOfText()) {
    glyphs.Fill(kBlack);
    qt.Fill(kBlack);
    glyphs.fore_color = s.color;
    glyphs.font_bold = s.bold;
    PrintText(glyphs, s.x, s.y, s.text);
    QtPrintText(over_qt, TwipsToPixels(s.x), TwipsToPixels(s.y), QString::fromStdString(s.text),
                qRgb(RedOf(s.color), GreenOf(s.color), BlueOf(s.color)), s.bold);
    if (!glyphs.SamePixels(qt) && ++differing <= 10) ADD_FAILURE() << "\"" << s.text << "\" bold " << s.bold;
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace trotix
