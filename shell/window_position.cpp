// Where the window reopens: the top-left corner of its frame, in twips,
// kept in Trotix.ini beside the executable or in the user's folder
// (platform/file_locations.h).
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#include "frm_main.h"
#include "position_text.h"
#include "private_profile.h"
#include "profile_file.h"
#include "twips.h"

namespace trotix {

namespace {
constexpr const char* kSection = "Trotix";
constexpr std::size_t kValueBufferSize = 1024;

// Twips to a window coordinate. Any stored value is applied, but a float
// can hold far more than a screen coordinate: beyond a billion twips (some
// 67 million pixels, off every screen there is) it is held at that bound.
int WindowCoordinate(float twips) {
  constexpr double kFarthest = 1.0e9;
  return TwipsToPixels(std::clamp(static_cast<double>(twips), -kFarthest, kFarthest));
}

// Beside the program a link named Trotix.ini is never an ordinary file of
// the game's. In the user's own folder a link to a file of the user's is
// followed, as dotfile managers expect.
LinkPolicy PositionLinkPolicy(FilePlace place) {
  return place == FilePlace::kUserFolder ? LinkPolicy::kFollowToOwnFile : LinkPolicy::kRefuse;
}

}  // namespace

QString frmMain::PositionFilePath() const {
  return platform_.files.PositionFile();
}

void frmMain::LoadWindowPosition() {
  const QString path = PositionFilePath();
  const ProfileFileRead file = ReadProfileFile(path, PositionLinkPolicy(platform_.files.position_place));
  if (file.status == ProfileFileStatus::kSymbolicLink) {
    std::fprintf(stderr, "Trotix: %s is a symbolic link, not an ordinary file; the window position is not read from it\n",
                 qPrintable(QDir::toNativeSeparators(path)));
  }
  const float top = ParsePositionValue(GetProfileString(file.text, kSection, "Top", "0", kValueBufferSize));
  const float left = ParsePositionValue(GetProfileString(file.text, kSection, "Left", "0", kValueBufferSize));
  // Applied as stored, also where the window cannot be seen.
  move(WindowCoordinate(left), WindowCoordinate(top));
}

void frmMain::SaveWindowPosition() {
  const QString path = PositionFilePath();
  QDir().mkpath(QFileInfo(path).absolutePath());  // the user's folder is made on the first save
  const auto twips = [](int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); };
  const std::string top = FormatGeneralNumber(twips(y()));
  const std::string left = FormatGeneralNumber(twips(x()));
  // Both keys in one locked read-modify-write: two copies closing at once
  // leave the position of one of them, never Top of one and Left of the other.
  const ProfileSetting settings[] = {{"Top", top}, {"Left", left}};
  const ProfileFileStatus saved = WriteProfileStrings(kSection, settings, path, PositionLinkPolicy(platform_.files.position_place));
  if (saved == ProfileFileStatus::kSymbolicLink) {
    std::fprintf(stderr, "Trotix: %s is a symbolic link, not an ordinary file; the window position is not stored in it\n",
                 qPrintable(QDir::toNativeSeparators(path)));
  } else if (saved != ProfileFileStatus::kOk) {
    std::fprintf(stderr, "Trotix: the window position could not be stored in %s\n",
                 qPrintable(QDir::toNativeSeparators(path)));
  }
}

}  // namespace trotix
