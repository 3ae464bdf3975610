// What the page must show for one seeded race on a scripted clock, made
// natively from the same adapter over the main window: loaded, F7, F5, then one tick every
// 200 ms of scripted time until the board, and F7 again. The clock stands at
// 10:00 when the page loads, as the page's scripted clock does. The browser
// test holds the page against it.
//
//   web_frame_dump SEED FOLDER [FIELD_FILE]
//
// FOLDER/index.txt has a line a frame, "frame ticks phase run hash full":
// run is 1 while the Run button is enabled, hash the FNV-1a (32 bits, hex)
// of the whole window's bytes, full 1 where FOLDER/frame-NNNN.rgba holds the
// bytes themselves: the first frames, the first of every phase, and the
// board. FOLDER/listing-load.txt and listing-board.txt hold the F7 listing
// before and after the race. With FIELD_FILE, that horse data file is opened
// first, as the page opens a chosen one, and FOLDER/notice.txt holds what the
// player is told of it.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "front_end.h"
#include "main_window_layout.h"
#include "scripted_clock.h"
#include "scripted_race.h"

namespace trotix::web {
namespace {

std::uint32_t Fnv1a(const Surface& window) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(window.data());
  const std::size_t size = static_cast<std::size_t>(window.height()) * window.stride() * sizeof(Pixel);
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

bool WriteFile(const std::string& path, const void* bytes, std::size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}

class Recorder final : public PageHost {
 public:
  Recorder(std::string folder, std::FILE* index) : folder_(std::move(folder)), index_(index) {}
  void StartTimer(int interval_ms) override { interval = interval_ms; }
  void StopTimer() override { interval = 0; }
  void Present(const Surface& window) override { last_ = &window; }
  void ShowFieldListing(std::string_view, std::string_view text) override { listing.assign(text); }
  void ShowFieldFileNotice(std::string_view text, std::size_t) override { notice.assign(text); }
  void Announce(std::string_view) override {}
  void ToggleTickets() override {}
  std::string LocalDate() override { return {}; }

  // Writes the frame last presented, with the state after the handler.
  bool Record(const frmMain& game, bool last) {
    const std::int32_t phase = game.race().Phase;
    const bool full = frames_ < 2 || phase != last_phase_ || last;
    last_phase_ = phase;
    std::fprintf(index_, "%d %lld %d %d %08x %d\n", frames_, static_cast<long long>(game.ticks()), phase,
                 game.run_enabled() ? 1 : 0, Fnv1a(*last_), full ? 1 : 0);
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%04d.rgba", frames_);
    ++frames_;
    const std::size_t size = static_cast<std::size_t>(last_->height()) * last_->stride() * sizeof(Pixel);
    return !full || WriteFile(folder_ + name, last_->data(), size);
  }

  bool Keep(const char* name, const std::string& text) const { return WriteFile(folder_ + name, text.data(), text.size()); }

  int interval = 0;
  std::string listing;
  std::string notice;

 private:
  std::string folder_;
  std::FILE* index_;
  const Surface* last_ = nullptr;
  int frames_ = 0;
  std::int32_t last_phase_ = -1;
};

int Run(std::uint64_t seed, const std::string& folder, const char* field_file) {
  std::FILE* index = std::fopen((folder + "/index.txt").c_str(), "w");
  if (index == nullptr) {
    std::fprintf(stderr, "web_frame_dump: %s/index.txt: %s\n", folder.c_str(), std::strerror(errno));
    return 1;
  }
  testing::ScriptedClock clock;
  Recorder page(folder, index);
  FrontEnd front_end(clock, page);
  frmMain& game = front_end.form();
  bool ok = true;
  if (field_file != nullptr) {
    std::ifstream in(field_file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string path = field_file;
    front_end.OpenFieldFile(path.substr(path.find_last_of('/') + 1), bytes);
    ok = in.good() || in.eof();
    ok = page.Keep("/notice.txt", page.notice) && ok;
  }
  game.Form_Load(seed);
  ok = ok && page.Record(game, false);
  game.Form_KeyUp(kVkF7, 0);
  ok = ok && page.Keep("/listing-load.txt", page.listing);
  // The race as the shared driver runs it: F5, then a tick every interval.
  const bool ended = testing::DriveRace(game, clock, page.interval, [&](const frmMain& window) {
    ok = ok && page.Record(window, page.interval == 0 && window.ticks() > 0);
  });
  ok = ok && ended;
  game.Form_KeyUp(kVkF7, 0);
  ok = ok && page.Keep("/listing-board.txt", page.listing);
  if (std::fclose(index) != 0 || !ok) {
    std::fprintf(stderr, "web_frame_dump: could not write every frame to %s\n", folder.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace trotix::web

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: web_frame_dump SEED FOLDER [FIELD_FILE]\n");
    return 2;
  }
  return trotix::web::Run(std::strtoull(argv[1], nullptr, 10), argv[2], argc == 4 ? argv[3] : nullptr);
}
