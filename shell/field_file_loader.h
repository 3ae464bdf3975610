// The horse data file as the game takes it: the field it gives, or nothing
// for a random field, with a refusal told in one line on standard error.
#pragma once

#include <optional>
#include <string>

#include "field_file.h"

namespace trotix {

// The six horses of the file at `path` (bytes, as the system names it), or
// nothing when there is no such file or it is refused.
std::optional<FieldRecords> LoadFieldFile(const std::string& path);

}  // namespace trotix
