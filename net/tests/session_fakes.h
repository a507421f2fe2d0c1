#pragma once

// One program's online side without windows or sockets: the dialogs and
// both connections as data, and the rules' recording shell wired to the
// session as the main window wires it. Every dialog's wait completes at
// once unless the shell holds it. Used by the session tests and the
// session fuzzer.

#include <QString>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "core/game.h"
#include "core/tests/recording_shell.h"
#include "net/game_message.h"
#include "net/online_session.h"
#include "net/winsock_adapter.h"

namespace vexa::net::fakes {

// The settings dialog and the other dialogs as data.
class FakeWindows : public OnlineWindows {
 public:
  // When set, a selection or text that really changes is reported to the
  // session as mirrored, as the dialog's controls report it, so the session
  // echoes it. Without it nothing is echoed.
  OnlineSession* reports_to = nullptr;
  std::string failure;  // a selection the dialog does not have
  int first_mover = 0;
  int game_option = 0;
  QString time_limit = QStringLiteral("5");
  int settings_shown = 0;
  std::vector<int> clock_shown;  // the seconds the clock display showed, in order
  int clock_hidden = 0;
  QString captions;  // the side panels' captions, "left|right"
  int beeps = 0;
  int opponent_left_told = 0;
  int broken_rules_told = 0;

  void PeerChangedSetting(Setting which, const QString& value) override {
    switch (which) {
      case Setting::FirstMover:
        Select(first_mover, value.toInt(), "first mover ",
               [this](int index) { reports_to->FirstMoverChanged(index, true); });
        break;
      case Setting::GameOption:
        Select(game_option, value.toInt(), "game option ",
               [this](int index) { reports_to->GameOptionChanged(index, true); });
        break;
      case Setting::TimeLimit:
        if (std::exchange(time_limit, value) != value && reports_to) {
          reports_to->TimeLimitChanged(value, true);
        }
        break;
    }
  }
  ChosenSettings Settings() override {
    return {.excite = game_option == 1, .time_limit = time_limit};
  }
  Task<> ChooseSettings() override {
    ++settings_shown;
    co_return;
  }
  void SettingsEnded(SettingsEnd) override {}
  void GameBegins(const QString& left, const QString& right) override {
    captions = left + u'|' + right;
  }
  void ClockShows(std::optional<int> seconds) override {
    if (seconds) {
      clock_shown.push_back(*seconds);
    } else {
      ++clock_hidden;
    }
  }
  void ClockTookBlocker() override { ++beeps; }
  Task<> TellPeerGone(PeerGone why) override {
    ++(why == PeerGone::Left ? opponent_left_told : broken_rules_told);
    co_return;
  }

 private:
  // A selection of the dialog's two buttons; one that really changes is
  // reported.
  template <typename Report>
  void Select(int& selected, int index, const char* what, Report report) {
    if (index != 0 && index != 1) failure = what + std::to_string(index);
    if (std::exchange(selected, index) != index && reports_to) report(index);
  }
};

// Both connections up until closed.
class FakeLink : public GameLink {
 public:
  int game_state = Winsock::kConnected;
  int chat_state = Winsock::kConnected;
  // A peer told "EndG" closes its end at once; a silent one never does.
  bool peer_answers_endg = true;
  QStringList sent;  // every message handed to the game connection

  int GameState() const override { return game_state; }
  int ChatState() const override { return chat_state; }
  void SendGame(const QString& message) override {
    sent.append(message);
    if (peer_answers_endg && message == EndGMessage() && game_state == Winsock::kConnected) {
      game_state = Winsock::kClosing;
    }
  }
  void SendChat(const QString&) override {}
  void CloseGame() override { game_state = Winsock::kClosed; }
  void CloseChat() override { chat_state = Winsock::kClosed; }
};

// The rules' shell wired to the session as the main window wires it.
class SessionShell : public vexa::testing::RecordingShell {
 public:
  SessionShell() { mode = GameMode::VsOnline; }
  void Attach(OnlineSession& session, OnlineWindows& windows) {
    session_ = &session;
    windows_ = &windows;
  }

  // The host's settings dialog is the same dialog the session opens.
  Task<> ChooseSettings() override { co_await windows_->ChooseSettings(); }

 private:
  OnlineSession* session_ = nullptr;
  OnlineWindows* windows_ = nullptr;
};

// One program's online side.
class OnlineSide {
 public:
  OnlineSide() {
    shell.Attach(session, windows);
    game.records.PlayerName = "Taro";
  }

  // The connection is up, hosted or joined; no name has come yet.
  void Connect(bool as_guest) {
    session.BeginConnection(as_guest);
    link.game_state = Winsock::kConnected;
    link.chat_state = Winsock::kConnected;
    session.GameStateChanged(Winsock::kConnected);
  }
  // One read of the game connection.
  void Read(const QByteArray& bytes) { session.GameDataArrived(bytes); }
  void Click(int cell, bool right_button = false) {
    tasks.Start(game.PlaceLocal(cell, right_button ? MoveKind::Blocker : MoveKind::Piece));
  }
  // The host's "ゲームスタート".
  void HostStarts(bool host_first) { tasks.Start(session.HostStartsGame(host_first)); }
  void Tick() { tasks.Start(session.ClockTick()); }
  // What was sent since the last call.
  QStringList TakeSent() { return std::exchange(link.sent, {}); }

  FakeLink link;
  FakeWindows windows;
  SessionShell shell;
  Game game{shell};
  OnlineSession session{game, windows, link, tasks};
  // Last: the waits it owns end before what they refer to.
  TaskGroup tasks;
};

}  // namespace vexa::net::fakes
