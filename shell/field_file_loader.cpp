#include "field_file_loader.h"

#include <cstdio>

#include "field_file_reader.h"
#include "terminal_text.h"
#include "texts.h"

namespace trotix {

std::optional<FieldRecords> LoadFieldFile(const std::string& path) {
  const FieldFileRead read = ReadFieldFile(path);
  if (read.status == FieldFileStatus::kRefused) {
    std::fprintf(stderr, "Trotix: %s; %s\n", TerminalSafe(read.message).c_str(), std::string(kRandomFieldNote).c_str());
  }
  if (read.status != FieldFileStatus::kRead) return std::nullopt;
  return read.horses;
}

}  // namespace trotix
