#include "run_pictogram.h"

#include <optional>
#include <span>

#include "xpm.h"

namespace trotix {

namespace {
#include "run_pictogram.xpm"
}  // namespace

const Surface& RunPictogram() {
  static const Surface pictogram = [] {
    std::optional<Surface> decoded = DecodeXpm(std::span<const char* const>(run_xpm));
    return decoded ? *decoded : Surface();  // an empty button rather than none: it decodes in every build
  }();
  return pictogram;
}

}  // namespace trotix
