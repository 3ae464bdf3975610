#include "picture_text.h"

#include <QFontMetrics>
#include <QRect>

#include <algorithm>

#include "twips.h"

namespace trotix {

namespace {

QFont MakePictureFont(bool bold) {
  QFont font(QString::fromLatin1(kPictureFontFamily));
  font.setPixelSize(12);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// The pixels spanned by two corners in twips, both included.
QRect PixelBox(double x1, double y1, double x2, double y2) {
  return QRect(QPoint(TwipsToPixels(std::min(x1, x2)), TwipsToPixels(std::min(y1, y2))),
               QPoint(TwipsToPixels(std::max(x1, x2)), TwipsToPixels(std::max(y1, y2))));
}

}  // namespace

const QFont& PictureFont(bool bold) {
  // Made once: the overlays print several texts in every frame.
  static const QFont regular = MakePictureFont(false);
  static const QFont heavy = MakePictureFont(true);
  return bold ? heavy : regular;
}

int FontAscent(bool bold) {
  static const int regular = QFontMetrics(PictureFont(false)).ascent();
  static const int heavy = QFontMetrics(PictureFont(true)).ascent();
  return bold ? heavy : regular;
}

void PrintText(QPainter& painter, const PrintState& state, double x_twips, double y_twips,
               const std::string& utf8_text) {
  const QFont& font = PictureFont(state.font_bold);
  painter.setFont(font);
  painter.setPen(QColor(state.fore_color));
  // Drawn at its baseline, one ascent below the top of the character cell:
  // the plain single-line path, much cheaper than laying text out in a box.
  painter.drawText(QPoint(TwipsToPixels(x_twips), TwipsToPixels(y_twips) + FontAscent(state.font_bold)),
                   QString::fromStdString(utf8_text));
}

void FillBox(QPainter& painter, double x1, double y1, double x2, double y2, QRgb color) {
  painter.fillRect(PixelBox(x1, y1, x2, y2), QColor(color));
}

void DrawLine(QPainter& painter, double x1, double y1, double x2, double y2, QRgb color) {
  const QPoint from(TwipsToPixels(x1), TwipsToPixels(y1));
  const QPoint to(TwipsToPixels(x2), TwipsToPixels(y2));
  if (from.x() == to.x() || from.y() == to.y()) {
    painter.fillRect(PixelBox(x1, y1, x2, y2), QColor(color));  // straight: both ends included
    return;
  }
  painter.setPen(QPen(QColor(color), 0));
  painter.drawLine(from, to);
}

}  // namespace trotix
