// Text on an image the way Qt draws it in the race picture's font: the
// reference the compiled-in glyphs are made from and checked against.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

namespace trotix {

const QFont& QtPictureFont(bool bold);

// Prints `text` in `color` with the top-left of its first character cell at
// pixel (x, y), without a background.
void QtPrintText(QImage& image, int x, int y, const QString& text, QRgb color, bool bold);

}  // namespace trotix
