// Feeds arbitrary bytes to the horse data file parser, as a whole file and
// as the head of a longer one. Whatever it accepts must be safe for the odds
// (a positive, finite Speed x Stamina) and the style must fit 16 bits;
// whatever it refuses must name a line and a reason.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "field_file.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "field_file_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text =
      std::string_view(reinterpret_cast<const char*>(data), size).substr(0, trotix::kFieldFileReadLimit);
  for (const bool whole_file : {true, false}) {
    const trotix::FieldFileParse parse = trotix::ParseFieldFile(text, whole_file);
    if (!parse.ok) {
      if (parse.line < 1 || parse.line > static_cast<int>(trotix::kHorseCount) || parse.problem.empty()) {
        Fail("a refusal without a line or a reason");
      }
      continue;
    }
    for (const trotix::FieldFileHorse& horse : parse.horses) {
      const double strength = horse.Speed * horse.Stamina;
      if (!(std::isfinite(strength) && strength > 0.0)) Fail("an accepted horse has no usable strength");
      if (horse.Style < -32768 || horse.Style > 32767) Fail("an accepted style does not fit 16 bits");
    }
  }
  return 0;
}
