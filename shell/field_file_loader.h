// Finding and reading the horse data file beside the executable.
#pragma once

#include <QString>

#include <optional>

#include "field_file.h"

namespace trotix {

// The six horses of `directory`/horsedat.txt, or nothing when there is no
// such ordinary file or it is refused. A refusal is told in one line on
// standard error naming the file, the line and what is wrong with it.
std::optional<FieldRecords> LoadFieldFile(const QString& directory);

}  // namespace trotix
