// The main window's side of online play: hosting and joining, the socket
// events, the settings dialog and the other dialogs around a connection,
// and the chat.

#include <QApplication>
#include <QPointer>

#include "app/window/form1.h"
#include "app/dialogs/form3.h"
#include "app/dialogs/form4.h"
#include "app/dialogs/form5.h"
#include "app/dialogs/form7.h"
#include "app/online/lan_games_dialog.h"
#include "app/online/lobby_settings_dialog.h"
#include "app/online/lobby_window.h"
#include "app/dialogs/message_box.h"
#include "net/chat_line.h"
#include "net/leading_number.h"
#include "net/qt_await.h"

namespace vexa::app {

using net::Winsock;

namespace {

// The newest lines a chat list keeps, so that a flood of lines from a peer
// cannot grow it without bound.
constexpr int kChatLinesKept = 1000;

// Appends a chat line, drops the oldest beyond the limit and brings the new
// line into view, as a conversation is read. The scroll waits until the
// lines of this read are in: it lays the whole list out anew, once per read
// rather than once per line of a flood.
void AddChatLine(QListWidget* list, const QString& line) {
  list->addItem(line);
  while (list->count() > kChatLinesKept)
    delete list->takeItem(0);
  QMetaObject::invokeMethod(list, &QListWidget::scrollToBottom, Qt::QueuedConnection);
}

}  // namespace

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
  ChatInput()->setEnabled(false);

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
  if (how != Form3::kHidden && connected && game.online.IsGuest && Mode() == GameMode::VsOnline) {
    co_await ShowForm7();
  }
}

void Form1::ShowHostLines() {
  if (form3_ && !game.online.IsGuest) {
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
                  if (game.GameRunning()) return;
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
                  if (form3_ && !form3_->Connected() && game.online.IsGuest) {
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
  if (game.GameRunning()) return;
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
  SetOptionControls(PanelCode::GameRunning, false);
  if (!game.online.IsGuest) {
    // The connection dialog stays under the settings, its button idle.
    if (form3) form3->Command1->setEnabled(false);
    co_await ChooseSettings();
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
  ChatInput()->setEnabled(true);
}

Task<> Form1::ShowForm7() {
  // The host's "Show" may already have been handled while the dialog before
  // this one closed: the settings are the host's answer, there is nothing
  // left to wait for.
  if (online_.GuestSettingsPending() || (form4_ && form4_->isVisible())) co_return;
  form7_ = new Form7(this);
  co_await ShowDialog(form7_);
}

void Form1::CloseForm7() {
  if (form7_) form7_->done(QDialog::Rejected);
}

// --- The settings dialog -----------------------------------------------------

Form4* Form1::SettingsDialog() {
  if (form4_) return form4_;
  CloseForm7();
  Form4* form4 = new Form4(this);
  form4_ = form4;
  connect(form4, &Form4::FirstMoverChanged, this,
          [this](int index, bool mirrored) { online_.FirstMoverChanged(index, mirrored); });
  connect(form4, &Form4::GameOptionChanged, this,
          [this](int index, bool mirrored) { online_.GameOptionChanged(index, mirrored); });
  connect(form4, &Form4::TimeLimitChanged, this,
          [this](const QString& text, bool mirrored) { online_.TimeLimitChanged(text, mirrored); });
  connect(form4, &Form4::ChatLineEntered, this,
          [this, form4] { SendChatLine(form4->Text2, true); });
  connect(form4, &Form4::StartPressed, this,
          [this](bool host_first) { Start(online_.HostStartsGame(host_first)); });
  connect(form4, &Form4::Closing, this, [this] { online_.SettingsDialogClosed(); });
  online_.SettingsDialogLoading();
  form4->Form_Load(options_->PlayerName(), QString::fromStdString(game.online.OpponentName),
                   game.online.IsGuest);
  return form4;
}

Task<> Form1::ChooseSettings() {
  QPointer<Form4> form4 = SettingsDialog();
  form4->open();
  co_await NextSignal(form4.data(), &Form4::Dismissed);
}

void Form1::SelectFirstMover(int index) {
  SettingsDialog()->ApplyFirstMover(index);
}

void Form1::SelectGameOption(int index) {
  SettingsDialog()->ApplyGameOption(index);
}

void Form1::SetTimeLimitText(const QString& text) {
  SettingsDialog()->ApplyTimeLimitText(text);
}

QString Form1::TimeLimitText() {
  return SettingsDialog()->Text1->text();
}

bool Form1::ExciteSelected() {
  return SettingsDialog()->Option2[1]->isChecked();
}

void Form1::EndSettings() {
  if (form4_) form4_->hide();
}

void Form1::DropSettings() {
  if (form4_) form4_->close();
}

void Form1::ForgetSettings() {
  if (!form4_) return;
  // Whoever waits on it is let go; its selections and chat belonged to the
  // connection before.
  Form4* old = form4_;
  form4_ = nullptr;
  old->hide();
  old->deleteLater();
}

void Form1::ClearWayForSettings() {
  // A record looked at meanwhile gives way, with the player's own mode
  // ("VS Online") back on the panel for the game to come.
  aids_->LeaveReplay();
  if (form3_ && form3_->isVisible()) form3_->done(Form3::kHidden);
  if (form5_ && form5_->isVisible()) form5_->done(Form5::kHidden);
  CloseForm7();
}

Task<> Form1::TellPeerGone(net::PeerGone why) {
  const QString text = why == net::PeerGone::Left
                           ? tr("対戦相手が離脱しました")
                           : tr("相手から規則に反する手が届きました。接続を終了します");
  co_await ShowMessageBox(this, text, QMessageBox::Information, QMessageBox::Ok);
}

// --- Clock and chat ----------------------------------------------------------

void Form1::ClockTicked(int seconds) {
  board_->ShowClock(seconds);
}

void Form1::Beep() {
  QApplication::beep();
}

void Form1::SendChatLine(QLineEdit* input, bool typed_in_settings) {
  if (input->text().isEmpty()) return;
  const QString line = net::ChatLine(options_->PlayerName(), input->text());
  connection_.Link().SendChat(line);
  QListWidget* settings_list = SettingsDialog()->List3;
  QListWidget* lists[2] = {typed_in_settings ? settings_list : List3,
                           typed_in_settings ? List3 : settings_list};
  for (QListWidget* list : lists)
    AddChatLine(list, line);
  input->clear();
}

void Form1::AppendChatLine(const QString& line) {
  AddChatLine(SettingsDialog()->List3, line);
  AddChatLine(List3, line);
}

void Form1::ConnectionEnded() {
  ChatInput()->setEnabled(false);
  if (form4_) form4_->Text2->setEnabled(false);
}

}  // namespace vexa::app
