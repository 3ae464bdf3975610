// Reading the horse data file from disk, for the game and the simulator
// alike: its first bytes, read without ever waiting on a pipe or a device,
// then parsed with the same refusals everywhere.
#pragma once

#include <string>

#include "field_file.h"

namespace trotix {

enum class FieldFileStatus {
  kAbsent,   // no file of that name: the game makes a field up at random
  kRefused,  // there, but not an ordinary file, unreadable, or breaking a limit
  kRead,
};

struct FieldFileRead {
  FieldFileStatus status = FieldFileStatus::kAbsent;
  FieldRecords horses{};
  std::string message;  // when refused: one line naming the file and the fault
};

// The file's name and first bytes, before any parsing: up to
// kFieldFileReadLimit + 1 of them, the byte past the limit telling that the
// file goes on.
struct FieldFileBytes {
  FieldFileStatus status = FieldFileStatus::kAbsent;  // kRead: `first_bytes` holds what was read
  std::string name;
  std::string first_bytes;
  std::string message;  // when refused: one line naming the file and why it cannot be read
};

FieldFileBytes ReadFieldFileBytes(const std::string& path);

// `path` is kept as the bytes it is: a file name need not be valid UTF-8.
// A FIFO, a device or a folder of that name is refused like any other
// file that cannot be read, and is never waited on.
FieldFileRead ReadFieldFile(const std::string& path);

}  // namespace trotix
