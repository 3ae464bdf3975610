// The frames the page must show for one seeded race on a scripted clock,
// made natively from the same front end: loaded, F5, then one tick every
// 200 ms of scripted time until the board. The browser test holds the
// canvas against them.
//
//   web_frame_dump SEED FOLDER
//
// FOLDER/index.txt has a line a frame, "frame ticks phase run hash full":
// run is 1 while the Run button is enabled, hash the FNV-1a (32 bits, hex)
// of the frame's bytes, full 1 where FOLDER/frame-NNNN.rgba holds the bytes
// themselves: the first frames, the first of every phase, and the board.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "front_end.h"

namespace trotix::web {
namespace {

std::uint32_t Fnv1a(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

// Time as the page's scripted clock keeps it: whole milliseconds, read in
// seconds.
class ScriptedClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return static_cast<float>(ms / 1000.0); }
  double ms = 0;
};

class Recorder final : public PageHost {
 public:
  Recorder(std::string folder, std::FILE* index) : folder_(std::move(folder)), index_(index) {}
  void StartTimer(int interval_ms) override { interval = interval_ms; }
  void StopTimer() override { interval = 0; }
  void Present(const WindowSurface& window) override { last_ = &window; }

  // Writes the frame last presented, with the state after the handler.
  bool Record(const FrontEnd& game, bool last) {
    const std::int32_t phase = game.race().Phase;
    const bool full = frames_ < 2 || phase != last_phase_ || last;
    last_phase_ = phase;
    std::fprintf(index_, "%d %lld %d %d %08x %d\n", frames_, static_cast<long long>(game.ticks()), phase,
                 game.run_enabled() ? 1 : 0, Fnv1a(last_->bytes(), last_->size()), full ? 1 : 0);
    if (full) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%04d.rgba", frames_);
      std::FILE* out = std::fopen((folder_ + name).c_str(), "wb");
      if (out == nullptr || std::fwrite(last_->bytes(), 1, last_->size(), out) != last_->size()) return false;
      if (std::fclose(out) != 0) return false;
    }
    ++frames_;
    return true;
  }

  int interval = 0;

 private:
  std::string folder_;
  std::FILE* index_;
  const WindowSurface* last_ = nullptr;
  int frames_ = 0;
  std::int32_t last_phase_ = -1;
};

int Run(std::uint64_t seed, const std::string& folder) {
  std::FILE* index = std::fopen((folder + "/index.txt").c_str(), "w");
  if (index == nullptr) {
    std::fprintf(stderr, "web_frame_dump: %s/index.txt: %s\n", folder.c_str(), std::strerror(errno));
    return 1;
  }
  ScriptedClock clock;
  Recorder page(folder, index);
  FrontEnd game(clock, page);
  bool ok = true;
  game.Form_Load(seed);
  ok = ok && page.Record(game, false);
  game.Form_KeyUp(kVkF5);
  ok = ok && page.Record(game, false);
  // A race ends within some 700 ticks; the bound only stops a broken one.
  for (int tick = 0; ok && page.interval > 0 && tick < 10000; ++tick) {
    clock.ms += page.interval;
    game.Timer1_Timer();
    ok = page.Record(game, page.interval == 0);
  }
  ok = ok && page.interval == 0;
  if (std::fclose(index) != 0 || !ok) {
    std::fprintf(stderr, "web_frame_dump: could not write every frame to %s\n", folder.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace trotix::web

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: web_frame_dump SEED FOLDER\n");
    return 2;
  }
  return trotix::web::Run(std::strtoull(argv[1], nullptr, 10), argv[2]);
}
