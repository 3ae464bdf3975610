#include "twips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace trotix {
namespace {

// A leader with a Speed of 1e10 put its gauge mark at 1.5e11 twips, and the
// conversion into int was undefined. Every place now has a pixel.
TEST(TwipsToPixels, RoundsHalvesToEvenAndHoldsAtTheInt32Range) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max();
  constexpr int kMin = std::numeric_limits<std::int32_t>::min();
  const struct { double twips; int pixels; } cases[] = {
      {0.0, 0},       {37.5, 2},          {22.5, 2},          {-37.5, -2},        {2700.0, 180},
      {1.5e11, kMax}, {-1.5e11, kMin},    {32212254705.0, kMax},  // 2^31 - 1 pixels exactly
      {std::numeric_limits<double>::infinity(), kMax},  {-std::numeric_limits<double>::infinity(), kMin},
      {std::nan(""), 0},  {1.0e308, kMax},
  };
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips;
}

}  // namespace
}  // namespace trotix
