// Feeds arbitrary bytes to the horse data file parser, as a whole file and
// as the head of a longer one. Whatever it accepts must be safe for the odds
// (a positive, finite Speed x Stamina, and win and quinella odds that are all
// finite and positive), drawable (every rating's gauge mark a pixel well
// inside int32, every listed rating a few digits) and the style must fit 16
// bits; whatever it refuses must name a line and a reason.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "field_file.h"
#include "numbers.h"
#include "odds.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "field_file_fuzz: %s\n", what);
  std::abort();
}

bool UsableOdds(double odds) { return std::isfinite(odds) && odds > 0.0; }

// A rating as the leader panel draws it: its mark stands 15 twips a point
// right of the gauge's left end (900 twips), 15 twips to a pixel. Half the
// int32 range leaves room for everything added to a place afterwards.
bool DrawableRating(double rating) {
  const double mark_pixels = (rating * 15.0 + 901.0) / 15.0;
  return std::fabs(mark_pixels) < 1073741824.0 && trotix::FormatMask(rating, "000").size() <= 8;
}

void CheckAccepted(const trotix::FieldRecords& records) {
  std::array<trotix::Horse, trotix::kHorseCount> horses{};
  for (std::size_t i = 0; i < trotix::kHorseCount; ++i) {
    const trotix::FieldFileHorse& horse = records[i];
    const double strength = horse.Speed * horse.Stamina;
    if (!(std::isfinite(strength) && strength > 0.0)) Fail("an accepted horse has no usable strength");
    if (!DrawableRating(horse.Speed) || !DrawableRating(horse.Stamina)) Fail("an accepted rating cannot be drawn");
    if (horse.Style < -32768 || horse.Style > 32767) Fail("an accepted style does not fit 16 bits");
    horses[i].Speed = horse.Speed;
    horses[i].Stamina = horse.Stamina;
  }
  trotix::ComputeWinOdds(horses);
  const trotix::PairOdds quinella = trotix::QuinellaOddsOf(horses);
  for (std::size_t i = 0; i < trotix::kHorseCount; ++i) {
    if (!UsableOdds(horses[i].WinOdds)) Fail("an accepted field has win odds that are not finite and positive");
    for (std::size_t j = 0; j < trotix::kHorseCount; ++j) {
      if (i != j && !UsableOdds(quinella[i][j])) {
        Fail("an accepted field has quinella odds that are not finite and positive");
      }
    }
  }
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
    CheckAccepted(parse.horses);
  }
  return 0;
}
