#include "position_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "numbers.h"

namespace trotix {

namespace {

constexpr int kSignificantDigits = 7;

// A value's significant decimal digits, without trailing zeros, and the
// power of ten of the first one: value = d1.d2d3... x 10^exponent.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// Splits to_chars' scientific form "d.ddde+XX" (sign already removed).
DecimalDigits SplitScientific(std::string_view text) {
  DecimalDigits result;
  const std::size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') result.digits += c;
  }
  while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
  return result;
}

DecimalDigits ShortestDigits(float magnitude) {
  char buffer[64];
  auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::scientific);
  DecimalDigits shortest =
      SplitScientific(std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
  if (shortest.digits.size() <= kSignificantDigits) return shortest;
  written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                          std::chars_format::scientific, kSignificantDigits - 1);
  return SplitScientific(std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
}

// Halfway between the largest single and 2^128: doubles from here on round
// to infinity in single precision.
constexpr double kSingleOverflow = 0x1p128 - 0x1p103;

}  // namespace

std::string FormatGeneralNumber(float value) {
  if (!std::isfinite(value) || value == 0.0f) return "0";
  const DecimalDigits number = ShortestDigits(std::fabs(value));
  const std::string& digits = number.digits;
  const int count = static_cast<int>(digits.size());

  std::string text = value < 0.0f ? "-" : "";
  if (number.exponent >= kSignificantDigits || number.exponent < -4) {
    text += digits.front();
    if (count > 1) text.append(".").append(digits, 1);
    text += number.exponent < 0 ? "E-" : "E+";
    const int power = std::abs(number.exponent);
    if (power < 10) text += '0';
    text += std::to_string(power);
  } else if (number.exponent < 0) {
    text.append("0.").append(static_cast<std::size_t>(-number.exponent - 1), '0').append(digits);
  } else if (count <= number.exponent + 1) {
    text.append(digits).append(static_cast<std::size_t>(number.exponent + 1 - count), '0');
  } else {
    const auto whole = static_cast<std::size_t>(number.exponent + 1);
    text.append(digits, 0, whole).append(".").append(digits, whole);
  }
  return text;
}

float ParsePositionValue(std::string_view text) {
  const double value = LeadingNumber(text);
  if (!(std::fabs(value) < kSingleOverflow)) return 0.0f;
  // Between the largest single and the overflow point the nearest single is
  // the largest one; the cast would be undefined there, so say it directly.
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (value > kLargest) return std::numeric_limits<float>::max();
  if (value < -kLargest) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

}  // namespace trotix
