// The race in English words, for a player who listens rather than looks:
// what the page's live region and a screen reader say beside the picture.
// Numbers are rounded as the picture rounds them (numbers.h, texts.h), so
// the ear and the eye never disagree.
#pragma once

#include <cstdint>
#include <string>

namespace trotix {

// The distances, in metres still to run, at which the race is told.
inline constexpr std::int32_t kSpokenDistances[] = {1500, 1000, 500};

// "Horse 4" for horse index 3, as the game numbers horses from 1.
std::string SpokenHorse(int index);
// A race time as the board shows it, in words: "1 minute 59.0 seconds".
std::string SpokenTime(float elapsed_seconds);

// "The race is off: 2000 metres to run."
std::string SpokenStart();
// "1500 metres to go, horse 4 leads."
std::string SpokenDistance(std::int32_t metres_to_go, int leader_index);
// "Finish: horse 4 wins in 1 minute 59.0 seconds."
std::string SpokenFinish(int winner_index, float elapsed_seconds);

}  // namespace trotix
