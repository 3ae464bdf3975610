// Where the window reopens: the top-left corner of its frame, in twips,
// kept in Trotix.ini beside the executable or in the user's folder
// (platform/file_locations.h).
#include <QMoveEvent>

#include <algorithm>
#include <cstdio>

#include "platform/screens.h"
#include "qt_main_window.h"

#include "tickets_window.h"
#include "position_text.h"
#include "private_profile.h"
#include "profile_file.h"
#include "terminal_text.h"
#include "trusted_path.h"
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
// followed, as dotfile managers expect, when no one else could have put it
// there.
LinkPolicy PositionLinkPolicy(FilePlace place) {
  return place == FilePlace::kUserFolder ? LinkPolicy::kFollowToOwnFile : LinkPolicy::kRefuse;
}

// One line on standard error for a position that was not read or not
// stored as it should have been; nothing when all went well.
void Tell(ProfileFileStatus status, const std::string& path, const std::string& untrusted_path, bool saving) {
  const std::string shown = TerminalSafe(path), untrusted = TerminalSafe(untrusted_path);
  const char* file = shown.c_str();
  const char* read_or_stored = saving ? "stored in" : "read from";
  switch (status) {
    case ProfileFileStatus::kOk:
    case ProfileFileStatus::kMissing:
      return;
    case ProfileFileStatus::kSymbolicLink:
      std::fprintf(stderr, "Trotix: %s is a symbolic link, not an ordinary file; the window position is not %s it\n",
                   file, read_or_stored);
      return;
    case ProfileFileStatus::kUntrusted:
      std::fprintf(stderr, "Trotix: %s could be changed by someone other than you or root; the window position is not %s %s\n",
                   untrusted.c_str(), read_or_stored, file);
      return;
    case ProfileFileStatus::kReadOnly:
      std::fprintf(stderr, "Trotix: %s is read-only, so the window position in it stays as it is\n", file);
      return;
    case ProfileFileStatus::kUnknownEncoding:
      std::fprintf(stderr, "Trotix: %s is in an encoding the game cannot write back (UTF-16 or UTF-32 without a byte-order mark?); the window position is not stored in it\n",
                   file);
      return;
    case ProfileFileStatus::kSavedWithoutLock:
      std::fprintf(stderr, "Trotix: another process held the lock on the folder of %s for %lld s; the window position was stored without it\n",
                   file, static_cast<long long>(kProfileLockWait.count() / 1000));
      return;
    default:
      if (saving) std::fprintf(stderr, "Trotix: the window position could not be stored in %s\n", file);
      return;
  }
}

}  // namespace

std::string QtMainWindow::PositionFilePath() const { return platform_.files.PositionFile(); }

void QtMainWindow::LoadWindowPosition() {
  const std::string path = PositionFilePath();
  const ProfileFileRead file = ReadProfileFile(path, PositionLinkPolicy(platform_.files.position_place));
  Tell(file.status, path, file.untrusted, false);
  const float top = ParsePositionValue(GetProfileString(file.text, kSection, "Top", "0", kValueBufferSize));
  const float left = ParsePositionValue(GetProfileString(file.text, kSection, "Left", "0", kValueBufferSize));
  // Applied as stored, unless its title bar would be on no screen. The
  // frame is not known before the window is shown: the place is reckoned
  // again once it is (moveEvent), so that a window put back lies on a screen
  // frame and all.
  stored_position_ = QPoint(WindowCoordinate(left), WindowCoordinate(top));
  placed_in_frame_ = false;
  move(ReachablePosition(stored_position_, size(), FrameAround()));
  placed_at_ = last_position_ = pos();
}

// Once, when the frame is first known, unless the window was moved since.
void QtMainWindow::PlaceInFrame() {
  if (placed_in_frame_ || !isVisible() || FrameAround().isNull()) return;
  placed_in_frame_ = true;
  if (pos() != placed_at_) return;
  const QPoint at = ReachablePosition(stored_position_, size(), FrameAround());
  if (at != pos()) move(at);
}

QMargins QtMainWindow::FrameAround() const {
  const QRect frame = frameGeometry(), inside = geometry();
  return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
          frame.bottom() - inside.bottom()};
}

// The position the window last knew: asked at a close, reported by the
// last move at an exit, which may no longer ask the window system.
void QtMainWindow::SaveWindowPosition() { StorePosition(last_position_); }

void QtMainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  PlaceInFrame();
  last_position_ = pos();
}

void QtMainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  PlaceInFrame();
}

void QtMainWindow::SaveBeforeExit() {
  if (form_.unloaded()) return;
  std::int16_t cancel = 0;
  form_.Form_Unload(cancel);
  tickets_->GameClosing();
}

// Plain data and POSIX calls only, with no word to the window system: this
// also runs from exit() after the display has gone.
void QtMainWindow::StorePosition(QPoint frame) {
  const PositionSave place = platform_.files.PositionFileForSave();
  if (!place.problem.empty()) {
    std::fprintf(stderr, "Trotix: %s\n", place.problem.c_str());
    return;
  }
  const std::string& path = place.path;
  // The user's folder is made on the first save.
  if (const std::string failed = place.may_make_folder ? MakeTrustedFolder(FolderOf(path)) : ""; !failed.empty()) {
    std::fprintf(stderr, "Trotix: the folder %s could not be made safely, so the window position is not stored in %s\n",
                 TerminalSafe(failed).c_str(), TerminalSafe(path).c_str());
    return;
  }
  const auto twips = [](int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); };
  const std::string top = FormatGeneralNumber(twips(frame.y()));
  const std::string left = FormatGeneralNumber(twips(frame.x()));
  // Both keys in one locked read-modify-write: two copies closing at once
  // leave the position of one of them, never Top of one and Left of the other.
  const ProfileSetting settings[] = {{"Top", top}, {"Left", left}};
  const ProfileSaveResult saved =
      WriteProfileStrings(kSection, settings, path, PositionLinkPolicy(platform_.files.position_place));
  Tell(saved.status, path, saved.untrusted, true);
}

}  // namespace trotix
