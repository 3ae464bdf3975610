#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

#include "invariant.h"

namespace trotix {

std::int32_t RoundHalfEven(double value) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless
  // someone changed it; nothing in this program does.
  // A value beyond the int32 range is held at its end, and NaN reads as 0,
  // so no conversion here is ever undefined.
  if (std::isnan(value)) return 0;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(std::nearbyint(value), kLowest, kHighest));
}

std::optional<std::int16_t> RoundHalfEvenToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(rounded);
}

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a text, passing over blanks, tabs and line feeds.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  char Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Take() { ++pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

double ReadRadixInteger(Cursor& in, int radix) {
  double value = 0.0;
  for (int digit = DigitValue(in.Peek()); digit < radix; digit = DigitValue(in.Peek())) {
    value = value * radix + digit;
    in.Take();
  }
  return value;
}

// strtod in the "C" locale, whatever locale the program runs in.
double ParseCDouble(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text.c_str(), nullptr, c_locale);
}

}  // namespace

double LeadingNumber(std::string_view text) {
  Cursor in(text);
  if (in.Peek() == '&') {
    in.Take();
    const char kind = in.Peek();
    if (kind == 'H' || kind == 'h') {
      in.Take();
      return ReadRadixInteger(in, 16);
    }
    if (kind == 'O' || kind == 'o') {
      in.Take();
      return ReadRadixInteger(in, 8);
    }
    return 0.0;
  }

  // Gather the number's characters without the skipped blanks, then let the
  // C library turn them into the nearest double.
  std::string number;
  if (in.Peek() == '+' || in.Peek() == '-') {
    number += in.Peek();
    in.Take();
  }
  bool has_digits = false;
  while (IsDigit(in.Peek())) {
    number += in.Peek();
    in.Take();
    has_digits = true;
  }
  if (in.Peek() == '.') {
    number += '.';
    in.Take();
    while (IsDigit(in.Peek())) {
      number += in.Peek();
      in.Take();
      has_digits = true;
    }
  }
  if (!has_digits) return 0.0;
  const char e = in.Peek();
  if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
    in.Take();
    std::string exponent = "e";
    if (in.Peek() == '+' || in.Peek() == '-') {
      exponent += in.Peek();
      in.Take();
    }
    bool has_exponent_digits = false;
    while (IsDigit(in.Peek())) {
      exponent += in.Peek();
      in.Take();
      has_exponent_digits = true;
    }
    if (has_exponent_digits) number += exponent;
  }
  return ParseCDouble(number);
}

namespace {

struct MaskShape {
  int int_digits = 1;
  int decimals = 0;
};

MaskShape ParseMask(std::string_view mask) {
  MaskShape shape;
  const auto point = mask.find('.');
  shape.int_digits = static_cast<int>(point == std::string_view::npos ? mask.size() : point);
  shape.decimals = point == std::string_view::npos ? 0 : static_cast<int>(mask.size() - point - 1);
  return shape;
}

// |value| rounded half away from zero to `decimals` places, taken from its
// decimal form with `significant` digits, as the digits before and after the
// full stop.
struct RoundedDecimal {
  bool negative = false;
  std::string whole;     // no leading zeros except a single "0"
  std::string fraction;  // exactly `decimals` digits
};

RoundedDecimal RoundDecimal(double value, int significant, int decimals) {
  RoundedDecimal out;
  out.negative = std::signbit(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  // buffer reads "d.ddddde+XX": the digits, then the decimal exponent.
  const char* e = std::strchr(buffer, 'e');
  TROTIX_CHECK(e != nullptr, "only finite numbers are rounded to decimals");
  const int exponent = std::atoi(e + 1);
  // The digits go after one spare zero, which takes the carry when rounding
  // up runs through every digit (9.96 to one place is 10.0), and after the
  // zeros a number below 1 needs before its first digit. The full stop then
  // stands after `point` characters of `digits`.
  const int leading_zeros = exponent < 0 ? -exponent : 0;
  std::string digits(static_cast<std::size_t>(1 + leading_zeros), '0');
  for (const char* p = buffer; p != e; ++p) {
    if (IsDigit(*p)) digits += *p;
  }
  const int point = 1 + (exponent < 0 ? 1 : exponent + 1);
  const int keep = point + decimals;
  if (static_cast<int>(digits.size()) < keep) {
    digits.append(static_cast<std::size_t>(keep) - digits.size(), '0');
  }
  const bool round_up = static_cast<int>(digits.size()) > keep &&
                        digits[static_cast<std::size_t>(keep)] >= '5';
  digits.resize(static_cast<std::size_t>(keep));
  if (round_up) {
    // The spare zero stops the carry: it is never a '9'.
    int i = keep - 1;
    for (; digits[static_cast<std::size_t>(i)] == '9'; --i) {
      digits[static_cast<std::size_t>(i)] = '0';
    }
    ++digits[static_cast<std::size_t>(i)];
  }
  out.whole = digits.substr(0, static_cast<std::size_t>(point));
  out.fraction = digits.substr(static_cast<std::size_t>(point));
  const auto first = out.whole.find_first_not_of('0');
  out.whole = first == std::string::npos ? "0" : out.whole.substr(first);
  if (out.whole == "0" && out.fraction.find_first_not_of('0') == std::string::npos) {
    out.negative = false;  // no "-0.0"
  }
  return out;
}

std::string Compose(const RoundedDecimal& r, int int_digits) {
  std::string text = r.negative ? "-" : "";
  if (static_cast<int>(r.whole.size()) < int_digits) {
    text.append(static_cast<std::size_t>(int_digits) - r.whole.size(), '0');
  }
  text += r.whole;
  if (!r.fraction.empty()) text += "." + r.fraction;
  return text;
}

std::string FormatWithPrecision(double value, std::string_view mask, int significant) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  const MaskShape shape = ParseMask(mask);
  return Compose(RoundDecimal(value, significant, shape.decimals), shape.int_digits);
}

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

}  // namespace

std::string FormatMask(double value, std::string_view mask) {
  return FormatWithPrecision(value, mask, kDoubleDigits);
}

std::string FormatMask(float value, std::string_view mask) {
  return FormatWithPrecision(static_cast<double>(value), mask, kSingleDigits);
}

std::string FormatRaceTime(float seconds, int decimals) {
  TROTIX_CHECK(decimals >= 0 && decimals <= 6, "a race time is shown with 0 to 6 decimals");
  // Elapsed times are under a day; anything else is not a time to show.
  if (!(seconds >= 0.0f && seconds < 1.0e9f)) seconds = 0.0f;
  const RoundedDecimal r = RoundDecimal(static_cast<double>(seconds), kSingleDigits, decimals);
  // Whole units of 10^-decimals seconds; a day has fewer than 2^63 of them.
  const std::int64_t units = std::stoll(r.whole + r.fraction);
  std::int64_t per_second = 1;
  for (int i = 0; i < decimals; ++i) per_second *= 10;
  const std::int64_t per_minute = 60 * per_second;
  const std::int64_t minutes = units / per_minute;
  const std::int64_t rest = units % per_minute;

  RoundedDecimal s;
  s.whole = std::to_string(rest / per_second);
  const std::string fraction = std::to_string(rest % per_second + per_second);  // leading "1"
  s.fraction = fraction.substr(1);
  return std::to_string(minutes) + ":" + Compose(s, 2);
}

}  // namespace trotix
