// Dumps one scripted race as the main window runs it (a field at load, a
// fresh one at Run, a clock 200 ms further at every tick), pictures as raw
// bytes: 180 x 120 pixels of red, green, blue and 0xff, row by row. Other
// front ends compare what they show against these files.
// FOLDER/frames.txt says after how many ticks each named frame came, one
// "name ticks" line a frame; the clock stood at 10:00 (36000 s) when Run was
// pressed. FOLDER/steps.txt has a line for the window after each handler
// (loading, Run, every tick): "ticks phase run bar_value bar_colour", run 1
// while Run is enabled, the colour as 0x00BBGGRR in hex; FOLDER/steps.rgba
// holds the race picture after each of them, one after the other.
//
//   frame_dump SEED FOLDER     writes FOLDER/start.rgba ... FOLDER/board.rgba
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scripted_race.h"

namespace {

bool WritePicture(std::FILE* file, const trotix::Surface& picture) {
  bool written = file != nullptr;
  for (int y = 0; written && y < picture.height(); ++y) {
    const auto width = static_cast<std::size_t>(picture.width());
    written = std::fwrite(picture.Row(y), sizeof(trotix::Pixel), width, file) == width;
  }
  return written;
}

}  // namespace

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
  std::FILE* steps = std::fopen((folder + "/steps.txt").c_str(), "w");
  std::FILE* step_pictures = std::fopen((folder + "/steps.rgba").c_str(), "wb");
  bool ok = index != nullptr && steps != nullptr && step_pictures != nullptr;
  trotix::testing::RunScriptedRace(
      [&](std::string_view name, const trotix::Surface& picture, const trotix::RaceState&, int ticks) {
        const std::string path = folder + "/" + std::string(name) + ".rgba";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        bool written = WritePicture(file, picture);
        if (file != nullptr && std::fclose(file) != 0) written = false;
        if (index != nullptr && std::fprintf(index, "%.*s %d\n", static_cast<int>(name.size()), name.data(), ticks) < 0) {
          written = false;
        }
        if (!written) std::fprintf(stderr, "frame_dump: cannot write %s\n", path.c_str());
        ok = ok && written;
      },
      seed, 2,
      [&](const trotix::frmMain& window) {
        if (!ok) return;
        const trotix::ControlsState& controls = window.controls();
        ok = std::fprintf(steps, "%lld %d %d %d %06x\n", static_cast<long long>(window.ticks()), window.race().Phase,
                          controls.run_enabled ? 1 : 0, controls.bar_value, controls.bar_colour) > 0 &&
             WritePicture(step_pictures, window.picMain());
      });
  for (std::FILE* file : {index, steps, step_pictures}) {
    if (file == nullptr || std::fclose(file) != 0) ok = false;
  }
  if (!ok) std::fprintf(stderr, "frame_dump: cannot write every file in %s\n", folder.c_str());
  return ok ? 0 : 1;
}
