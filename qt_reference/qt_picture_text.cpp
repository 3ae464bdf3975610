#include "qt_picture_text.h"

#include <QFontMetrics>
#include <QPainter>

#include "picture_font.h"

namespace trotix {

namespace {

QFont MakeFont(bool bold) {
  QFont font(QString::fromLatin1(kPictureFontFamily));
  font.setPixelSize(kPictureFontPixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

const QFont& QtPictureFont(bool bold) {
  static const QFont regular = MakeFont(false);
  static const QFont heavy = MakeFont(true);
  return bold ? heavy : regular;
}

void QtPrintText(QImage& image, int x, int y, const QString& text, QRgb color, bool bold) {
  QPainter painter(&image);
  painter.setFont(QtPictureFont(bold));
  painter.setPen(QColor(color));
  // At the baseline, one ascent below the top of the character cell.
  painter.drawText(QPoint(x, y + QFontMetrics(QtPictureFont(bold)).ascent()), text);
}

}  // namespace trotix
