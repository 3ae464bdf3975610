#include "screens.h"

#include <QGuiApplication>
#include <QScreen>

#include <vector>

#include "screen_placement.h"

namespace trotix {

QPoint ReachablePosition(QPoint frame, QSize size, QMargins margins) {
  std::vector<ScreenRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    screens.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  const FrameMargins around{margins.left(), margins.top(), margins.right(), margins.bottom()};
  const ScreenPoint at = PlaceOnScreens({frame.x(), frame.y()}, size.width(), size.height(), around, screens);
  return {at.x, at.y};
}

}  // namespace trotix
