// The 26 bitmaps the race view is drawn from, addressed by numeric id:
// three gallop frames of the horse and their silhouettes, a rider in six
// silks in two positions, the rider's silhouettes, the distance pole, and
// four backdrops. Each is decoded once, as 32-bit RGB, and kept.
#pragma once

#include <QImage>

#include <array>
#include <map>

namespace trotix {

class SpriteCatalogue {
 public:
  static constexpr std::array<int, 26> kIds = {
      101, 102, 103, 201, 202, 203,                     // horse pictures, silhouettes
      301, 302, 303, 304, 305, 306,                     // riders, upper position
      351, 352, 353, 354, 355, 356,                     // riders, one pixel lower
      401, 402,                                         // rider silhouettes
      601, 602,                                         // distance pole
      801, 802, 851, 852,                               // running, running, start, finish
  };

  // Backdrops by scene.
  static constexpr int kRunningBackdropA = 801;  // RailToggle True
  static constexpr int kRunningBackdropB = 802;  // RailToggle False: posts half a spacing on
  static constexpr int kStartBackdrop = 851;
  static constexpr int kFinishBackdrop = 852;
  static constexpr int kPolePicture = 601;
  static constexpr int kPoleSilhouette = 602;

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
