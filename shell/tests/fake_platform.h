// A platform for window tests: a clock that reads what it is told, seeded
// draws from our own generator with a hook, and priority and message boxes
// that only take notes.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

#include "fake_clock.h"
#include "testing/hooked_random.h"
#include "platform/platform.h"
#include "random_source.h"

namespace trotix::testing {

class NotingPriority final : public ProcessPriority {
 public:
  void SetPriorityClass(std::uint32_t priority_class) override { calls.push_back(priority_class); }
  std::vector<std::uint32_t> calls;
};

class NotingDialogs final : public Dialogs {
 public:
  void ShowInformation(QWidget*, const QString& title, const QString& text) override {
    titles.push_back(title);
    texts.push_back(text);
  }
  std::vector<QString> titles;
  std::vector<QString> texts;
};

struct FakePlatform {
  FakePlatform() : platform{clock, random, 1, priority, dialogs, {dir.path().toStdString(), {}, FilePlace::kBesideProgram}} {}
  QTemporaryDir dir;
  FakeClock clock;
  HookedRandom random;
  NotingPriority priority;
  NotingDialogs dialogs;
  Platform platform;
};

}  // namespace trotix::testing
