#include "field_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "field_setup.h"

namespace trotix::sim {

FieldInput ReadFieldFile(const std::string& path) {
  FieldInput input;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) {
    input.error = path + ": no such file";
    return input;
  }
  if (!std::filesystem::is_regular_file(status)) {
    input.error = path + " is not an ordinary file";
    return input;
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    input.error = path + " cannot be read (" + std::strerror(errno) + ")";
    return input;
  }
  // One byte more than is ever parsed tells whether the file goes on.
  std::string head(kFieldFileReadLimit + 1, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  if (std::ferror(file.get())) {
    input.error = path + " cannot be read (" + std::strerror(errno) + ")";
    return input;
  }
  const FieldFileParse parsed = ParseFieldFileStart(head);
  if (!parsed.ok) {
    input.error = path + ", line " + std::to_string(parsed.line) + " " + parsed.problem;
    return input;
  }
  input.ok = true;
  input.horses = parsed.horses;
  return input;
}

FieldRecords DrawRandomField(std::uint64_t seed) {
  Pcg32Random random(seed);
  RaceState race;
  SetUpField(race, random, nullptr);
  FieldRecords field{};
  for (std::size_t h = 0; h < kHorseCount; ++h) {
    field[h] = {race.Horses[h].Speed, race.Horses[h].Stamina, race.Horses[h].Style};
  }
  return field;
}

}  // namespace trotix::sim
