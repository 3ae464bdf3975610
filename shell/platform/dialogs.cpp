#include "dialogs.h"

#include <QMessageBox>

namespace trotix {

void MessageBoxDialogs::ShowInformation(QWidget* parent, const QString& title, const QString& text) {
  // The text keeps its CR LF line ends; a label wants bare line feeds.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
  QMessageBox box(QMessageBox::Information, title, shown, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace trotix
