// The 26 bitmaps the race view is drawn from, addressed by numeric id (the
// ids are named in sprite_ids.h): three gallop frames of the horse and their
// silhouettes, a rider in six silks in two positions, the rider's
// silhouettes, the distance pole, and four backdrops. Each is decoded once,
// as 32-bit RGB, and kept.
#pragma once

#include <QImage>

#include <array>
#include <map>

#include "sprite_ids.h"

namespace trotix {

class SpriteCatalogue {
 public:
  // Every id there is (sprite_ids.h names each by its layer).
  static constexpr const std::array<int, kSpriteCount>& kIds = kAllSpriteIds;

  // Loads every bitmap from the program's resources.
  SpriteCatalogue();

  // The bitmap with `id`; every id in kIds exists.
  const QImage& Bitmap(int id) const;

 private:
  std::map<int, QImage> bitmaps_;
};

// The bitmap at `resource` as 32-bit RGB. One that is missing or does not
// decode ends the program with one line on standard error, in every build.
QImage LoadBitmapOrExit(const QString& resource);

}  // namespace trotix
