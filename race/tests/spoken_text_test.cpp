#include "spoken_text.h"

#include <gtest/gtest.h>

#include <string>

namespace trotix {
namespace {

// The board's rounding, said: 59.96 s is "1 minute 0.0 seconds", never 60.
TEST(SpokenText, TimesDistancesStartAndFinishInWords) {
  const struct { std::string text; const char* expected; } cases[] = {
      {SpokenTime(119.04f), "1 minute 59.0 seconds"},
      {SpokenTime(59.94f), "59.9 seconds"},
      {SpokenTime(59.96f), "1 minute 0.0 seconds"},
      {SpokenTime(65.25f), "1 minute 5.3 seconds"},
      {SpokenTime(125.43f), "2 minutes 5.4 seconds"},
      {SpokenTime(0.04f), "0.0 seconds"},
      {SpokenHorse(0), "horse 1"},
      {SpokenStart(), "The race is off: 2000 metres to run."},
      {SpokenDistance(1500, 3), "1500 metres to go, horse 4 leads."},
      {SpokenDistance(500, 5), "500 metres to go, horse 6 leads."},
      {SpokenFinish(3, 119.04f), "Finish: horse 4 wins in 1 minute 59.0 seconds."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

}  // namespace
}  // namespace trotix
