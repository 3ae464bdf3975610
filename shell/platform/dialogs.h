// The modal message box, behind an interface so window tests can read what
// it would show without a person to close it.
#pragma once

#include <QString>

class QWidget;

namespace trotix {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box with an information icon and one OK button; returns when
  // the user has closed it.
  virtual void ShowInformation(QWidget* parent, const QString& title, const QString& text) = 0;
};

class MessageBoxDialogs final : public Dialogs {
 public:
  void ShowInformation(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace trotix
