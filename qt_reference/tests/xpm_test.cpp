#include "xpm.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

#include "bitmap_sources.h"

namespace trotix {
namespace {

// Every bitmap decodes to the pixels Qt's own XPM reader finds in its source.
TEST(DecodeXpm, AgreesWithQtOnEveryBitmap) {
  for (const BitmapSource& source : BitmapSources()) {
    const std::optional<Surface> decoded = DecodeXpm(source.xpm);
    ASSERT_TRUE(decoded.has_value()) << source.id;
    const QImage qt = QImage(QStringLiteral(TROTIX_BITMAPS_DIR "/%1.xpm").arg(source.id))
                          .convertToFormat(QImage::Format_RGBX8888);
    ASSERT_EQ(qt.width(), decoded->width()) << source.id;
    ASSERT_EQ(qt.height(), decoded->height()) << source.id;
    for (int y = 0; y < qt.height(); ++y) {
      ASSERT_EQ(std::memcmp(qt.constScanLine(y), decoded->Row(y), 4 * static_cast<std::size_t>(qt.width())), 0)
          << source.id << " row " << y;
    }
  }
}

TEST(DecodeXpm, RefusesWhatIsNotAPicture) {
  const char* const short_row[] = {"2 1 1 1", ". c #FFFFFF", "."};
  const char* const unknown_key[] = {"2 1 1 1", ". c #FFFFFF", ".#"};
  const char* const no_colour[] = {"1 1 1 1", ". s None", "."};
  const char* const missing_rows[] = {"1 2 1 1", ". c #000000", "."};
  const char* const bad_header[] = {"1 1 x 1", ". c #000000", "."};
  for (const auto& lines : {std::span<const char* const>(short_row), std::span<const char* const>(unknown_key),
                            std::span<const char* const>(no_colour), std::span<const char* const>(missing_rows),
                            std::span<const char* const>(bad_header)}) {
    EXPECT_FALSE(DecodeXpm(lines).has_value()) << lines[0] << " / " << lines.back();
  }
}

}  // namespace
}  // namespace trotix
