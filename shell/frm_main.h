// The main window: owns every control and drawing surface and the race
// state, and its five handlers are the only ways into the program. The
// handlers are thin: they sequence the procedures that act on the race.
#pragma once

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

#include "distance_bar.h"
#include "main_window.h"
#include "phase_machine.h"
#include "picture_box.h"
#include "platform/platform.h"
#include "race_state.h"
#include "scene_compositor.h"
#include "sprite_catalogue.h"

class QPushButton;

namespace trotix {

class frmMain final : public QWidget, private RaceHost, private SceneHost {
 public:
  explicit frmMain(const Platform& platform, QWidget* parent = nullptr);
  ~frmMain() override;

  // Loads the window and shows it: what starting the program amounts to.
  void Start();

  // The handlers.
  void Form_Load();
  void Form_Unload(std::int16_t& cancel);
  void cmdRun_Click();
  void Timer1_Timer();
  void Form_KeyUp(std::int16_t key_code, std::int16_t shift);

  // Stores the window's last known position unless the window has been
  // unloaded. For exit() called while the window is still up: the toolkit
  // ends the program that way when the display goes away, with no unload.
  void SaveBeforeExit();

  // For tests and the benchmark: the state and the controls.
  RaceState& race() { return race_; }
  PictureBox& picMain() { return *picMain_; }
  DistanceBar& kpbDist() { return *kpbDist_; }
  QPushButton& cmdRun() { return *cmdRun_; }
  QTimer& Timer1() { return Timer1_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();

  void LoadWindowPosition();
  void SaveWindowPosition();
  void StorePosition(QPoint frame);
  void NewRace();
  void RaceTick();
  void DrawScene() override;    // also what each tick asks of the window
  void ShowResults() override;  // the race's last act
  void ShowFieldListing();
  std::string PositionFilePath() const;

  // What the race asks of the window.
  void SetDistanceValue(std::int32_t metres) override;
  void StopTimer() override;
  void RestoreNormalPriority() override;
  void EnableRun() override;
  // What a drawing asks of the window.
  void DoEvents() override;
  void CommitPicture() override;
  void SetBarColour(std::uint32_t bgr) override;

  Platform platform_;
  RaceState race_;
  SpriteCatalogue sprites_;

  PictureBox* picMain_ = nullptr;
  DistanceBar* kpbDist_ = nullptr;
  QPushButton* cmdRun_ = nullptr;
  // The hidden surfaces a frame is composed on: the work surface, and the
  // holders of one horse layer and one pole layer.
  Surface picWork_;
  SceneSurfaces surfaces_;
  QTimer Timer1_;

  bool in_tick_ = false;  // a tick never starts inside another
  bool unloaded_ = false;
  QPoint last_position_;  // of the frame, as of the last move the window system told
};

}  // namespace trotix
