#include "clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "random_source.h"

namespace trotix {
namespace {

TEST(ElapsedSeconds, WrapsAcrossMidnight) {
  EXPECT_FLOAT_EQ(ElapsedSeconds(100.0f, 105.5f), 5.5f);
  EXPECT_FLOAT_EQ(ElapsedSeconds(300.0f, 300.0f), 0.0f);
  // Started at 23:59:50, read at 00:00:10 the next day.
  EXPECT_FLOAT_EQ(ElapsedSeconds(86390.0f, 10.0f), 20.0f);
  EXPECT_GE(ElapsedSeconds(86399.9f, 0.0f), 0.0f);
}

TEST(Pcg32Random, DrawsAreTwentyFourBitFractionsBelowOne) {
  Pcg32Random random(12345);
  for (int n = 0; n < 200000; ++n) {
    const float r = random.Next();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    const float scaled = r * 16777216.0f;
    ASSERT_EQ(scaled, std::floor(scaled)) << r;
  }
}

TEST(Pcg32Random, OneSeedReplaysOneSequence) {
  Pcg32Random a(42), b(42), c(43);
  bool differs = false;
  for (int n = 0; n < 100; ++n) {
    const float x = a.Next();
    EXPECT_EQ(x, b.Next());
    differs = differs || x != c.Next();
  }
  EXPECT_TRUE(differs);
}

TEST(Pcg32Random, SpreadsOverTheWholeRange) {
  Pcg32Random random(7);
  std::set<int> tenths;
  double sum = 0.0;
  const int draws = 100000;
  for (int n = 0; n < draws; ++n) {
    const float r = random.Next();
    tenths.insert(static_cast<int>(r * 10.0f));
    sum += static_cast<double>(r);
  }
  EXPECT_EQ(tenths.size(), 10u);
  EXPECT_NEAR(sum / draws, 0.5, 0.01);
}

}  // namespace
}  // namespace trotix
