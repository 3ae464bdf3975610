#include "sprite_catalogue.h"

#include <gtest/gtest.h>

#include "blit.h"
#include "palette.h"

#include <set>
#include <vector>

namespace trotix {
namespace {

constexpr Pixel kBlackPixel = Rgb(0, 0, 0);
constexpr Pixel kBrown = Rgb(128, 64, 0);
constexpr Pixel kTurf = Rgb(0, 128, 0);

class Catalogue : public ::testing::Test {
 protected:
  static const SpriteCatalogue& Sprites() {
    static const SpriteCatalogue sprites;
    return sprites;
  }
};

std::pair<int, int> ExpectedSize(int id) {
  if (id >= 801) return {180, 120};
  if (id >= 601) return {26, 62};
  return {50, 30};
}

TEST_F(Catalogue, EveryIdExistsWithItsSize) {
  for (int id : SpriteCatalogue::kIds) {
    const Surface& image = Sprites().Bitmap(id);
    EXPECT_EQ(std::pair(image.width(), image.height()), ExpectedSize(id)) << id;
  }
}

// The silhouette that goes with each picture.
const struct { int picture; int silhouette; } kPairs[] = {
    {101, 201}, {102, 202}, {103, 203}, {301, 401}, {302, 401}, {303, 401}, {304, 401}, {305, 401},
    {306, 401}, {351, 402}, {352, 402}, {353, 402}, {354, 402}, {355, 402}, {356, 402}, {601, 602},
};

TEST_F(Catalogue, SilhouettesArePureWhiteOnPureBlackAndCoverTheirPictures) {
  for (const auto& pair : kPairs) {
    const Surface& picture = Sprites().Bitmap(pair.picture);
    const Surface& silhouette = Sprites().Bitmap(pair.silhouette);
    int covered = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const Pixel s = silhouette.At(x, y);
        ASSERT_TRUE(s == kWhite || s == kBlackPixel) << pair.silhouette << " at " << x << "," << y;
        if (picture.At(x, y) != kWhite) {
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
    const Surface& silhouette = Sprites().Bitmap(pair.silhouette);
    for (Pixel ground : {kWhite, kBlackPixel}) {
      Surface surface(silhouette.width(), silhouette.height(), ground);
      BitBlt(surface, 0, 0, 50, 62, silhouette, RasterOp::kSrcPaint);
      BitBlt(surface, 0, 0, 50, 62, Sprites().Bitmap(pair.picture), RasterOp::kSrcAnd);
      for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
          if (silhouette.At(x, y) == kBlackPixel) {
            ASSERT_EQ(surface.At(x, y), ground) << pair.picture << " at " << x << "," << y;
          } else {
            ASSERT_EQ(surface.At(x, y), Sprites().Bitmap(pair.picture).At(x, y));
          }
        }
      }
    }
  }
}

TEST_F(Catalogue, LowRidersAreTheHighOnesOneRowDown) {
  const struct { int high; int low; Pixel top_row; } pairs[] = {
      {301, 351, kWhite}, {302, 352, kWhite}, {303, 353, kWhite}, {304, 354, kWhite},
      {305, 355, kWhite}, {306, 356, kWhite}, {401, 402, kBlackPixel},
  };
  for (const auto& p : pairs) {
    const Surface& high = Sprites().Bitmap(p.high);
    const Surface& low = Sprites().Bitmap(p.low);
    for (int x = 0; x < 50; ++x) {
      ASSERT_EQ(low.At(x, 0), p.top_row) << p.low;
      ASSERT_EQ(high.At(x, 29), p.top_row) << p.high << " would lose its bottom row";
      for (int y = 1; y < 30; ++y) ASSERT_EQ(low.At(x, y), high.At(x, y - 1)) << p.low << " " << x << "," << y;
    }
  }
}

TEST_F(Catalogue, SpritesKeepToTheirPlaceInTheFrame) {
  // Bounding boxes of the drawn part: {left, top, right, bottom}.
  using Box = std::array<int, 4>;
  const struct { int id; Box box; } cases[] = {
      {201, {4, 3, 43, 28}}, {202, {4, 4, 43, 28}}, {203, {4, 3, 43, 26}}, {401, {14, 2, 27, 14}}, {602, {6, 8, 18, 58}},
  };
  for (const auto& c : cases) {
    const Surface& image = Sprites().Bitmap(c.id);
    Box box = {image.width(), image.height(), -1, -1};
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.At(x, y) != kWhite) continue;
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
      }
    }
    EXPECT_EQ(box, c.box) << c.id;
  }
}

TEST_F(Catalogue, SilksTellTheSixHorsesApart) {
  // Each rider picture has its own mix of colours.
  std::vector<std::set<Pixel>> palettes;
  for (int id = 301; id <= 306; ++id) {
    std::set<Pixel> colours;
    const Surface& image = Sprites().Bitmap(id);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 50; ++x) colours.insert(image.At(x, y));
    }
    for (const auto& other : palettes) EXPECT_NE(colours, other) << id;
    palettes.push_back(colours);
  }
}

TEST_F(Catalogue, BackdropsShareTheTrackLayout) {
  for (int id : {801, 802, 851, 852}) {
    const Surface& b = Sprites().Bitmap(id);
    // Away from the gate and the arch: band, rail, strip, turf.
    for (int x : {20, 60, 100, 140}) {
      EXPECT_EQ(b.At(x, 0), kBrown) << id;
      EXPECT_EQ(b.At(x, 41), kBrown) << id;
      EXPECT_EQ(b.At(x, 42), kWhite) << id;
      EXPECT_EQ(b.At(x, 44), kWhite) << id;
      EXPECT_EQ(b.At(x, 119), kTurf) << id;
    }
  }
}

TEST_F(Catalogue, RailPostsOfTheTwoRunningBackdropsAreHalfASpacingApart) {
  const struct { int id; std::vector<int> posts; } cases[] = {
      {801, {11, 87, 159}}, {851, {11, 87, 159}}, {852, {87, 159}}, {802, {49, 125}},
  };
  for (const auto& c : cases) {
    const Surface& b = Sprites().Bitmap(c.id);
    for (int left : c.posts) {
      for (int x = left; x < left + 3; ++x) {
        EXPECT_EQ(b.At(x, 45), kWhite) << c.id << " post at " << x;
        EXPECT_EQ(b.At(x, 57), kWhite) << c.id << " post at " << x;
      }
      EXPECT_EQ(b.At(left, 58), kTurf) << c.id << " post runs too far at " << left;
      EXPECT_EQ(b.At(left - 1, 50), kTurf) << c.id;
      EXPECT_EQ(b.At(left + 3, 50), kTurf) << c.id;
    }
  }
  // 802's posts are not where 801's stand.
  EXPECT_EQ(Sprites().Bitmap(802).At(12, 50), kTurf);
  EXPECT_EQ(Sprites().Bitmap(801).At(50, 50), kTurf);
}

TEST_F(Catalogue, StartHasTheGateAndFinishTheArch) {
  const Surface& start = Sprites().Bitmap(851);
  const Pixel gate = Rgb(192, 192, 192);
  for (int x = 173; x <= 179; ++x) EXPECT_EQ(start.At(x, 26), gate) << x;
  for (int y = 26; y <= 119; ++y) {
    EXPECT_EQ(start.At(173, y), gate) << y;
    for (int x = 177; x <= 179; ++x) EXPECT_EQ(start.At(x, y), gate) << x << "," << y;
  }
  const Surface& finish = Sprites().Bitmap(852);
  for (int y = 14; y <= 57; ++y) EXPECT_EQ(finish.At(0, y), Rgb(128, 128, 128)) << y;
  int navy = 0;
  for (int y = 6; y <= 52; ++y) {
    for (int x = 0; x <= 13; ++x) navy += finish.At(x, y) == Rgb(0, 0, 128);
  }
  EXPECT_GT(navy, 40) << "the finish arch";
}

// It holds in release builds too, where an assert would have vanished.
TEST_F(Catalogue, AnUnknownIdEndsTheProgramWithOneLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(Sprites().Bitmap(999), "Trotix: a sprite id outside the catalogue was drawn");
  EXPECT_DEATH(Sprites().Bitmap(-1), "Trotix: a sprite id outside the catalogue was drawn");
}

}  // namespace
}  // namespace trotix
