// The lab's races on the race card the player is buying on: the card's
// field raced many times over, and what came of it as the tickets' desk
// takes it, each horse's and each pair's true chance with its 95% interval.
#pragma once

#include <cstdint>
#include <optional>

#include "figures.h"
#include "race_blocks.h"
#include "race_card.h"
#include "ticket_worth.h"

namespace trotix::sim {

// A measurement of the card's chances, the same on the desktop and in the
// page: this many races from this seed, so a card reads the same wherever
// it is measured. 100,000 races make a win's 95% interval about half a
// per cent wide.
inline constexpr std::uint64_t kCardChancesRaces = 100'000;
inline constexpr std::uint64_t kCardChancesSeed = 20'261'210;

// The run of `races` races of the card's field (its speeds, staminas and
// styles; the odds follow from them) from `seed`.
RunSetup CardRunSetup(const RaceCard& card, std::uint64_t seed, std::uint64_t races);

// The chances of `card` from the figures of a run of its field: the share
// of races each horse won and each pair came first and second, with their
// 95% intervals. Figures of random fields hold no chances: all stay 0.
CardChances CardChancesOf(const RaceCard& card, const Figures& figures);

// The chances as the page hands them across, from the lab's figures in its
// workers to the game: the races, then each horse's win as share, low and
// high of its 95% interval, then each pair's, in the lab's order (1-2, 1-3,
// .. 5-6).
inline constexpr std::size_t kCardChancesNumbers = 1 + 3 * (kHorseCount + kPairCount);

// The chances of `card` from those numbers; nothing when they cannot be a
// measurement (no races, or a share or bound not within 0 .. 1 in order).
std::optional<CardChances> CardChancesOfNumbers(const RaceCard& card, const double* numbers);

}  // namespace trotix::sim
