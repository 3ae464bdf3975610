#include "scale_factor.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

// QT_SCALE_FACTOR=-2 crashed the game inside Qt.
TEST(UsableScaleFactor, OnlyAFactorQtCanDrawWithIsKept) {
  const struct { const char* text; bool usable; } cases[] = {
      {"1", true},     {"2", true},    {"1.5", true},    {" 2 ", true},   {"+2", true},  {"0.1", true},
      {"10", true},    {"-2", false},  {"0", false},     {"-0", false},   {"1e-9", false}, {"10.5", false},
      {"1e300", false}, {"nan", false}, {"inf", false},  {"-inf", false}, {"abc", false}, {"2x", false},
      {"", false},     {"1,5", false},
  };
  for (const auto& c : cases) EXPECT_EQ(UsableScaleFactor(c.text), c.usable) << "'" << c.text << "'";
}

}  // namespace
}  // namespace trotix
