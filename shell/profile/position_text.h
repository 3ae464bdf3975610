// The window position as text in the position file: how a coordinate is
// written, and how a stored value is turned back into one.
#pragma once

#include <string>
#include <string_view>

namespace trotix {

// A single-precision number in the general number format: the shortest
// decimal that reads back as the same single, when one with at most 7
// significant digits exists, otherwise the value rounded to 7 significant
// digits; trailing zeros are dropped, and so is the full stop of a whole
// number. Negative values get a leading "-", and nothing else is added: no
// blank, no plus sign, no thousands separator. Zero, also negative zero, is
// "0".
//
// Magnitudes from 0.0001 up to, not including, 10 000 000 are written out in
// full ("3450", "-120", "12.5", "0.1", "1234567"). Anything larger or
// smaller, far beyond any screen, uses an exponent with at least two digits
// ("1E+07", "1.234568E+07", "1E-05"), which LeadingNumber reads back. An
// infinity or NaN, which no window can be placed at, is written as "0".
// The result does not depend on the C locale.
std::string FormatGeneralNumber(float value);

// A stored coordinate: LeadingNumber of the text, rounded to single
// precision, so "" and "abc" give 0, " 720 " and "720abc" give 720, and
// negative or large values come through unchanged. A number too large in
// magnitude for a single (one that would round to infinity, "1e99") gives 0,
// as a value that is not a number does, so the window opens at the screen's
// edge instead of at an infinite place.
float ParsePositionValue(std::string_view text);

}  // namespace trotix
