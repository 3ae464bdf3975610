// How one horse moves in one tick: its running style and place in the field
// change its effort, speed and stamina cap it, the stride follows from it,
// the stride costs stamina, and the sprite is placed for the current view.
#pragma once

#include "race_state.h"

namespace trotix {

enum class PacingRule { kOpening, kMiddle, kLate, kAllOut };
// kNone: no one sees the race (the simulator), so no sprite is placed.
enum class View { kStart, kRunning, kFinish, kNone };

// The effort change of `horse` for this tick, from its values before the
// move. All horses of one tick see the same prev_lead and prev_tail.
double PacingBonus(const Horse& horse, PacingRule rule, double prev_lead, double prev_tail);

// Applies the bonus, the caps (speed, stamina, ceiling, floor), a stride
// made random by `r` (the source's next number, 0 <= r < 1: one per move),
// its stamina cost and the sprite's place in `view` (none in kNone).
void MoveHorse(Horse& horse, double bonus, View view, double prev_lead, float r);

}  // namespace trotix
