// The horse data file: six lines of speed, stamina and running style,
// separated by tabs. Only the first six lines are read; the fourth column
// and later lines are ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "race_state.h"

namespace trotix {

inline constexpr const char* kFieldFileName = "horsedat.txt";

// The most of the file that is ever read: six honest lines are a few dozen
// bytes, and a huge file must not slow the start.
inline constexpr std::size_t kFieldFileReadLimit = 64 * 1024;

// The largest Speed or Stamina a file may give, either sign. The leader
// panel draws a rating's mark 15 twips a point from its gauge, so a rating of
// a million lands some million pixels away, still far inside the int32 range
// of drawing coordinates, and the F7 listing shows it in seven digits. The
// strength of such a horse, 1e12, leaves the odds every digit they show.
inline constexpr double kRatingLimit = 1'000'000.0;

// The longest odds a field may post: sixteen digits before the point, and a
// double still holds their tenths. A subnormal rating (1e-45) beside ordinary
// ones once posted odds of 1.2e94, a 95-digit number on every board.
inline constexpr double kOddsLimit = 1e16;

struct FieldFileHorse {
  double Speed;
  double Stamina;
  std::int32_t Style;
};

using FieldRecords = std::array<FieldFileHorse, kHorseCount>;

struct FieldFileParse {
  bool ok = false;
  FieldRecords horses{};
  int line = 0;         // on failure: the line at fault, counted from 1
  std::string problem;  // on failure: what is wrong with it
};

// Reads the six horses from the start of the file. `head` is the file's
// content up to kFieldFileReadLimit bytes; `whole_file` tells whether that is
// all of it. A file that breaks a limit is refused as a whole: fewer than six
// lines, a line with fewer than three columns, a Speed or Stamina that is not
// a number within +-kRatingLimit, a Speed x Stamina that is not positive, a
// style that does not fit 16 bits, or a field whose win or quinella odds
// would not all be positive numbers below kOddsLimit (a tiny strength beside
// big ones).
FieldFileParse ParseFieldFile(std::string_view head, bool whole_file);

// The same from the file's first bytes as a reader gets them: up to
// kFieldFileReadLimit + 1 of them, the byte past the limit telling that the
// file goes on.
FieldFileParse ParseFieldFileStart(std::string_view first_bytes);

// The refusal of file `name` in one line: "name, line 3 has fewer than three
// tab-separated columns".
std::string FieldFileRefusal(std::string_view name, const FieldFileParse& parsed);

// The refusal of file `name` that cannot be read at all, with the reason:
// "name cannot be read (a folder)".
inline constexpr std::string_view kFieldFileIsAFolder = "a folder";
std::string FieldFileUnreadable(std::string_view name, std::string_view why);

}  // namespace trotix
