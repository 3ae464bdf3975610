// The ledger on the desktop: Trotix-ledger.ini beside Trotix.ini, in the
// same place by the same rules, written by the same careful code (an atomic
// replace, never through a link, in a folder no one else can change).
// A ledger that cannot be used (damaged, huge, a link, a folder, unreadable)
// is moved aside under a new name, never overwritten, and the game plays on
// with a new purse.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "ledger.h"
#include "platform/file_locations.h"

namespace trotix {

inline constexpr const char* kLedgerFileName = "Trotix-ledger.ini";

// The ledger file that goes with Trotix.ini at `position_file`.
std::string LedgerPathBeside(const std::string& position_file);

struct LedgerLoad {
  LedgerRead read;       // what was kept, or a new purse
  std::string notice;    // one line for the player when the file was not used; else empty
  std::string kept_as;   // where an unusable file was moved; else empty
};

LedgerLoad LoadLedgerFile(const std::string& path);

// Stores the purse, the refill count and, when given, race line `number`
// (counted from 1). "" when stored, else one line saying why not.
std::string StoreLedger(const std::string& path, std::int64_t purse, int refills,
                        const std::optional<LedgerEntry>& entry = std::nullopt, std::size_t number = 0);

}  // namespace trotix
