#pragma once

// One program's side of online play once a connection is up: it applies the
// peer's messages to the game, mirrors the settings, starts each game, runs
// the move clock, and leaves or notices that the peer has left. It reaches
// the sockets only through GameLink and the dialogs only through
// OnlineWindows, so it runs without a network; every message it sends is
// built here or in game_message.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "core/game.h"
#include "core/task.h"
#include "net/chat_line.h"
#include "net/echo_filter.h"
#include "net/game_message.h"
#include "net/online_windows.h"

namespace vexa::net {

// How long a wait on the peer (its name, its closing) lasts at most.
constexpr int kPeerWaitMs = 5000;

// Tells the session's waits that something they wait for may have changed:
// the peer's name arrived, or the game connection's state moved.
class SessionChanges : public QObject {
  Q_OBJECT
 signals:
  void Changed();
};

class OnlineSession : public OnlineLink {
 public:
  OnlineSession(Game& game, OnlineWindows& windows, GameLink& link, TaskGroup& tasks);
  ~OnlineSession() override;
  OnlineSession(const OnlineSession&) = delete;
  OnlineSession& operator=(const OnlineSession&) = delete;

  // A new connection is being set up, hosted or joined: no old name, no
  // half-read message, no settings of the connection before.
  void BeginConnection(bool as_guest);
  bool Connected() const;
  // The joining side handles the host's "Show": its settings dialog is on
  // its way or shown.
  bool GuestSettingsPending() const { return guest_settings_pending_; }

  // --- The game connection's reads: every whole message, in order. A
  // message whose handler waits (for a dialog) does not hold back the ones
  // after it; none is applied once either side has left.
  void GameDataArrived(const QByteArray& bytes);
  // The game socket's State changed. A connection that ends without the
  // peer's "EndG" (State 8: closed by the peer, 9: failed) and without ours
  // means the peer has gone: it is handled as if it had said "EndG".
  void GameStateChanged(int state);
  // --- The chat connection's reads.
  void ChatDataArrived(const QByteArray& bytes);

  // --- What this side tells the peer. Nothing is sent once this side has
  // said "EndG".
  void SendName(const QString& name);
  void SendPiece(int cell) override;
  void SendBlocker(int cell) override;
  // The host, after a game: the peer opens its settings dialog.
  void AskForSettings() override;

  // --- The settings dialog.
  // It is being loaded: the host asks the peer to open its own.
  void SettingsDialogLoading();
  // A setting changed in the dialog, by the host's hand or mirrored from the
  // peer (then `mirrored`): it goes to the peer, a mirrored one as its echo.
  void FirstMoverChanged(int index, bool mirrored);
  void GameOptionChanged(int index, bool mirrored);
  void TimeLimitChanged(const QString& text, bool mirrored);
  // The host pressed "ゲームスタート".
  Task<> HostStartsGame(bool host_moves_first);
  // The dialog was closed with "終了" or its close box: this side leaves.
  void SettingsDialogClosed();

  // --- Leaving: "EndG" to a connected peer, a bounded wait for it to close
  // its end, then both sockets closed.
  Task<> CloseConnection() override;
  // A bounded wait for the peer's name, ending early when the connection is
  // gone. True when the name is there.
  Task<bool> WaitForOpponentName();

  // --- The move clock of "Excite" games.
  void StartMoveClock() override;
  void StopMoveClock() override;
  // One tick of the clock's timer.
  Task<> ClockTick();
  QTimer& MoveClockTimer() { return timer_; }
  // Tests shorten the clock's second.
  void SetTickPeriod(int milliseconds) { tick_ms_ = milliseconds; }

  // Sees every whole message received, before it is applied (a log, a
  // test).
  void SetMessageObserver(std::function<void(const QString&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  // The connection a handler belongs to is still this one and nobody has
  // left it: checked before each message and after every wait.
  bool StillLive(int connection) const {
    return connection == connection_ && !left_ && !peer_gone_;
  }
  Task<> Apply(ParsedMessage message, int connection);
  Task<> ApplyLoss();
  Task<> LoseOnTime();
  // The one start of an online game, for both sides.
  Task<> StartGame(Side first_mover);
  Task<> OpenSettingsAsGuest(int connection);
  Task<> PeerLeft(PeerGone why = PeerGone::Left);
  // A placement of the peer's: made when the rules allow it, else the
  // connection ends as the peer's fault.
  Task<> ApplyPeerMove(const Move& move);
  // Resumes when `done` holds (true) or the connection is gone or `ms` have
  // passed (false), waking on SessionChanges.
  Task<bool> WaitUntil(std::function<bool()> done, int ms);
  void Send(const QString& message);
  void SendEndG();
  // The setting goes to the peer; the host notes it to know its echo.
  void SendSetting(EchoFilter& echoes, const QString& value, const QString& message, bool mirrored);

  Game& game_;
  OnlineWindows& windows_;
  GameLink& link_;
  TaskGroup& tasks_;
  SessionChanges changes_;
  MessageReader reader_;
  std::function<void(const QString&)> observer_;
  ChatReader chat_reader_;
  EchoFilter first_mover_echoes_;
  EchoFilter game_option_echoes_;
  EchoFilter time_limit_echoes_;
  QTimer timer_;
  int tick_ms_ = 1000;
  bool clock_running_ = false;
  int seconds_left_ = 0;
  // Set once this side has said "EndG", so that the peer's closing in
  // answer is not taken for the peer leaving.
  bool left_ = false;
  // Set once the peer's leaving has been handled for this connection.
  bool peer_gone_ = false;
  bool was_connected_ = false;
  bool guest_settings_pending_ = false;
  // Counts the connections set up, so that a wait on one never acts on the
  // next.
  int connection_ = 0;
};

}  // namespace vexa::net
