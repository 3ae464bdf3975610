#include "distance_bar.h"

#include <QPainter>

#include <algorithm>

#include "picture_font.h"

namespace trotix {

// The caption in the race picture's font: IPAPGothic at 12 pixels, unsmoothed.
DistanceBar::DistanceBar(QWidget* parent) : QWidget(parent) {
  QFont caption(QString::fromLatin1(kPictureFontFamily));
  caption.setPixelSize(kPictureFontPixels);
  caption.setStyleStrategy(QFont::NoAntialias);
  setFont(caption);
}

void DistanceBar::setMaximum(int maximum) {
  maximum_ = std::max(maximum, 1);
  update();
}

void DistanceBar::setValue(int value) {
  if (value == value_) return;
  value_ = value;
  update();
}

void DistanceBar::setFwcolor(std::uint32_t bgr) {
  if (bgr == fwcolor_) return;
  fwcolor_ = bgr;
  update();
}

QString DistanceBar::caption() const { return QString::fromStdString(DistanceCaption(value_, maximum_)); }

void DistanceBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(inside, palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(frame);

  const QColor bar(static_cast<int>(fwcolor_ & 0xff), static_cast<int>((fwcolor_ >> 8) & 0xff),
                   static_cast<int>((fwcolor_ >> 16) & 0xff));
  const QRect filled(inside.left(), inside.top(), DistanceFill(inside.width(), value_, maximum_), inside.height());
  painter.fillRect(filled, bar);

  // The caption reads dark over the empty part and white over the bar.
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(inside, Qt::AlignCenter, caption());
  painter.setClipRect(filled);
  painter.setPen(Qt::white);
  painter.drawText(inside, Qt::AlignCenter, caption());
}

}  // namespace trotix
