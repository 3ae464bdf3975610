#include "position_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trotix {
namespace {

TEST(FormatGeneralNumber, WritesTheShortestFormWithUpToSevenDigits) {
  const struct { float value; const char* text; } cases[] = {
      {3450.0f, "3450"},        {-120.0f, "-120"},          {12.5f, "12.5"},
      {0.1f, "0.1"},            {1234567.0f, "1234567"},     {0.0f, "0"},
      {-0.0f, "0"},             {100.0f, "100"},             {-1500.25f, "-1500.25"},
      {9999999.0f, "9999999"},  {1.0f / 3.0f, "0.3333333"},  {2.0f / 3.0f, "0.6666667"},
      {1.0000001f, "1"},        {1234.5677f, "1234.568"},    {0.0001f, "0.0001"},
      {0.00123f, "0.00123"},    {1e7f, "1E+07"},             {12345678.0f, "1.234568E+07"},
      {-3e20f, "-3E+20"},       {0.00001f, "1E-05"},         {-1.5e-30f, "-1.5E-30"},
      {std::numeric_limits<float>::max(), "3.402823E+38"},
      {std::numeric_limits<float>::denorm_min(), "1E-45"},
      // Seven-digit rounding gives 0.0009765649; the six digits below already
      // read back as this single.
      {0.000976565f, "0.000976565"},
      {std::numeric_limits<float>::infinity(), "0"},
      {-std::numeric_limits<float>::infinity(), "0"},
      {std::numeric_limits<float>::quiet_NaN(), "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneralNumber(c.value), c.text) << c.text;
}

// Every whole-twip position, and any value with up to seven significant
// digits, is saved and restored exactly.
TEST(FormatGeneralNumber, ReadsBackAsTheSameSingle) {
  for (int i = -9'999'999; i <= 9'999'999; i += 4'999) {
    const auto v = static_cast<float>(i);
    EXPECT_EQ(ParsePositionValue(FormatGeneralNumber(v)), v) << FormatGeneralNumber(v);
  }
  for (float v : {1e7f, 1e9f, -5e20f, 0.5f, -1234.567f, 98765.43f, 1e-5f, 1e-45f}) {
    EXPECT_EQ(ParsePositionValue(FormatGeneralNumber(v)), v) << FormatGeneralNumber(v);
  }
}

TEST(ParsePositionValue, TakesTheLeadingNumberAsASingle) {
  constexpr float kMax = std::numeric_limits<float>::max();
  const struct { const char* text; float value; } cases[] = {
      {"", 0.0f},           {"abc", 0.0f},       {" 720 ", 720.0f},    {"720abc", 720.0f},
      {"-120", -120.0f},    {"1500", 1500.0f},   {"12.5", 12.5f},      {"1e9", 1e9f},
      {"-5e20", -5e20f},    {"0.1", 0.1f},       {"&H10", 16.0f},      {"1e-50", 0.0f},
      // Past the largest single: up to the halfway point it rounds down to
      // it, beyond it would be infinite and gives 0.
      {"3.4028235e38", kMax}, {"-3.4028235e38", -kMax}, {"3.4028236e38", 0.0f},
      {"1e99", 0.0f},       {"-1e99", 0.0f},     {"1e400", 0.0f},
      {"&HFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 0.0f},
  };
  for (const auto& c : cases) {
    const float got = ParsePositionValue(c.text);
    EXPECT_TRUE(std::isfinite(got)) << c.text;
    EXPECT_EQ(got, c.value) << c.text;
  }
}

}  // namespace
}  // namespace trotix
