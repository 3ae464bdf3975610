// Dumps the named frames of one scripted race as the window would run it
// (a field at load, a fresh one at Run, a clock 200 ms further at every
// tick), as raw bytes: 180 x 120 pixels of red, green, blue and 0xff, row by
// row. Other front ends compare what they show against these files.
// FOLDER/frames.txt says after how many ticks each came, one "name ticks"
// line a frame; the clock stood at 10:00 (36000 s) when Run was pressed.
//
//   frame_dump SEED FOLDER     writes FOLDER/start.rgba ... FOLDER/board.rgba
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scripted_race.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: frame_dump SEED FOLDER\n");
    return 2;
  }
  char* end = nullptr;
  const unsigned long long seed = std::strtoull(argv[1], &end, 10);
  if (end == argv[1] || *end != '\0') {
    std::fprintf(stderr, "frame_dump: '%s' is not a seed\n", argv[1]);
    return 2;
  }
  const std::string folder = argv[2];
  std::FILE* index = std::fopen((folder + "/frames.txt").c_str(), "w");
  bool ok = index != nullptr;
  trotix::testing::RunScriptedRace(
      [&](std::string_view name, const trotix::Surface& picture, const trotix::RaceState&, int ticks) {
        const std::string path = folder + "/" + std::string(name) + ".rgba";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        bool written = file != nullptr;
        for (int y = 0; written && y < picture.height(); ++y) {
          const auto width = static_cast<std::size_t>(picture.width());
          written = std::fwrite(picture.Row(y), sizeof(trotix::Pixel), width, file) == width;
        }
        if (file != nullptr && std::fclose(file) != 0) written = false;
        if (index != nullptr && std::fprintf(index, "%.*s %d\n", static_cast<int>(name.size()), name.data(), ticks) < 0) {
          written = false;
        }
        if (!written) std::fprintf(stderr, "frame_dump: cannot write %s\n", path.c_str());
        ok = ok && written;
      },
      seed, 2);
  if (index == nullptr || std::fclose(index) != 0) {
    std::fprintf(stderr, "frame_dump: cannot write %s/frames.txt\n", folder.c_str());
    ok = false;
  }
  return ok ? 0 : 1;
}
