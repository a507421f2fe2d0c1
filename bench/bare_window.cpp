// A bare Qt window of the main window's size with a menu bar: the yardstick
// for the program's start-up time and memory.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.menuBar()->addMenu(QStringLiteral("Menu"));
  auto* client = new QWidget(&window);
  client->setFixedSize(661, 485);
  window.setCentralWidget(client);
  window.show();
  return QApplication::exec();
}
