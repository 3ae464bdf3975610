#include "picture_box.h"

#include <QPainter>

namespace trotix {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::commitPicture() {
  picture_ = image_;  // shares the pixels until the next drawing writes
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    return;
  }
  // On a high-density screen each logical pixel becomes a block of device
  // pixels: nearest neighbour keeps the pixel art crisp.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), picture_);
}

}  // namespace trotix
