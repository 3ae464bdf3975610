// The main window on the desktop: Qt's widgets around the plain main window
// (frm_main.h). It turns Qt's events (the click, the key release, the timer,
// showing and closing) into the window's handlers and carries out what the
// window asks: the timer, the picture and the controls, waiting events, the
// listing box, the priority, the horse data file, the position store.
#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

#include "distance_bar.h"
#include "frm_main.h"
#include "picture_box.h"
#include "platform/platform.h"
#include "window_platform.h"

class QPushButton;

namespace trotix {

class TicketsWindow;

class QtMainWindow final : public QWidget, private WindowPlatform {
 public:
  explicit QtMainWindow(const Platform& platform, QWidget* parent = nullptr);
  ~QtMainWindow() override;

  // Loads the window and shows it: what starting the program amounts to.
  void Start();

  // Unloads the window, storing its last known position, unless it has been
  // unloaded. For exit() called while the window is still up: the toolkit
  // ends the program that way when the display goes away, with no close.
  void SaveBeforeExit();

  // For tests and the benchmark: the window and the controls.
  frmMain& form() { return form_; }
  PictureBox& picMain() { return *picMain_; }
  DistanceBar& kpbDist() { return *kpbDist_; }
  QPushButton& cmdRun() { return *cmdRun_; }
  QTimer& Timer1() { return Timer1_; }
  TicketsWindow& tickets() { return *tickets_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void StorePosition(QPoint frame);
  QMargins FrameAround() const;
  void PlaceInFrame();
  std::string PositionFilePath() const;

  // What the main window asks of the desktop.
  float SecondsSinceMidnight() override { return platform_.clock.SecondsSinceMidnight(); }
  void StartTimer(int interval_ms) override;
  void StopTimer() override { Timer1_.stop(); }
  void Present(const Surface& picture, const ControlsState& controls) override;
  void DoEvents() override;
  void ShowListing(std::string_view title, std::string_view text) override;
  void SetPriorityClass(std::uint32_t priority_class) override { platform_.priority.SetPriorityClass(priority_class); }
  FieldFileBytes FieldFile() override;
  void ShowFieldFileNotice(std::string_view notice) override;
  void Announce(std::string_view text) override;
  void LoadWindowPosition() override;
  void SaveWindowPosition() override;
  void ToggleTickets() override;
  void RaceStarted(const RaceState& race) override;
  void BoardShown(const RaceState& race) override;
  // Between races the tickets' card follows the field the next Run races.
  void ShowNextCard();

  Platform platform_;
  frmMain form_;
  PictureBox* picMain_ = nullptr;
  DistanceBar* kpbDist_ = nullptr;
  QPushButton* cmdRun_ = nullptr;
  QTimer Timer1_;
  TicketsWindow* tickets_ = nullptr;  // beside the window, F6 shows and hides it

  QPoint last_position_;  // of the frame, as of the last move the window system told
  QPoint stored_position_;  // as read, placed again once the frame around the window is known
  QPoint placed_at_;        // where the stored position put it
  bool placed_in_frame_ = false;
};

}  // namespace trotix
