// Makes the menu icons from the 32 x 32 window icon: every size by nearest
// neighbour, so each icon pixel is one pixel of the original and the pixel
// art stays sharp.
//
//   make_icons ICON.xpm OUTPUT_DIR NAME SIZE...
//
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE, the layout of
// the hicolor icon theme. A SIZE written maskable:SIZE makes NAME-maskable.png
// instead, for a system that cuts icons to its own shape (Android's circles
// and squircles): the icon whole inside the circle every such shape keeps, on
// an opaque plate of the page's background colour.
#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Each target pixel takes the source pixel under its centre.
QImage ScaleNearest(const QImage& source, int size) {
  QImage scaled(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    const int sy = (2 * y + 1) * source.height() / (2 * size);
    for (int x = 0; x < size; ++x) {
      const int sx = (2 * x + 1) * source.width() / (2 * size);
      scaled.setPixel(x, y, source.pixel(sx, sy));
    }
  }
  return scaled;
}

// A maskable icon's shapes keep at least the central circle of 80 % of
// its width; the icon is the largest whole multiple of its pixels whose
// square fits inside that circle, centred on the plate.
constexpr QRgb kPlate = qRgb(0x40, 0x40, 0x40);  // the page's background and theme colour
QImage Maskable(const QImage& source, int size) {
  const double safe_side = 0.8 * size / std::sqrt(2.0);
  const int scale = std::max(1, static_cast<int>(safe_side / std::max(source.width(), source.height())));
  const QImage icon = ScaleNearest(source, source.width() * scale);
  QImage plate(size, size, QImage::Format_ARGB32);
  plate.fill(kPlate);
  QPainter painter(&plate);
  painter.drawImage((size - icon.width()) / 2, (size - icon.height()) / 2, icon);
  return plate;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s ICON.xpm OUTPUT_DIR NAME SIZE...\n", argv[0]);
    return 2;
  }
  const QImage source = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
  if (source.isNull()) {
    std::fprintf(stderr, "make_icons: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string maskable = "maskable:";
  for (int i = 4; i < argc; ++i) {
    const bool mask = std::string(argv[i]).starts_with(maskable);
    const int size = std::atoi(argv[i] + (mask ? maskable.size() : 0));
    if (size <= 0) {
      std::fprintf(stderr, "make_icons: %s is no size\n", argv[i]);
      return 2;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    const QString path = QStringLiteral("%1/%2%3.png").arg(folder, QString::fromLocal8Bit(argv[3]), mask ? "-maskable" : "");
    if (!QDir().mkpath(folder) || !(mask ? Maskable(source, size) : ScaleNearest(source, size)).save(path, "PNG")) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
