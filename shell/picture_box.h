// A drawing surface: an image that drawing works on, and the picture the
// widget shows, which the image becomes when it is committed. The visible
// race view is one; the hidden work surfaces are others.
#pragma once

#include <QImage>
#include <QWidget>

#include "picture_text.h"

namespace trotix {

class PictureBox final : public QWidget {
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  QImage& image() { return image_; }
  PrintState& print() { return print_; }
  // What the widget shows on every repaint.
  const QImage& picture() const { return picture_; }
  void commitPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QImage picture_;
  PrintState print_;
};

}  // namespace trotix
