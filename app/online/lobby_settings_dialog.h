#pragma once

// "ロビーの設定": the lobby's server, account, password, room and a CA
// file for a server on a private CA. All but the password are kept in the
// preferences; the password goes to a file beside them that only this user
// may read (lobby::WritePasswordFile), never into the preferences.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "lobby/lobby_account.h"

namespace vexa::app {

// The account as the preferences and the password file hold it; the
// server is empty when none was set.
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
  QPushButton* Command1;  // "OK"
  QPushButton* Command2;  // "キャンセル"

 private:
  void Save();
  QSettings& settings_;
};

}  // namespace vexa::app
