// The program's entry point: one main window, started by its Main.

#include <QApplication>
#include <QStandardPaths>

#include "form1.h"
#include "program_setup.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vexa"));
  vexa::app::PrepareApplication(application);

  vexa::app::Form1 form1({QApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)},
                         vexa::SeedFromClock());
  form1.Start(form1.Main());
  return QApplication::exec();
}
