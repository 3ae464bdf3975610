#include "random_source.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <set>

namespace trotix {
namespace {

// The first draws for seed 42, worked out apart from this code: a Python
// transcription of pcg32_srandom_r and pcg32_random_r from the PCG reference
// (pcg_basic.c, pcg-random.org), with multiplier 6364136223846793005 and the
// single-stream increment 1442695040888963407 (pcg32_oneseq in pcg-cpp), and
// seeding as there: state 0, one step, add the seed, one step.
constexpr std::array<std::uint32_t, 6> kSeed42Bits = {0xc2f57bd6, 0x6b07c4a9, 0x72b7b29b,
                                                      0x44215383, 0xf5af5ead, 0x68beb632};
// The same draws as Next() gives them: the top 24 bits, times 2^-24.
constexpr std::array<std::uint32_t, 6> kSeed42Top24 = {12776827, 7014340, 7518130, 4464979, 16101214, 6864566};

TEST(Pcg32Random, FirstDrawsMatchTheReferenceGenerator) {
  Pcg32Random bits(42);
  for (std::uint32_t expected : kSeed42Bits) EXPECT_EQ(bits.NextBits(), expected);

  Pcg32Random fractions(99);
  fractions.Seed(42);  // seeding afresh forgets the earlier seed
  for (std::uint32_t top : kSeed42Top24) {
    EXPECT_EQ(fractions.Next(), static_cast<float>(top) * 0x1.0p-24f);
  }
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
