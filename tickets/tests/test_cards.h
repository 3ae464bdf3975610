// A card for the tickets' tests: six like horses at win odds `win`, every
// pair at x8.0.
#pragma once

#include "race_card.h"

namespace trotix::testing {

inline RaceCard CardAt(double win) {
  RaceCard card;
  for (CardHorse& h : card.horses) h = {60, 60, 2, win};
  for (auto& row : card.quinella) row.fill(8.0);
  return card;
}

}  // namespace trotix::testing
