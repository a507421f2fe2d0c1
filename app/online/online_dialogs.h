#pragma once

// The window's side of what the online session asks of it: the settings
// dialog (created when first needed, hidden between games, gone with the
// connection), the guest's wait for its host, the other dialogs giving way,
// the news that the peer has gone, the move clock and the chat lists.

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <functional>

#include "app/aids/player_aids.h"
#include "app/board/board_view.h"
#include "app/window/option_panel.h"
#include "app/window/window_shell.h"
#include "core/game.h"
#include "core/task.h"
#include "net/online_session.h"
#include "net/online_windows.h"

class QLineEdit;
class QListWidget;
class QWidget;

namespace vexa::app {

class Form4;
class Form7;

class OnlineDialogs : public net::OnlineWindows {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  // The window's parts; attached once they are built, before any
  // connection.
  struct Parts {
    QWidget* window;  // the dialogs' parent
    const Game* game;
    OptionPanel* options;
    BoardView* board;
    PlayerAids* aids;
    WindowShell* shell;
    net::OnlineSession* session;
    net::GameLink* link;
    TaskGroup* tasks;
    // The main window's chat, under the board.
    QListWidget* chat_list;
    QLineEdit* chat_input;
    // The connection dialog gives way to the settings.
    std::function<void()> hide_connection_dialog;
  };

  OnlineDialogs() = default;
  OnlineDialogs(const OnlineDialogs&) = delete;
  OnlineDialogs& operator=(const OnlineDialogs&) = delete;

  void Attach(Parts parts) { p_ = std::move(parts); }

  // The settings dialog, created and loaded when first needed.
  Form4* SettingsDialog();
  // The guest's wait for the host after a game or the connection dialog;
  // not while the settings dialog is shown or on its way.
  Task<> WaitForHost();
  void CloseWaitForHost();
  // A line typed in a chat input (the main window's or the settings
  // dialog's): it goes to the peer and into both lists.
  void SendChatLine(const QString& text, bool typed_in_settings);

  // --- net::OnlineWindows
  void PeerChangedSetting(net::Setting which, const QString& value) override;
  net::ChosenSettings Settings() override;
  Task<> ChooseSettings() override;
  void SettingsEnded(net::SettingsEnd how) override;
  void ClearWayForSettings() override;
  void GameBegins(const QString& left, const QString& right) override;
  void PeerSaid(const QString& line) override;
  void ClockShows(std::optional<int> seconds) override;
  void ClockTookBlocker() override;
  void ConnectionEnded() override;
  Task<> TellPeerGone(net::PeerGone why) override;

 private:
  Parts p_{};
  QPointer<Form4> form4_;
  QPointer<Form7> form7_;
};

}  // namespace vexa::app
