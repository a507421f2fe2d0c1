#include "app/online/online_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/form4.h"
#include "app/dialogs/form7.h"
#include "app/dialogs/message_box.h"
#include "net/chat_line.h"
#include "net/qt_await.h"

namespace vexa::app {

// --- The settings dialog -----------------------------------------------------

Form4* OnlineDialogs::SettingsDialog() {
  if (form4_) return form4_;
  CloseWaitForHost();
  Form4* form4 = new Form4(p_.window);
  form4_ = form4;
  net::OnlineSession* session = p_.session;
  QObject::connect(form4, &Form4::FirstMoverChanged, form4, [session](int index, bool mirrored) {
    session->FirstMoverChanged(index, mirrored);
  });
  QObject::connect(form4, &Form4::GameOptionChanged, form4, [session](int index, bool mirrored) {
    session->GameOptionChanged(index, mirrored);
  });
  QObject::connect(
      form4, &Form4::TimeLimitChanged, form4,
      [session](const QString& text, bool mirrored) { session->TimeLimitChanged(text, mirrored); });
  QObject::connect(form4, &Form4::ChatLineEntered, form4,
                   [this, form4] { SendChatLine(form4->TakeChatInput(), true); });
  QObject::connect(form4, &Form4::StartPressed, form4, [this](bool host_first) {
    p_.tasks->Start(p_.session->HostStartsGame(host_first));
  });
  QObject::connect(form4, &Form4::Closing, form4, [session] { session->SettingsDialogClosed(); });
  p_.session->SettingsDialogLoading();
  form4->Form_Load(p_.options->PlayerName(), QString::fromStdString(p_.game->online.OpponentName),
                   p_.game->online.IsGuest);
  return form4;
}

Task<> OnlineDialogs::ChooseSettings() {
  QPointer<Form4> form4 = SettingsDialog();
  form4->open();
  co_await NextSignal(form4.data(), &Form4::Dismissed);
}

void OnlineDialogs::PeerChangedSetting(net::Setting which, const QString& value) {
  Form4* form4 = SettingsDialog();
  switch (which) {
    case net::Setting::FirstMover:
      form4->ApplyFirstMover(value.toInt());
      break;
    case net::Setting::GameOption:
      form4->ApplyGameOption(value.toInt());
      break;
    case net::Setting::TimeLimit:
      form4->ApplyTimeLimitText(value);
      break;
  }
}

net::ChosenSettings OnlineDialogs::Settings() {
  Form4* form4 = SettingsDialog();
  return {.excite = form4->ExciteSelected(), .time_limit = form4->TimeLimitText()};
}

void OnlineDialogs::SettingsEnded(net::SettingsEnd how) {
  if (!form4_) return;
  switch (how) {
    case net::SettingsEnd::GameStarts:
      form4_->hide();
      break;
    case net::SettingsEnd::ConnectionGone:
      form4_->close();
      break;
    case net::SettingsEnd::NewConnection: {
      // Whoever waits on it is let go; its selections and chat belonged to
      // the connection before.
      Form4* old = form4_;
      form4_ = nullptr;
      old->hide();
      old->deleteLater();
      break;
    }
  }
}

// --- The other dialogs around a connection ----------------------------------

Task<> OnlineDialogs::WaitForHost() {
  // The host's "Show" may already have been handled while the dialog before
  // this one closed: the settings are the host's answer, there is nothing
  // left to wait for.
  if (p_.session->GuestSettingsPending() || (form4_ && form4_->isVisible())) co_return;
  form7_ = new Form7(p_.window);
  co_await ShowDialog(form7_);
}

void OnlineDialogs::CloseWaitForHost() {
  if (form7_) form7_->done(QDialog::Rejected);
}

void OnlineDialogs::ClearWayForSettings() {
  // A record looked at meanwhile gives way, with the player's own mode
  // ("VS Online") back on the panel for the game to come.
  p_.aids->LeaveReplay();
  p_.hide_connection_dialog();
  p_.shell->HideResult();
  CloseWaitForHost();
}

Task<> OnlineDialogs::TellPeerGone(net::PeerGone why) {
  const QString text = why == net::PeerGone::Left
                           ? tr("対戦相手が離脱しました")
                           : tr("相手から規則に反する手が届きました。接続を終了します");
  co_await ShowMessageBox(p_.window, text, QMessageBox::Information, QMessageBox::Ok);
}

void OnlineDialogs::GameBegins(const QString& left, const QString& right) {
  // An online game begins: a replay left open gives way to it.
  p_.aids->LeaveReplay();
  p_.board->SetCaptions(left, right);
}

// --- Clock and chat ----------------------------------------------------------

void OnlineDialogs::ClockShows(std::optional<int> seconds) {
  if (seconds) {
    p_.board->ShowClock(*seconds);
  } else {
    p_.board->HideClock();
  }
}

void OnlineDialogs::ClockTookBlocker() {
  QApplication::beep();
}

void OnlineDialogs::SendChatLine(const QString& text, bool typed_in_settings) {
  if (text.isEmpty()) return;
  const QString line = net::ChatLine(p_.options->PlayerName(), text);
  p_.link->SendChat(line);
  // The list it was typed under first.
  Form4* settings = SettingsDialog();
  if (!typed_in_settings) AddChatLine(p_.chat_list, line);
  settings->ShowChatLine(line);
  if (typed_in_settings) AddChatLine(p_.chat_list, line);
}

void OnlineDialogs::PeerSaid(const QString& line) {
  SettingsDialog()->ShowChatLine(line);
  AddChatLine(p_.chat_list, line);
}

void OnlineDialogs::ConnectionEnded() {
  p_.chat_input->setEnabled(false);
  if (form4_) form4_->CloseChat();
}

}  // namespace vexa::app
