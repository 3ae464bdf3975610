// Number conversions shared by the whole game: rounding into integers,
// reading numbers out of text files, and the display masks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trotix {

// A real number stored into an integer: nearest, halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4). Beyond the int32 range the result
// is held at the range's end; NaN gives 0.
std::int32_t RoundHalfEven(double value);

// The same rounding into a 16-bit integer, or nothing when the value is not
// a number or does not fit.
std::optional<std::int16_t> RoundHalfEvenToInt16(double value);

// The number written at the start of a text. Blanks, tabs and line feeds are
// skipped wherever they stand; then an optional sign, digits, an optional
// full stop with more digits and an optional exponent are read as far as they
// form a number. "&H" and "&O" introduce hexadecimal and octal integers. A
// text that does not begin with a number gives 0: "75abc" is 75, "abc" is 0.
double LeadingNumber(std::string_view text);

// Display masks "0", "00", "000", "0.0", "00.0", "00.00": at least as many
// digits before the full stop as the mask has, exactly as many after. The
// value is rounded half away from zero on its decimal form (15 significant
// digits for a double, 7 for a single), so 12.25 shows as 12.3 where a
// binary printf would give 12.2.
std::string FormatMask(double value, std::string_view mask);
std::string FormatMask(float value, std::string_view mask);

// A race time as minutes, ":" and seconds with `decimals` places ("M:SS.SS"
// for the clock, "m:ss.s" on the result board). The time is rounded first and
// split afterwards, so 59.96 seconds reads 1:00.0 and never 0:60.0.
std::string FormatRaceTime(float seconds, int decimals);

}  // namespace trotix
