#include <QApplication>
#include <QWidget>

#include "bench/quit_when_shown.h"

// The yardstick: a bare Qt window of the main window's size (474 x 251 pixels at 96 dots per
// inch), ending as soon as it is shown.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("bare");
  window.setFixedSize(474, 251);
  window.show();
  QuitWhenShown();
  return QApplication::exec();
}
