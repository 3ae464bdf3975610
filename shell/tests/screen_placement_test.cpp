#include "platform/screen_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace trotix {
namespace {

// The game's window, 187 x 150, placed among screens; a stored place off
// every screen once left an 18 x 17 px corner of it in view.
TEST(PlaceOnScreens, ATitleBarOnNoScreenOpensOnTheNearest) {
  const ScreenRect left_screen{0, 0, 1920, 1080};
  const ScreenRect right_screen{1920, 0, 1280, 1024};  // shorter, beside the first
  const std::vector<ScreenRect> two = {left_screen, right_screen};
  const std::vector<ScreenRect> one = {left_screen};
  struct Case {
    const char* what;
    std::vector<ScreenRect> screens;
    ScreenPoint stored;
    ScreenPoint opens;
    FrameMargins margins = {};
  };
  const FrameMargins frame{1, 20, 1, 1};  // the frame 189 x 171 around the window
  const std::vector<ScreenRect> side_by_side = {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}};
  const std::vector<Case> cases = {
      {"well inside", one, {100, 200}, {100, 200}},
      {"the top-left corner", one, {0, 0}, {0, 0}},
      {"half off the left edge, the title bar still grabbable", one, {-150, 300}, {-150, 300}},
      {"only 18 px of the title bar left in view", one, {-169, 300}, {0, 300}},
      {"only a corner in view, above and left", one, {-169, -133}, {0, 0}},
      {"title bar above the screen, the rest on it", one, {500, -10}, {500, 0}},
      {"title bar below the bottom edge", one, {500, 1070}, {500, 930}},
      {"on the second screen", two, {2500, 800}, {2500, 800}},
      {"the second screen unplugged", one, {2500, 800}, {1733, 800}},
      {"below the shorter screen, beside the taller", two, {2500, 1050}, {2500, 874}},
      {"far out, nearest the second screen", two, {66666667, -66666667}, {3013, 0}},
      {"far out to the left and below", two, {-66666667, 66666667}, {0, 930}},
      {"a screen smaller than the window", {{100, 50, 160, 120}}, {-900, 900}, {100, 50}},
      {"no screens known", {}, {-5000, -5000}, {-5000, -5000}},
      {"the whole frame put back, not just the window", {{0, 0, 1280, 1024}}, {4000, 3000}, {1091, 853}, frame},
      {"the dead corner below the shorter screen", side_by_side, {1500, 900}, {1500, 597}, frame},
      {"a frame put back beside the left edge", one, {-900, 300}, {0, 300}, frame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScreenPoint opens = PlaceOnScreens(c.stored, 187, 150, c.margins, c.screens);
    EXPECT_TRUE(opens == c.opens) << opens.x << ", " << opens.y;
  }
}

}  // namespace
}  // namespace trotix
