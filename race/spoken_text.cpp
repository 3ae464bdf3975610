#include "spoken_text.h"

#include "numbers.h"
#include "texts.h"
#include "track.h"

namespace trotix {

std::string SpokenHorse(int index) { return "horse " + std::to_string(index + 1); }

std::string SpokenTime(float elapsed_seconds) {
  // The board's own text, "m:ss.s", split: one rounding for eye and ear.
  const std::string board = BoardTimeText(elapsed_seconds);
  const std::size_t colon = board.find(':');
  const std::string minutes = board.substr(0, colon);
  std::string seconds = board.substr(colon + 1);
  if (seconds.size() > 1 && seconds[0] == '0' && seconds[1] != '.') seconds.erase(0, 1);
  const std::string second_words = seconds + " seconds";
  if (minutes == "0") return second_words;
  return minutes + (minutes == "1" ? " minute " : " minutes ") + second_words;
}

std::string SpokenStart() {
  return "The race is off: " + FormatMask(kRaceMetres, "0") + " metres to run.";
}

std::string SpokenDistance(std::int32_t metres_to_go, int leader_index) {
  return std::to_string(metres_to_go) + " metres to go, " + SpokenHorse(leader_index) + " leads.";
}

std::string SpokenFinish(int winner_index, float elapsed_seconds) {
  return "Finish: " + SpokenHorse(winner_index) + " wins in " + SpokenTime(elapsed_seconds) + ".";
}

}  // namespace trotix
