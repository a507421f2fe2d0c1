#pragma once

// "ロビーの設定": the lobby's server, account, password, room, a CA file
// for a server on a private CA, and an anonymous login where the server
// allows one. All but the password are kept in the preferences; the
// password goes to the desktop's secret store, or where none runs to a file
// beside the preferences that only this user may read (lobby::PasswordStore),
// never into the preferences. The dialog closes once it is kept.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "lobby/lobby_account.h"

namespace vexa::app {

// The account as the preferences hold it, without its password; the server
// is empty when none was set.
lobby::LobbyAccount StoredLobbyAccount(const QSettings& settings);
QString LobbyPasswordPath(const QSettings& settings);

class LobbySettingsDialog : public QDialog {
  Q_OBJECT
 public:
  LobbySettingsDialog(QWidget* parent, QSettings& settings);

  QLineEdit* Text1;       // the server
  QLineEdit* Text2;       // the account
  QLineEdit* Text3;       // the password
  QLineEdit* Text4;       // the room; empty: lobby@conference.SERVER
  QLineEdit* Text5;       // the CA file; empty: the system's store
  QCheckBox* Check1;      // an anonymous login: no account, no password
  QPushButton* Command1;  // "OK"
  QPushButton* Command2;  // "キャンセル"

 private:
  void Save();
  QSettings& settings_;
};

}  // namespace vexa::app
