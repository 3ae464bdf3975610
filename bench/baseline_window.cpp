// The baseline for bench/whole_program.sh: the least a Qt Widgets program
// can be, one empty window with the game's fixed client size (187 x 150).
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Baseline"));
  window.setFixedSize(187, 150);
  window.show();
  return app.exec();
}
