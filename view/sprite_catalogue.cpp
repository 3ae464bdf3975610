#include "sprite_catalogue.h"

#include <QString>

#include <cassert>

namespace trotix {

SpriteCatalogue::SpriteCatalogue() {
  for (int id : kIds) {
    QImage image(QStringLiteral(":/bitmaps/%1.xpm").arg(id));
    assert(!image.isNull() && "a bitmap is missing from the resources");
    bitmaps_.emplace(id, image.convertToFormat(QImage::Format_RGB32));
  }
}

const QImage& SpriteCatalogue::Bitmap(int id) const {
  const auto found = bitmaps_.find(id);
  assert(found != bitmaps_.end());
  return found->second;
}

}  // namespace trotix
