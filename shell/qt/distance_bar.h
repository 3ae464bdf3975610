// The distance bar below the race view: how far the leader still has to
// run, as a filled bar with the value as its caption.
#pragma once

#include <QWidget>

#include <cstdint>

#include "main_window_layout.h"
#include "track.h"

namespace trotix {

class DistanceBar final : public QWidget {
 public:
  explicit DistanceBar(QWidget* parent = nullptr);

  void setMaximum(int maximum);
  int maximum() const { return maximum_; }
  // Any value is taken: after the winner's finish the distance left goes
  // below 0, which shows an empty bar and a caption of 0.
  void setValue(int value);
  int value() const { return value_; }
  // The bar colour as 0x00BBGGRR.
  void setFwcolor(std::uint32_t bgr);
  std::uint32_t fwcolor() const { return fwcolor_; }
  QString caption() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int maximum_ = static_cast<int>(kRaceMetres);
  int value_ = static_cast<int>(kRaceMetres);
  std::uint32_t fwcolor_ = 0x00C00000;
};

}  // namespace trotix
