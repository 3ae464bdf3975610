#include "picture_box.h"

#include <QPainter>

namespace trotix {

namespace {

// The surface's bytes are red, green, blue and 0xff: Qt's RGBX8888.
QImage Over(Surface& surface) {
  return QImage(reinterpret_cast<uchar*>(surface.data()), surface.width(), surface.height(),
                static_cast<qsizetype>(surface.stride()) * static_cast<qsizetype>(sizeof(Pixel)),
                QImage::Format_RGBX8888);
}

}  // namespace

PictureBox::PictureBox(Surface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface), picture_(Over(surface_)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::commitPicture() {
  // Drawing keeps the picture's size, so the image stays over the same memory.
  if (picture_.constBits() != reinterpret_cast<const uchar*>(surface_.data()) ||
      picture_.width() != surface_.width() || picture_.height() != surface_.height()) {
    picture_ = Over(surface_);
  }
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // On a high-density screen each logical pixel becomes a block of device
  // pixels: nearest neighbour keeps the pixel art crisp.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), picture_);
}

}  // namespace trotix
