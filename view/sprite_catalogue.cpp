#include "sprite_catalogue.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

#include "invariant.h"

namespace trotix {

QImage LoadBitmapOrExit(const QString& resource) {
  const QImage image(resource);
  if (image.isNull()) {
    // Drawing from an empty picture would show a black window with no word
    // of why; a damaged build is better told at once.
    std::fprintf(stderr, "Trotix: the bitmap %s could not be read from the program's resources\n",
                 qPrintable(resource));
    std::exit(EXIT_FAILURE);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

SpriteCatalogue::SpriteCatalogue() {
  for (int id : kIds) {
    bitmaps_.emplace(id, LoadBitmapOrExit(QStringLiteral(":/bitmaps/%1.xpm").arg(id)));
  }
}

const QImage& SpriteCatalogue::Bitmap(int id) const {
  const auto found = bitmaps_.find(id);
  TROTIX_CHECK(found != bitmaps_.end(), "a sprite id outside the catalogue was drawn");
  return found->second;
}

}  // namespace trotix
