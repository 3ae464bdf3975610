#include "stand_in_picture.h"

#include <algorithm>
#include <array>

#include "track.h"
#include "window_controls.h"

namespace trotix::web {

namespace {

// The six saddle-cloth colours of Japanese racing, horse 1 to 6.
constexpr std::array<Rgb, kHorseCount> kClothColours{{
    {255, 255, 255}, {0, 0, 0}, {230, 0, 18}, {0, 64, 224}, {255, 230, 0}, {0, 150, 64},
}};
constexpr Rgb kDirt{128, 64, 0};
constexpr Rgb kTurf{0, 128, 0};
constexpr Rgb kLine{255, 255, 255};

constexpr int kMargin = 5;
constexpr int kLaneHeight = 17;
constexpr int kBarHeight = 9;

int LaneTop(std::size_t lane) { return kPicMain.top + 12 + static_cast<int>(lane) * kLaneHeight; }
int Run() { return kPicMain.width - 2 * kMargin; }  // pixels from the start to the line

void Bar(WindowSurface& window, std::size_t lane, int length, Rgb colour) {
  const int right = kPicMain.left + kPicMain.width - kMargin;
  window.Fill({right - length, LaneTop(lane), length, kBarHeight}, colour);
}

}  // namespace

void DrawStandInScene(const RaceState& race, WindowSurface& window) {
  window.Fill(kPicMain, kDirt);
  window.Fill({kPicMain.left + kMargin - 1, kPicMain.top, 1, kPicMain.height}, kLine);
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const double run = std::clamp(race.Horses[i].Position / kRaceMetres, 0.0, 1.0);
    Bar(window, i, 1 + static_cast<int>(run * (Run() - 1) + 0.5), kClothColours[i]);
  }
}

void DrawStandInBoard(const RaceState& race, WindowSurface& window) {
  window.Fill(kPicMain, kTurf);
  const auto places = static_cast<std::size_t>(std::clamp(race.FinishCount, 0, static_cast<int>(kHorseCount)));
  for (std::size_t place = 0; place < places; ++place) {
    const auto horse = static_cast<std::size_t>(race.FinishOrder[place].HorseIndex) % kHorseCount;
    const int length = Run() * static_cast<int>(kHorseCount - place) / static_cast<int>(kHorseCount);
    Bar(window, place, length, kClothColours[horse]);
  }
}

}  // namespace trotix::web
