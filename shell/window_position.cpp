// Where the window reopens: the top-left corner of its frame, in twips,
// kept in Trotix.ini beside the executable.
#include <QDir>

#include <cstdio>

#include "frm_main.h"
#include "position_text.h"
#include "profile_file.h"
#include "twips.h"

namespace trotix {

namespace {
constexpr const char* kSection = "Trotix";
constexpr std::size_t kValueBufferSize = 1024;
}  // namespace

QString frmMain::PositionFilePath() const {
  return QDir(platform_.program_dir).filePath(QStringLiteral("Trotix.ini"));
}

void frmMain::LoadWindowPosition() {
  const QString path = PositionFilePath();
  const float top = ParsePositionValue(GetPrivateProfileString(kSection, "Top", "0", kValueBufferSize, path));
  const float left = ParsePositionValue(GetPrivateProfileString(kSection, "Left", "0", kValueBufferSize, path));
  // Applied as stored, also where the window cannot be seen.
  move(TwipsToPixels(static_cast<double>(left)), TwipsToPixels(static_cast<double>(top)));
}

void frmMain::SaveWindowPosition() {
  const QString path = PositionFilePath();
  const auto twips = [](int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); };
  const bool saved = WritePrivateProfileString(kSection, "Top", FormatGeneralNumber(twips(y())), path) &&
                     WritePrivateProfileString(kSection, "Left", FormatGeneralNumber(twips(x())), path);
  if (!saved) {
    std::fprintf(stderr, "Trotix: the window position could not be stored in %s\n",
                 qPrintable(QDir::toNativeSeparators(path)));
  }
}

}  // namespace trotix
