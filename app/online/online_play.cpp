#include "app/online/online_play.h"

#include <QLineEdit>

#include "app/dialogs/form3.h"
#include "app/dialogs/message_box.h"
#include "app/online/lan_games_dialog.h"
#include "app/online/lobby_settings_dialog.h"
#include "app/online/lobby_window.h"
#include "net/leading_number.h"
#include "net/qt_await.h"

namespace vexa::app {

OnlinePlay::OnlinePlay(QWidget* window, QSettings& settings, Game& game, TaskGroup& tasks)
    : window_(window),
      settings_(settings),
      game_(game),
      tasks_(tasks),
      connection_(window),
      session_(game, dialogs_, connection_.Link(), tasks) {
  outreach_ = std::make_unique<HostOutreach>(
      connection_, settings_, [this] { return p_.options->PlayerName(); }, window);
  QObject::connect(outreach_.get(), &HostOutreach::LinesChanged, window,
                   [this] { ShowHostLines(); });
  connection_.Feed(session_);
  QObject::connect(&connection_, &net::GameConnection::GameConnected, window,
                   [this](bool accepted) { GameConnected(accepted); });
}

OnlinePlay::~OnlinePlay() = default;

void OnlinePlay::Attach(Parts parts) {
  p_ = std::move(parts);
  dialogs_.Attach({.window = window_,
                   .game = &game_,
                   .options = p_.options,
                   .board = p_.board,
                   .aids = p_.aids,
                   .shell = p_.shell,
                   .session = &session_,
                   .link = &connection_.Link(),
                   .tasks = &tasks_,
                   .chat_list = p_.chat_list,
                   .chat_input = p_.chat_input,
                   .hide_connection_dialog = [this] {
                     if (form3_ && form3_->isVisible()) form3_->done(Form3::kHidden);
                   }});
}

// --- Hosting and joining -----------------------------------------------------

void OnlinePlay::HostOrJoin(int index) {
  tasks_.Start(RunHostOrJoin(index));
}

Task<> OnlinePlay::RunHostOrJoin(int index) {
  connection_.Close();
  if (p_.options->PlayerName().isEmpty()) {
    co_await ShowMessageBox(window_, tr("プレイヤーネームを入力してください"),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_return;
  }
  session_.BeginConnection(index == 1);
  p_.chat_input->setEnabled(false);

  // The game port is the number the port text starts with; the chat port
  // the next one. Out of range, both fail as a port in use does.
  const qint64 port = net::LeadingInteger(p_.options->PortText());
  const bool port_ok = port >= 0 && port + 1 <= 65535;
  const int game_port = port_ok ? static_cast<int>(port) : -1;
  const int chat_port = port_ok ? static_cast<int>(port + 1) : -1;
  QPointer<Form3> form3 = new Form3(window_);
  form3_ = form3;
  // Both sockets are closed again when either fails, before the messages,
  // so that no peer connects meanwhile.
  const bool ok = index == 0 ? connection_.Host(game_port, chat_port)
                             : connection_.Join(p_.options->HostAddress(), game_port, chat_port);
  if (index == 1) form3->SetStatus(tr("ゲーム主催者に接続中です・・・"));
  if (!ok) {
    form3->deleteLater();
    co_await ShowMessageBox(window_, tr("指定したポートでゲームを主催している人が他にいます。"),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_await ShowMessageBox(window_, tr("他のポートを指定してください。"), QMessageBox::Information,
                            QMessageBox::Ok);
    co_return;
  }

  QObject::connect(form3, &Form3::Command1_Click, form3,
                   [this] { tasks_.Start(ConnectionDialogButton()); });
  if (index == 1) {
    // Nobody listening, no such host, or no answer (Qt gives up on an
    // address after 30 seconds): the game socket has closed itself and the
    // dialog tells it.
    QObject::connect(
        &connection_, &net::GameConnection::GameFailed, form3,
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
      p_.options->Mode() == GameMode::VsOnline) {
    co_await dialogs_.WaitForHost();
  }
}

Task<> OnlinePlay::ConnectionDialogButton() {
  QPointer<Form3> form3 = form3_;
  if (!form3) co_return;
  if (!form3->Connected()) {
    // Cancelled: nor does the lobby's relay follow.
    lobby_way_.clear();
    connection_.Close();
    form3->done(Form3::kClosed);
    co_return;
  }
  const bool named = co_await session_.WaitForOpponentName();
  if (!named) {
    // The peer went away before it told its name; its leaving is reported
    // by the connection's end. A peer that is merely slow: press again.
    if (!session_.Connected() && form3) form3->done(Form3::kClosed);
    co_return;
  }
  p_.options->SetOptionControls(PanelCode::GameRunning, false);
  if (!game_.online.IsGuest) {
    // The connection dialog stays under the settings, its button idle.
    if (form3) form3->SetButtonIdle();
    co_await dialogs_.ChooseSettings();
  }
  if (form3) form3->done(Form3::kClosed);
}

void OnlinePlay::GameConnected(bool accepted) {
  session_.SendName(p_.options->PlayerName());
  QString status = accepted ? tr("対戦相手が来ました") : tr("接続できました");
  // A host told the relay's streams may still get its guest directly.
  if (!lobby_way_.isEmpty()) {
    status += QStringLiteral(" (") +
              (connection_.Relayed() ? LobbyWindow::tr("中継サーバー経由") : lobby_way_) + u')';
  }
  lobby_way_.clear();
  if (form3_) form3_->SetConnected(status);
  p_.chat_input->setEnabled(true);
}

void OnlinePlay::ShowHostLines() {
  if (form3_ && !game_.online.IsGuest) {
    form3_->ShowHostLines(outreach_->RouterLine(), outreach_->AddressesLine(), outreach_->Link(),
                          outreach_->LinkNote());
  }
}

void OnlinePlay::JoinNow(const QString& host, int port) {
  // As the player would: "VS Online", then the fields, then the button.
  p_.options->SetConnectionFields(host, port);
  if (game_.GameRunning()) return;
  p_.aids->LeaveReplay();
  p_.choose_online();
  HostOrJoin(1);
}

void OnlinePlay::ShowLanGames() {
  tasks_.Start(RunLanGames());
}

Task<> OnlinePlay::RunLanGames() {
  QPointer<LanGamesDialog> dialog = new LanGamesDialog(window_, outreach_->Discovery());
  QObject::connect(dialog, &LanGamesDialog::Chosen, dialog, [this](const QString& host, int port) {
    p_.options->SetConnectionFields(host, port);
  });
  const int result = co_await RunModal(dialog);
  if (!dialog) co_return;
  dialog->deleteLater();
  if (result == QDialog::Accepted && !dialog->ChosenHost().isEmpty()) HostOrJoin(1);
}

// --- The online lobby ------------------------------------------------------------

void OnlinePlay::OpenLobby() {
  tasks_.Start(RunLobby(StoredLobbyAccount(settings_).server.isEmpty()));
}

void OnlinePlay::ShowLobbySettings() {
  tasks_.Start(RunLobbySettings());
}

Task<> OnlinePlay::RunLobbySettings() {
  QPointer<LobbySettingsDialog> dialog = new LobbySettingsDialog(window_, settings_);
  const int result = co_await RunModal(dialog);
  if (!dialog) co_return;
  dialog->deleteLater();
  // A lobby already open enters again as the new account.
  if (result == QDialog::Accepted && lobby_window_ && lobby_window_->isVisible()) {
    lobby_window_->Enter(StoredLobbyAccount(settings_), LobbyPasswordPath(settings_));
  }
}

Task<> OnlinePlay::RunLobby(bool settings_first) {
  if (settings_first) {
    co_await RunLobbySettings();
    if (StoredLobbyAccount(settings_).server.isEmpty()) co_return;
  }
  if (!lobby_window_) lobby_window_ = MakeLobbyWindow();
  if (!lobby_window_->isVisible())
    lobby_window_->Enter(StoredLobbyAccount(settings_), LobbyPasswordPath(settings_));
  lobby_window_->show();
  lobby_window_->raise();
  lobby_window_->activateWindow();
}

void OnlinePlay::TellJoinFailed(const QString& reason) {
  if (form3_ && !form3_->Connected())
    form3_->SetFailed(tr("接続できませんでした"), net::JoinFailure::Other, reason);
}

LobbyWindow* OnlinePlay::MakeLobbyWindow() {
  auto* lobby = new LobbyWindow(
      window_,
      LobbyGameHooks{
          .host =
              [this] {
                // As the player would: "VS Online", then "ゲームを主催".
                if (game_.GameRunning()) return;
                p_.aids->LeaveReplay();
                p_.choose_online();
                HostOrJoin(0);
              },
          .join = [this](const QString& host, int port) { JoinNow(host, port); },
          .game_port =
              [this] { return static_cast<int>(net::LeadingInteger(p_.options->PortText())); },
          .still_waiting =
              [this] {
                return !lobby_way_.isEmpty() && form3_ && !form3_->Connected() &&
                       !session_.Connected();
              },
          .take_relayed =
              [this](QTcpSocket* game, QTcpSocket* chat, bool as_host) {
                // A host's streams that closed are a stranger gone: it goes
                // on waiting.
                if (!connection_.TakeRelayed(game, chat, as_host) && !as_host) {
                  lobby_way_.clear();
                  TellJoinFailed(QString());
                }
              },
          .set_way = [this](const QString& way) { lobby_way_ = way; },
          .relay_failed =
              [this](const QString& reason) {
                lobby_way_.clear();
                if (form3_ && !form3_->Connected() && game_.online.IsGuest) {
                  connection_.Close();
                  TellJoinFailed(reason);
                }
              },
      });
  QObject::connect(&connection_, &net::GameConnection::HostingStarted, lobby,
                   &LobbyWindow::HostingStarted);
  QObject::connect(&connection_, &net::GameConnection::HostingTaken, lobby,
                   &LobbyWindow::HostingOver);
  QObject::connect(&connection_, &net::GameConnection::HostingEnded, lobby,
                   &LobbyWindow::HostingOver);
  // A host that stopped waiting: no lobby connection is on its way.
  QObject::connect(&connection_, &net::GameConnection::HostingEnded, lobby,
                   [this] { lobby_way_.clear(); });
  return lobby;
}

}  // namespace vexa::app
