#include "numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trotix {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const struct { double in; std::int32_t out; } cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
      {1998.5, 1998}, {1997.5, 1998}, {2.4999, 2}, {-0.4, 0}, {7.0, 7},
      // Beyond the int32 range a value is held at its end, never undefined.
      {2147483647.4, 2147483647}, {1.5e11, 2147483647}, {-1.5e11, -2147483648},
      {std::numeric_limits<double>::infinity(), 2147483647}, {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEven, SixteenBitRangeIsCheckedAfterRounding) {
  EXPECT_EQ(RoundHalfEvenToInt16(32767.4), std::int16_t{32767});
  EXPECT_EQ(RoundHalfEvenToInt16(-32768.5), std::int16_t{-32768});  // even neighbour
  EXPECT_EQ(RoundHalfEvenToInt16(32767.5), std::nullopt);            // rounds to 32768
  EXPECT_EQ(RoundHalfEvenToInt16(-32769.0), std::nullopt);
  EXPECT_EQ(RoundHalfEvenToInt16(std::nan("")), std::nullopt);
  EXPECT_EQ(RoundHalfEvenToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(LeadingNumber, ReadsAsFarAsTheTextFormsANumber) {
  const struct { const char* text; double value; } cases[] = {
      {"75abc", 75},      {"abc", 0},        {"", 0},           {"   80", 80},
      {" 720 ", 720},     {"720abc", 720},   {"7 2 0", 720},    {"1\t2\n3", 123},
      {"-120", -120},     {"+5", 5},         {"- 5", -5},       {"--5", 0},
      {"1.5e3", 1500},    {"1.5E-1", 0.15},  {"2d2", 200},      {"1e", 1},
      {"1e+", 1},         {".5", 0.5},       {".", 0},          {"-", 0},
      {"12.5.3", 12.5},   {"1,5", 1},        {"3450", 3450},    {"57.48", 57.48},
      {"\r12", 0},        {"12\r", 12},      {"&H1F", 31},      {"&hff", 255},
      {"&O17", 15},       {"&o9", 0},        {"&X12", 0},       {"& H 1 0", 16},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, HugeExponentsOverflowToInfinityNotGarbage) {
  EXPECT_TRUE(std::isinf(LeadingNumber("1e400")));
  EXPECT_EQ(LeadingNumber("1e-400"), 0.0);
}

TEST(FormatMask, RoundsHalfAwayFromZeroOnTheDecimalValue) {
  const struct { double value; const char* mask; const char* text; } cases[] = {
      {7.6, "000", "008"},     {100, "000", "100"},     {1234, "000", "1234"},
      {57.48, "000", "057"},   {80.5, "000", "081"},    {-5, "000", "-005"},
      {12.25, "0.0", "12.3"},  {3, "0.0", "3.0"},       {4.264, "0.0", "4.3"},
      {4.46, "0.0", "4.5"},    {12.26, "0.0", "12.3"},  {7, "0.0", "7.0"},
      {9.96, "0.0", "10.0"},   {0.04, "0.0", "0.0"},    {-0.04, "0.0", "0.0"},
      {-0.05, "0.0", "-0.1"},  {2.5, "0", "3"},         {-2.5, "0", "-3"},
      {0.0, "00.00", "00.00"}, {5.2, "00.00", "05.20"}, {99.95, "00.0", "100.0"},
      {1e20, "0", "100000000000000000000"},
      // 0.7 x 3.5 is 2.4499999999999997 in binary; its decimal value is 2.45.
      {0.7 * 3.5, "0.0", "2.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMask(c.value, c.mask), c.text) << c.value << " " << c.mask;
}

TEST(FormatMask, SinglesUseTheirOwnSevenDigitDecimalValue) {
  // 2.05f is 2.04999995... in binary; as a single it reads 2.05.
  EXPECT_EQ(FormatMask(2.05f, "0.0"), "2.1");
  EXPECT_EQ(FormatMask(static_cast<double>(2.05f), "0.0"), "2.0");
  EXPECT_EQ(FormatMask(15.456f, "00.00"), "15.46");
}

TEST(FormatMask, NonFiniteValuesDoNotCrash) {
  EXPECT_EQ(FormatMask(std::numeric_limits<double>::infinity(), "0.0"), "Inf");
  EXPECT_EQ(FormatMask(std::nan(""), "000"), "NaN");
}

TEST(FormatRaceTime, MinutesColonSeconds) {
  const struct { float seconds; int decimals; const char* text; } cases[] = {
      {5.2f, 2, "0:05.20"},   {75.456f, 2, "1:15.46"}, {600.0f, 2, "10:00.00"},
      {59.94f, 1, "0:59.9"},  {61.0f, 1, "1:01.0"},    {125.43f, 1, "2:05.4"},
      {0.0f, 2, "0:00.00"},   {3599.99f, 1, "60:00.0"},
      // Rounded before the split, so a time never reads 0:60.0.
      {59.96f, 1, "1:00.0"},  {59.996f, 2, "1:00.00"}, {119.95f, 1, "2:00.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatRaceTime(c.seconds, c.decimals), c.text) << c.seconds;
}

TEST(FormatRaceTime, ImpossibleTimesShowZero) {
  EXPECT_EQ(FormatRaceTime(-3.0f, 2), "0:00.00");
  EXPECT_EQ(FormatRaceTime(std::numeric_limits<float>::quiet_NaN(), 1), "0:00.0");
}

}  // namespace
}  // namespace trotix
