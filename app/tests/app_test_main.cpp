// The widget tests run the real windows, off screen unless told otherwise.

#include <gmock/gmock.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include "app/window/program_setup.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Its texts are checked in Japanese, the program's own, whatever the
  // caller's locale: the desktop's first language for the texts is Japanese.
  qputenv("LANGUAGE", "ja");
  QApplication application(argc, argv);
  vexa::app::PrepareApplication(application);
  // The records panel writes its rate in the user's notation; the tests
  // expect the plain one whatever the machine's locale.
  QLocale::setDefault(QLocale::c());
  // Each test program gives its windows a preferences file of its own; any
  // other preferences go to a folder that is removed afterwards, never to
  // the user's.
  const QTemporaryDir settings_folder;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_folder.path());
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
