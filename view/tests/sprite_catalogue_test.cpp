#include "sprite_catalogue.h"

#include <gtest/gtest.h>

#include "blit.h"

#include <set>
#include <vector>

namespace trotix {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlackPixel = 0xff000000;
constexpr QRgb kBrown = 0xff804000;
constexpr QRgb kTurf = 0xff008000;

class Catalogue : public ::testing::Test {
 protected:
  static const SpriteCatalogue& Sprites() {
    static const SpriteCatalogue sprites;
    return sprites;
  }
};

QSize ExpectedSize(int id) {
  if (id >= 801) return {180, 120};
  if (id >= 601) return {26, 62};
  return {50, 30};
}

TEST_F(Catalogue, EveryIdExistsWithItsSize) {
  for (int id : SpriteCatalogue::kIds) {
    const QImage& image = Sprites().Bitmap(id);
    EXPECT_FALSE(image.isNull()) << id;
    EXPECT_EQ(image.size(), ExpectedSize(id)) << id;
    EXPECT_EQ(image.format(), QImage::Format_RGB32) << id;
  }
}

// The silhouette that goes with each picture.
const struct { int picture; int silhouette; } kPairs[] = {
    {101, 201}, {102, 202}, {103, 203}, {301, 401}, {302, 401}, {303, 401}, {304, 401}, {305, 401},
    {306, 401}, {351, 402}, {352, 402}, {353, 402}, {354, 402}, {355, 402}, {356, 402}, {601, 602},
};

TEST_F(Catalogue, SilhouettesArePureWhiteOnPureBlackAndCoverTheirPictures) {
  for (const auto& pair : kPairs) {
    const QImage& picture = Sprites().Bitmap(pair.picture);
    const QImage& silhouette = Sprites().Bitmap(pair.silhouette);
    int covered = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb s = silhouette.pixel(x, y);
        ASSERT_TRUE(s == kWhite || s == kBlackPixel) << pair.silhouette << " at " << x << "," << y;
        if (picture.pixel(x, y) != kWhite) {
          ASSERT_EQ(s, kWhite) << pair.picture << " shows outside " << pair.silhouette << " at " << x << "," << y;
          ++covered;
        }
      }
    }
    EXPECT_GT(covered, 20) << pair.picture << " is nearly empty";
  }
}

TEST_F(Catalogue, SpritesLeaveTheirSurroundingsAlone) {
  // Put each sprite on pure white and on pure black: outside its footprint
  // the surface must be untouched.
  for (const auto& pair : kPairs) {
    const QImage& silhouette = Sprites().Bitmap(pair.silhouette);
    for (QRgb ground : {kWhite, kBlackPixel}) {
      QImage surface(silhouette.size(), QImage::Format_RGB32);
      surface.fill(ground);
      BitBlt(surface, 0, 0, 50, 62, silhouette, RasterOp::kSrcPaint);
      BitBlt(surface, 0, 0, 50, 62, Sprites().Bitmap(pair.picture), RasterOp::kSrcAnd);
      for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
          if (silhouette.pixel(x, y) == kBlackPixel) {
            ASSERT_EQ(surface.pixel(x, y), ground) << pair.picture << " at " << x << "," << y;
          } else {
            ASSERT_EQ(surface.pixel(x, y), Sprites().Bitmap(pair.picture).pixel(x, y));
          }
        }
      }
    }
  }
}

TEST_F(Catalogue, LowRidersAreTheHighOnesOneRowDown) {
  const struct { int high; int low; QRgb top_row; } pairs[] = {
      {301, 351, kWhite}, {302, 352, kWhite}, {303, 353, kWhite}, {304, 354, kWhite},
      {305, 355, kWhite}, {306, 356, kWhite}, {401, 402, kBlackPixel},
  };
  for (const auto& p : pairs) {
    const QImage& high = Sprites().Bitmap(p.high);
    const QImage& low = Sprites().Bitmap(p.low);
    for (int x = 0; x < 50; ++x) {
      ASSERT_EQ(low.pixel(x, 0), p.top_row) << p.low;
      ASSERT_EQ(high.pixel(x, 29), p.top_row) << p.high << " would lose its bottom row";
      for (int y = 1; y < 30; ++y) ASSERT_EQ(low.pixel(x, y), high.pixel(x, y - 1)) << p.low << " " << x << "," << y;
    }
  }
}

TEST_F(Catalogue, SpritesKeepToTheirPlaceInTheFrame) {
  // Bounding boxes of the drawn part: {left, top, right, bottom}.
  const struct { int id; QRect box; } cases[] = {
      {201, QRect(QPoint(4, 3), QPoint(43, 28))},  {202, QRect(QPoint(4, 4), QPoint(43, 28))},
      {203, QRect(QPoint(4, 3), QPoint(43, 26))},  {401, QRect(QPoint(14, 2), QPoint(27, 14))},
      {602, QRect(QPoint(6, 8), QPoint(18, 58))},
  };
  for (const auto& c : cases) {
    const QImage& image = Sprites().Bitmap(c.id);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == kWhite) box |= QRect(x, y, 1, 1);
      }
    }
    EXPECT_EQ(box, c.box) << c.id;
  }
}

TEST_F(Catalogue, SilksTellTheSixHorsesApart) {
  // Each rider picture has its own mix of colours.
  std::vector<std::set<QRgb>> palettes;
  for (int id = 301; id <= 306; ++id) {
    std::set<QRgb> colours;
    const QImage& image = Sprites().Bitmap(id);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 50; ++x) colours.insert(image.pixel(x, y));
    }
    for (const auto& other : palettes) EXPECT_NE(colours, other) << id;
    palettes.push_back(colours);
  }
}

TEST_F(Catalogue, BackdropsShareTheTrackLayout) {
  for (int id : {801, 802, 851, 852}) {
    const QImage& b = Sprites().Bitmap(id);
    // Away from the gate and the arch: band, rail, strip, turf.
    for (int x : {20, 60, 100, 140}) {
      EXPECT_EQ(b.pixel(x, 0), kBrown) << id;
      EXPECT_EQ(b.pixel(x, 41), kBrown) << id;
      EXPECT_EQ(b.pixel(x, 42), kWhite) << id;
      EXPECT_EQ(b.pixel(x, 44), kWhite) << id;
      EXPECT_EQ(b.pixel(x, 119), kTurf) << id;
    }
  }
}

TEST_F(Catalogue, RailPostsOfTheTwoRunningBackdropsAreHalfASpacingApart) {
  const struct { int id; std::vector<int> posts; } cases[] = {
      {801, {11, 87, 159}}, {851, {11, 87, 159}}, {852, {87, 159}}, {802, {49, 125}},
  };
  for (const auto& c : cases) {
    const QImage& b = Sprites().Bitmap(c.id);
    for (int left : c.posts) {
      for (int x = left; x < left + 3; ++x) {
        EXPECT_EQ(b.pixel(x, 45), kWhite) << c.id << " post at " << x;
        EXPECT_EQ(b.pixel(x, 57), kWhite) << c.id << " post at " << x;
      }
      EXPECT_EQ(b.pixel(left, 58), kTurf) << c.id << " post runs too far at " << left;
      EXPECT_EQ(b.pixel(left - 1, 50), kTurf) << c.id;
      EXPECT_EQ(b.pixel(left + 3, 50), kTurf) << c.id;
    }
  }
  // 802's posts are not where 801's stand.
  EXPECT_EQ(Sprites().Bitmap(802).pixel(12, 50), kTurf);
  EXPECT_EQ(Sprites().Bitmap(801).pixel(50, 50), kTurf);
}

TEST_F(Catalogue, StartHasTheGateAndFinishTheArch) {
  const QImage& start = Sprites().Bitmap(851);
  const QRgb gate = qRgb(192, 192, 192);
  for (int x = 173; x <= 179; ++x) EXPECT_EQ(start.pixel(x, 26), gate) << x;
  for (int y = 26; y <= 119; ++y) {
    EXPECT_EQ(start.pixel(173, y), gate) << y;
    for (int x = 177; x <= 179; ++x) EXPECT_EQ(start.pixel(x, y), gate) << x << "," << y;
  }
  const QImage& finish = Sprites().Bitmap(852);
  for (int y = 14; y <= 57; ++y) EXPECT_EQ(finish.pixel(0, y), qRgb(128, 128, 128)) << y;
  int navy = 0;
  for (int y = 6; y <= 52; ++y) {
    for (int x = 0; x <= 13; ++x) navy += finish.pixel(x, y) == qRgb(0, 0, 128);
  }
  EXPECT_GT(navy, 40) << "the finish arch";
}

// Both hold in release builds too, where an assert would have vanished.
TEST_F(Catalogue, ABrokenBitmapOrIdEndsTheProgramWithOneLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LoadBitmapOrExit(QStringLiteral(":/bitmaps/999.xpm")), ::testing::ExitedWithCode(EXIT_FAILURE),
              "Trotix: the bitmap :/bitmaps/999.xpm could not be read");
  EXPECT_DEATH(Sprites().Bitmap(999), "Trotix: a sprite id outside the catalogue was drawn");
}

}  // namespace
}  // namespace trotix
