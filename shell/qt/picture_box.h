// The visible race picture: the main window's surface that the race view
// draws into, shown by the widget straight from the surface's own pixels,
// with no copy per frame.
#pragma once

#include <QImage>
#include <QWidget>

#include "surface.h"

namespace trotix {

class PictureBox final : public QWidget {
 public:
  explicit PictureBox(Surface& surface, QWidget* parent = nullptr);

  Surface& surface() { return surface_; }
  // What the widget shows on every repaint: an image over the surface's pixels.
  const QImage& picture() const { return picture_; }
  // The surface's current content becomes the picture shown.
  void commitPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Surface& surface_;
  QImage picture_;
};

}  // namespace trotix
