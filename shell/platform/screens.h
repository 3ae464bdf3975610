// The desktop's screens for the window's placement (screen_placement.h).
#pragma once

#include <QPoint>
#include <QSize>

namespace trotix {

// `frame`, the window's stored top-left corner, as PlaceOnScreens moves it
// for the screens there are now, the window being `size` large.
QPoint ReachablePosition(QPoint frame, QSize size);

}  // namespace trotix
