#pragma once

// "オンラインロビー": the players in the lobby's room, the open games (the
// host's name, the mode, the program's version, how long it has waited)
// and the room's chat. "ゲームを主催" hosts a game as the connection panel
// does and announces it; a double click on a game asks its host to join,
// and the host's invitation joins it. A window of its own beside the main
// window, not modal: the player chats while waiting. Everything shown
// comes from strangers: plain text, at most kGamesShown games.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "lobby/lobby_client.h"
#include "lobby/password_store.h"
#include "lobby/relay_link.h"

namespace vexa::app {

// What the lobby asks of the main window.
struct LobbyGameHooks {
  // Hosts as the connection panel's "ゲームを主催" does; false when it
  // could not (the main window has told the player why).
  std::function<void()> host;
  // Joins the host at `address` and `port` as the connection panel does.
  std::function<void(const QString& address, int port)> join;
  // The game port hosting listens on.
  std::function<int()> game_port;
  // A join arranged here still waits for its connection (not up, not
  // cancelled).
  std::function<bool()> still_waiting;
  // Streams through the relay in place of the direct connection.
  std::function<void(QTcpSocket* game, QTcpSocket* chat, bool as_host)> take_relayed;
  // How the connection on its way runs, for the waiting dialog; empty when
  // none is arranged here. A guest's direct failure is not told meanwhile.
  std::function<void(const QString& way)> set_way;
  // The relay could not be set up.
  std::function<void(const QString& reason)> relay_failed;
};

class LobbyWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kGamesShown = 500;
  static constexpr int kChatLinesKept = 1000;
  // How long a guest tries the host's address before both turn to the relay.
  static constexpr int kDirectMs = 3000;

  LobbyWindow(QWidget* parent, LobbyGameHooks hooks);

  // Enters the lobby as `account` (again, after the settings changed), its
  // password taken from the secret store or else from `password_file`.
  void Enter(const lobby::LobbyAccount& account, const QString& password_file);
  // The main window's hosting: listening began (announce), a guest came or
  // hosting ended (withdraw).
  void HostingStarted();
  void HostingOver();
  lobby::LobbyClient& Client() { return client_; }

  QLabel* Label1;         // where the lobby stands: entering, in, failed
  QListWidget* List1;     // the players
  QTreeWidget* Tree1;     // the open games
  QListWidget* List2;     // the chat
  QLineEdit* Text1;       // the chat input
  QComboBox* Combo1;      // the mode announced: Normal or Excite
  QSpinBox* Spin1;        // Excite's seconds per move
  QPushButton* Command1;  // "ゲームを主催"

 private:
  void Retranslate();
  void ShowPlayers();
  void GameOpened(const QString& host, const lobby::GameAnnouncement& game);
  void GameClosed(const QString& host);
  void RefreshWaits();
  void JoinChosen();
  void HostClicked();
  void AddChatLine(const QString& line);
  // The guest's direct connection did not come up in time.
  void DirectTimedOut();
  void RelayRequested(const QString& guest, const QString& sid);
  void StartRelay(bool as_host);

  LobbyGameHooks hooks_;
  lobby::LobbyClient client_;
  QTimer waits_;
  // The host asked to join, until its invitation comes.
  QString asked_host_;
  // This player's game is announced (between hosting's start and a guest).
  bool announcing_ = false;
  bool host_requested_ = false;
  // What a guest is given: the address this machine reaches the lobby's
  // server from.
  QString own_address_;
  // The host: the guests invited, with their full addresses.
  QMap<QString, QString> invited_jids_;
  // The guest: the host that invited it, and its invitation.
  QString invited_by_;
  lobby::Invitation invitation_;
  std::unique_ptr<lobby::RelayLink> relay_;
  // Fetching the password for the visit being entered.
  std::unique_ptr<lobby::PasswordStore> passwords_;
};

}  // namespace vexa::app
