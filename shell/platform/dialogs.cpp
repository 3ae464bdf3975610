#include "dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace trotix {

// A box of our own rather than QMessageBox: that one wraps its text once it
// is wider than half the screen, which at QT_SCALE_FACTOR=3 on a 1024 x 768
// screen broke every line of the F7 listing in two. Here a line never wraps
// and the box is as wide as its longest line.
void MessageBoxDialogs::ShowInformation(QWidget* parent, const QString& title, const QString& text) {
  // The text keeps its CR LF line ends; a label wants bare line feeds.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);

  QDialog box(parent);
  box.setWindowTitle(title);
  auto* icon = new QLabel(&box);
  const int icon_size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, &box).pixmap(icon_size));
  auto* label = new QLabel(shown, &box);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);

  auto* layout = new QGridLayout(&box);
  layout->addWidget(icon, 0, 0, Qt::AlignTop);
  layout->addWidget(label, 0, 1);
  layout->addWidget(buttons, 1, 0, 1, 2);
  layout->setHorizontalSpacing(layout->horizontalSpacing() * 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // the box is as large as what it holds
  box.exec();
}

}  // namespace trotix
