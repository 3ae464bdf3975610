// The result board, printed over the finish backdrop when the race is over:
// six placing lines (place, horse, the winner's time or the margin to the
// horse ahead, win odds) and the quinella of the first two with its odds.
#pragma once

#include <string>
#include <vector>

#include "race_state.h"
#include "sprite_catalogue.h"
#include "surface.h"

namespace trotix {

// A margin in metres in the traditional terms, judged against a length of
// 12.5 m: nose, head, neck, half and three-quarter lengths, whole lengths.
enum class MarginTerm { kNose, kHead, kNeck, kHalfLength, kThreeQuarterLength, kLengths };
MarginTerm MarginTermOf(double metres);
// The whole lengths of a margin of kLengths, as the board writes them: "2".
std::string MarginLengthsText(double metres);
// The margin as the board prints it: "ｱﾀﾏ", "3/4", "2".
std::string MarginText(double metres);

// One piece of text on the board, at its place in twips.
struct BoardText {
  double x;
  double y;
  Pixel color;
  bool bold;
  std::string text;
};

// Everything the board prints, in order. Reads FinishOrder, the odds and
// the times; the quinella table must be computed.
std::vector<BoardText> ResultBoardTexts(const RaceState& race);

// The board as text: one line for each row it prints, top to bottom, its
// pieces left to right with one blank between them (a piece's own trailing
// blanks dropped), each line ended by "\n".
// The same texts as ResultBoardTexts, for a reader that cannot see the picture.
std::string ResultBoardText(const RaceState& race);

// Computes the quinella odds and prints the board onto `picture`, which
// becomes the finish backdrop. Leaves the picture's colour yellow, not bold.
void ShowResults(RaceState& race, const SpriteCatalogue& sprites, Surface& picture);

}  // namespace trotix
