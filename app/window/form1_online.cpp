// The main window's side of online play: hosting and joining, the socket
// events, the settings dialog and the other dialogs around a connection,
// and the chat.

#include <QApplication>
#include <QPointer>

#include "app/dialogs/form3.h"
#include "app/dialogs/form4.h"
#include "app/dialogs/form5.h"
#include "app/dialogs/form7.h"
#include "app/dialogs/message_box.h"
#include "app/online/lan_games_dialog.h"
#include "app/online/lobby_settings_dialog.h"
#include "app/online/lobby_window.h"
#include "app/window/form1.h"
#include "net/chat_line.h"
#include "net/leading_number.h"
#include "net/qt_await.h"

namespace vexa::app {

using net::Winsock;

// --- Hosting and joining -----------------------------------------------------

void Form1::Command1_Click(int index) {
  Start(HostOrJoin(index));
}

Task<> Form1::HostOrJoin(int index) {
  connection_.Close();
  if (options_->PlayerName().isEmpty()) {
    co_await ShowMessageBox(this, tr("プレイヤーネームを入力してください"), QMessageBox::Critical,
                            QMessageBox::Ok);
    co_return;
  }
  online_.BeginConnection(index == 1);
  Text2->setEnabled(false);

  // The game port is the number the port text starts with; the chat port
  // the next one. Out of range, both fail as a port in use does.
  const qint64 port = net::LeadingInteger(options_->PortText());
  const bool port_ok = port >= 0 && port + 1 <= 65535;
  const int game_port = port_ok ? static_cast<int>(port) : -1;
  const int chat_port = port_ok ? static_cast<int>(port + 1) : -1;
  QPointer<Form3> form3 = new Form3(this);
  form3_ = form3;
  // Both sockets are closed again when either fails, before the messages,
  // so that no peer connects meanwhile.
  const bool ok = index == 0 ? connection_.Host(game_port, chat_port)
                             : connection_.Join(options_->HostAddress(), game_port, chat_port);
  if (index == 1) form3->Label1->setText(tr("ゲーム主催者に接続中です・・・"));
  if (!ok) {
    form3->deleteLater();
    co_await ShowMessageBox(this, tr("指定したポートでゲームを主催している人が他にいます。"),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_await ShowMessageBox(this, tr("他のポートを指定してください。"), QMessageBox::Information,
                            QMessageBox::Ok);
    co_return;
  }

  connect(form3, &Form3::Command1_Click, this, [this] { Start(Form3_Command1_Click()); });
  if (index == 1) {
    // Nobody listening, no such host, or no answer (Qt gives up on an
    // address after 30 seconds): the game socket has closed itself and the
    // dialog tells it.
    connect(&connection_, &net::GameConnection::GameFailed, form3,
            [this, form3 = form3.data()](net::JoinFailure reason, const QString& description) {
              if (!form3->Connected() && lobby_way_.isEmpty())
                form3->SetFailed(tr("接続できませんでした"), reason, description);
            });
  }
  const int how = co_await RunModal(form3);
  if (!form3) co_return;
  const bool connected = form3->Connected();
  form3->deleteLater();
  // Closed after the connection was up, on the joining side: wait for the
  // host in the waiting dialog.
  if (how != Form3::kHidden && connected && game_.online.IsGuest &&
      options_->Mode() == GameMode::VsOnline) {
    co_await dialogs_.WaitForHost();
  }
}

void Form1::ShowHostLines() {
  if (form3_ && !game_.online.IsGuest) {
    form3_->ShowHostLines(outreach_->RouterLine(), outreach_->AddressesLine(), outreach_->Link(),
                          outreach_->LinkNote());
  }
}

void Form1::Mnu_PortMapping_Click() {
  outreach_->SetPortMappingOn(Mnu_PortMapping->isChecked());
}

void Form1::Cmd_LanGames_Click() {
  Start(ShowLanGames());
}

Task<> Form1::ShowLanGames() {
  QPointer<LanGamesDialog> dialog = new LanGamesDialog(this, outreach_->Discovery());
  connect(dialog, &LanGamesDialog::Chosen, this,
          [this](const QString& host, int port) { options_->SetConnectionFields(host, port); });
  const int result = co_await RunModal(dialog);
  if (!dialog) co_return;
  dialog->deleteLater();
  if (result == QDialog::Accepted && !dialog->ChosenHost().isEmpty()) Command1_Click(1);
}

// --- The online lobby ------------------------------------------------------------

void Form1::Mnu_Lobby_Click() {
  Start(OpenLobby(StoredLobbyAccount(*settings_).server.isEmpty()));
}

void Form1::Mnu_LobbySettings_Click() {
  Start(ShowLobbySettings());
}

Task<> Form1::ShowLobbySettings() {
  QPointer<LobbySettingsDialog> dialog = new LobbySettingsDialog(this, *settings_);
  const int result = co_await RunModal(dialog);
  if (!dialog) co_return;
  dialog->deleteLater();
  // A lobby already open enters again as the new account.
  if (result == QDialog::Accepted && lobby_window_ && lobby_window_->isVisible()) {
    lobby_window_->Enter(StoredLobbyAccount(*settings_), LobbyPasswordPath(*settings_));
  }
}

Task<> Form1::OpenLobby(bool settings_first) {
  if (settings_first) {
    co_await ShowLobbySettings();
    if (StoredLobbyAccount(*settings_).server.isEmpty()) co_return;
  }
  if (!lobby_window_) {
    lobby_window_ = new LobbyWindow(
        this,
        LobbyGameHooks{
            .host =
                [this] {
                  // As the player would: "VS Online", then "ゲームを主催".
                  if (game_.GameRunning()) return;
                  aids_->LeaveReplay();
                  options_->SelectMode(GameMode::VsOnline);
                  Option1_Click(static_cast<int>(GameMode::VsOnline));
                  Command1_Click(0);
                },
            .join = [this](const QString& host, int port) { JoinNow(host, port); },
            .game_port =
                [this] { return static_cast<int>(net::LeadingInteger(options_->PortText())); },
            .still_waiting =
                [this] {
                  return !lobby_way_.isEmpty() && form3_ && !form3_->Connected() &&
                         !online_.Connected();
                },
            .take_relayed =
                [this](QTcpSocket* game, QTcpSocket* chat, bool as_host) {
                  // A host's streams that closed are a stranger gone: it
                  // goes on waiting.
                  if (!connection_.TakeRelayed(game, chat, as_host) && !as_host) {
                    lobby_way_.clear();
                    if (form3_ && !form3_->Connected()) {
                      form3_->SetFailed(tr("接続できませんでした"), net::JoinFailure::Other,
                                        QString());
                    }
                  }
                },
            .set_way = [this](const QString& way) { lobby_way_ = way; },
            .relay_failed =
                [this](const QString& reason) {
                  lobby_way_.clear();
                  if (form3_ && !form3_->Connected() && game_.online.IsGuest) {
                    connection_.Close();
                    form3_->SetFailed(tr("接続できませんでした"), net::JoinFailure::Other, reason);
                  }
                },
        });
    connect(&connection_, &net::GameConnection::HostingStarted, lobby_window_,
            &LobbyWindow::HostingStarted);
    connect(&connection_, &net::GameConnection::HostingTaken, lobby_window_,
            &LobbyWindow::HostingOver);
    connect(&connection_, &net::GameConnection::HostingEnded, lobby_window_,
            &LobbyWindow::HostingOver);
    // A host that stopped waiting: no lobby connection is on its way.
    connect(&connection_, &net::GameConnection::HostingEnded, this, [this] { lobby_way_.clear(); });
  }
  if (!lobby_window_->isVisible())
    lobby_window_->Enter(StoredLobbyAccount(*settings_), LobbyPasswordPath(*settings_));
  lobby_window_->show();
  lobby_window_->raise();
  lobby_window_->activateWindow();
}

void Form1::JoinWhenReady(const QString& host, int port) {
  if (!started_) {
    pending_join_.emplace(host, port);
    return;
  }
  JoinNow(host, port);
}

void Form1::JoinNow(const QString& host, int port) {
  // As the player would: "VS Online", then the fields, then the button.
  // A game in progress is left alone; the fields are filled for later.
  options_->SetConnectionFields(host, port);
  if (game_.GameRunning()) return;
  aids_->LeaveReplay();
  options_->SelectMode(GameMode::VsOnline);
  Option1_Click(static_cast<int>(GameMode::VsOnline));
  Command1_Click(1);
}

Task<> Form1::Form3_Command1_Click() {
  QPointer<Form3> form3 = form3_;
  if (!form3) co_return;
  if (!form3->Connected()) {
    // Cancelled: nor does the lobby's relay follow.
    lobby_way_.clear();
    connection_.Close();
    form3->done(Form3::kClosed);
    co_return;
  }
  const bool named = co_await online_.WaitForOpponentName();
  if (!named) {
    // The peer went away before it told its name; its leaving is reported
    // by the connection's end. A peer that is merely slow: press again.
    if (!online_.Connected() && form3) form3->done(Form3::kClosed);
    co_return;
  }
  options_->SetOptionControls(PanelCode::GameRunning, false);
  if (!game_.online.IsGuest) {
    // The connection dialog stays under the settings, its button idle.
    if (form3) form3->Command1->setEnabled(false);
    co_await dialogs_.ChooseSettings();
  }
  if (form3) form3->done(Form3::kClosed);
}

void Form1::GameConnected(bool accepted) {
  online_.SendName(options_->PlayerName());
  QString status = accepted ? tr("対戦相手が来ました") : tr("接続できました");
  // A host told the relay's streams may still get its guest directly.
  if (!lobby_way_.isEmpty()) {
    status += QStringLiteral(" (") +
              (connection_.Relayed() ? LobbyWindow::tr("中継サーバー経由") : lobby_way_) + u')';
  }
  lobby_way_.clear();
  if (form3_) form3_->SetConnected(status);
  Text2->setEnabled(true);
}

}  // namespace vexa::app
