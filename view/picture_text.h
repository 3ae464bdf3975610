// Text and boxes on the race picture, placed in twips. Text is drawn in the
// picture's font without a background, the top-left of its first character
// cell at the cursor, in the picture's current colour and weight.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

#include <string>

namespace trotix {

inline constexpr QRgb kYellow = qRgb(255, 255, 0);

// What a picture remembers between prints: its text colour and weight.
struct PrintState {
  QRgb fore_color = kYellow;
  bool font_bold = false;
};

// The family of the race picture's font; the Debian package
// fonts-ipafont-gothic brings it.
inline constexpr const char* kPictureFontFamily = "IPAPGothic";
inline constexpr const char* kPictureFontPackage = "fonts-ipafont-gothic";

// The race picture's font: IPAPGothic at 9 point, which is 12 pixels at
// the design resolution of 15 twips per pixel. Drawn without smoothing so
// the text sits crisply with the pixel art.
const QFont& PictureFont(bool bold);
// Pixels from the top of a character cell to the baseline.
int FontAscent(bool bold);

void PrintText(QPainter& painter, const PrintState& state, double x_twips, double y_twips,
               const std::string& utf8_text);

// A box filled in `color` between two corners, both included, whichever
// comes first; and a line between two points, both ends included.
void FillBox(QPainter& painter, double x1, double y1, double x2, double y2, QRgb color);
void DrawLine(QPainter& painter, double x1, double y1, double x2, double y2, QRgb color);

}  // namespace trotix
