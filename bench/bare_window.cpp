// A bare Qt window of the main window's size with a menu bar: the yardstick
// for the program's start-up time and memory. With --japanese it also draws
// one Japanese label in the program's font, so that the figures can tell
// what the font costs from what the program itself costs.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const bool japanese = QApplication::arguments().contains(QStringLiteral("--japanese"));
  QMainWindow window;
  window.setWindowTitle(japanese ? QStringLiteral("Bare window with Japanese")
                                 : QStringLiteral("Bare window"));
  window.menuBar()->addMenu(QStringLiteral("Menu"));
  auto* client = new QWidget(&window);
  client->setFixedSize(661, 485);
  window.setCentralWidget(client);
  if (japanese) {
    // The font the program's windows are laid out for.
    QFont ui_font(QStringLiteral("Noto Sans CJK JP"), 9);
    ui_font.setStyleHint(QFont::SansSerif);
    window.setFont(ui_font);
    auto* label = new QLabel(QStringLiteral("通算成績"), client);
    label->move(20, 20);
  }
  window.show();
  return QApplication::exec();
}
