// The desktop's screens for the window's placement (screen_placement.h).
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>

namespace trotix {

// `frame`, the stored top-left corner, as PlaceOnScreens moves it for the
// screens there are now, the window `size` large in a frame adding `margins`.
QPoint ReachablePosition(QPoint frame, QSize size, QMargins margins);

}  // namespace trotix
