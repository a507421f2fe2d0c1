// The lobby's window and settings without a server: where the settings and
// the password go, and what the window says when the server is not there.

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include "app/online/lobby_settings_dialog.h"
#include "app/online/lobby_window.h"
#include "lobby/password_file.h"
#include "online_driver.h"
#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Control;
using testing::Program;
using testing::WaitFor;

TEST(LobbyWindow, SettingsFirstThePasswordApartThenTheLobbyTellsItCannotEnter) {
  // No desktop's secret store: the password's file (the store's own test
  // runs a real one).
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vexa-no-bus");
  Program program(QByteArray("Taro\r\n 0 \r\n 0 \r\n 0 \r\n"));
  ASSERT_TRUE(program.WaitShown());
  // No server set yet: the settings come first.
  Control<QAction>(*program.form1, QStringLiteral("Mnu_Lobby"))->trigger();
  LobbySettingsDialog* settings = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (settings = testing::DialogOf<LobbySettingsDialog>(program)); }));
  // Nothing listens on this port: the login fails at once.
  settings->Text1->setText(QStringLiteral("127.0.0.1"));
  settings->Text2->setText(QStringLiteral("taro"));
  settings->Text3->setText(QStringLiteral("s3cret-pass"));
  settings->Command1->click();

  LobbyWindow* lobby = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (lobby = testing::DialogOf<LobbyWindow>(program)); }));
  EXPECT_TRUE(WaitFor([&] { return lobby->Label1->text().startsWith(u"ロビーに入れません"); }))
      << lobby->Label1->text().toStdString();
  EXPECT_FALSE(lobby->Command1->isEnabled());

  // The preferences hold the account, never the password; the password's
  // file is this user's alone.
  QFile ini(program.SettingsPath());
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QByteArray preferences = ini.readAll();
  EXPECT_TRUE(preferences.contains("server=127.0.0.1"));
  EXPECT_FALSE(preferences.contains("s3cret")) << preferences.toStdString();
  const QSettings stored(program.SettingsPath(), QSettings::IniFormat);
  QFile password(LobbyPasswordPath(stored));
  EXPECT_EQ(password.permissions() &
                ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
            QFile::Permissions());
  QString error;
  EXPECT_EQ(lobby::ReadPasswordFile(LobbyPasswordPath(stored), error),
            std::optional(QStringLiteral("s3cret-pass")));
  lobby->close();
}

}  // namespace
}  // namespace vexa::app
