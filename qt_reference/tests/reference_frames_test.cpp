// The race view draws the same pixels as before it left Qt behind: frames of
// one scripted race against pictures Qt's drawing made of the same race.
// Each frame of frames/ was saved by the last Qt-drawn build.
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "scripted_race.h"

namespace trotix {
namespace {

// The picture as Qt holds it, in the surface's own byte order.
QImage Reference(std::string_view name) {
  const QString path = QString::fromUtf8(TROTIX_FRAMES_DIR "/") + QString::fromUtf8(name.data(), name.size()) + ".png";
  return QImage(path).convertToFormat(QImage::Format_RGBX8888);
}

TEST(ReferenceFrames, EveryFrameOfTheScriptedRaceIsByteForByteAsQtDrewIt) {
  std::set<std::string> seen;
  testing::RunScriptedRace([&](std::string_view name, const Surface& picture, const RaceState&, int) {
    seen.insert(std::string(name));
    const QImage expected = Reference(name);
    ASSERT_EQ(expected.width(), picture.width()) << name;
    ASSERT_EQ(expected.height(), picture.height()) << name;
    for (int y = 0; y < picture.height(); ++y) {
      const Pixel* row = picture.Row(y);
      for (int x = 0; x < picture.width(); ++x) {
        Pixel want;
        std::memcpy(&want, expected.constScanLine(y) + 4 * x, sizeof want);
        ASSERT_EQ(row[x], want) << name << " differs first at " << x << "," << y;
      }
    }
  });
  EXPECT_EQ(seen.size(), std::size(testing::kScriptedFrames));
}

}  // namespace
}  // namespace trotix
