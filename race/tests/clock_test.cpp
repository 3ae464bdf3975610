#include "clock.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

TEST(ElapsedSeconds, WrapsAcrossMidnight) {
  EXPECT_FLOAT_EQ(ElapsedSeconds(100.0f, 105.5f), 5.5f);
  EXPECT_FLOAT_EQ(ElapsedSeconds(300.0f, 300.0f), 0.0f);
  // Started at 23:59:50, read at 00:00:10 the next day.
  EXPECT_FLOAT_EQ(ElapsedSeconds(86390.0f, 10.0f), 20.0f);
  EXPECT_GE(ElapsedSeconds(86399.9f, 0.0f), 0.0f);
}

}  // namespace
}  // namespace trotix
