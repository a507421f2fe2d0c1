#pragma once

// Online play from the main window: hosting and joining through the
// connection dialog, the games on this network, the lobby and links, with
// the connection, the session and the dialogs around it.

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>

#include "app/aids/player_aids.h"
#include "app/board/board_view.h"
#include "app/online/host_outreach.h"
#include "app/online/online_dialogs.h"
#include "app/window/option_panel.h"
#include "app/window/window_shell.h"
#include "core/game.h"
#include "core/task.h"
#include "net/game_connection.h"
#include "net/online_session.h"

class QLineEdit;
class QListWidget;
class QWidget;

namespace vexa::app {

class Form3;
class LobbyWindow;

class OnlinePlay {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  // The window's other parts; attached once they are built, before any
  // connection.
  struct Parts {
    OptionPanel* options;
    BoardView* board;
    PlayerAids* aids;
    WindowShell* shell;
    // The main window's chat, under the board.
    QListWidget* chat_list;
    QLineEdit* chat_input;
    // "VS Online" chosen, as a click on it would.
    std::function<void()> choose_online;
  };

  // The connection's sockets are children of `window`, which also owns the
  // dialogs.
  OnlinePlay(QWidget* window, QSettings& settings, Game& game, TaskGroup& tasks);
  ~OnlinePlay();
  OnlinePlay(const OnlinePlay&) = delete;
  OnlinePlay& operator=(const OnlinePlay&) = delete;

  void Attach(Parts parts);

  // "ゲームを主催" (0) or "ゲームに参加" (1).
  void HostOrJoin(int index);
  // "VS Online", the host and port in the panel, and a join; a game in
  // progress is left alone, with the fields filled for later.
  void JoinNow(const QString& host, int port);
  // "LAN のゲーム": the games on this network.
  void ShowLanGames();
  // "オンラインロビー" (its settings first while it has no server) and
  // "ロビーの設定".
  void OpenLobby();
  void ShowLobbySettings();

  net::OnlineSession& session() { return session_; }
  net::GameConnection& connection() { return connection_; }
  OnlineDialogs& dialogs() { return dialogs_; }
  // The announcement on this network and the router's ports while hosting.
  HostOutreach& outreach() { return *outreach_; }

 private:
  Task<> RunHostOrJoin(int index);
  Task<> RunLanGames();
  Task<> RunLobby(bool settings_first);
  Task<> RunLobbySettings();
  LobbyWindow* MakeLobbyWindow();
  // The connection dialog's button: a cancel, or on with the connection.
  Task<> ConnectionDialogButton();
  // The game connection is up: accepted as host or made as guest.
  void GameConnected(bool accepted);
  // The host's lines of the waiting dialog, as the outreach words them.
  void ShowHostLines();
  // A join that cannot go on, told in the connection dialog.
  void TellJoinFailed(const QString& reason);

  QWidget* window_;
  QSettings& settings_;
  Game& game_;
  TaskGroup& tasks_;
  Parts p_{};
  net::GameConnection connection_;
  OnlineDialogs dialogs_;
  net::OnlineSession session_;
  std::unique_ptr<HostOutreach> outreach_;
  QPointer<Form3> form3_;
  QPointer<LobbyWindow> lobby_window_;
  // A connection arranged in the lobby is on its way: how it runs
  // ("直接接続" or "中継サーバー経由"), told with the waiting dialog's status.
  // While a guest's is pending its direct failure is not told: the relay
  // follows.
  QString lobby_way_;
};

}  // namespace vexa::app
