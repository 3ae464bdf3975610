// Makes the menu icons from the 32 x 32 window icon: every size by nearest
// neighbour, so each icon pixel is one pixel of the original and the pixel
// art stays sharp.
//
//   make_icons ICON.xpm OUTPUT_DIR NAME SIZE...
//
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE, the layout of
// the hicolor icon theme.
#include <QDir>
#include <QImage>

#include <cstdio>
#include <cstdlib>

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
  for (int i = 4; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) {
      std::fprintf(stderr, "make_icons: %s is no size\n", argv[i]);
      return 2;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    const QString path = QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[3]));
    if (!QDir().mkpath(folder) || !ScaleNearest(source, size).save(path, "PNG")) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
