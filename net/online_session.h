#pragma once

// One program's side of online play once a connection is up: it applies the
// peer's messages to the game, runs the move clock, and leaves or notices
// that the peer has left. It reaches the sockets only through GameLink and
// the dialogs only through OnlineWindows, so it runs without a network.

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <functional>

#include "chat_line.h"
#include "game.h"
#include "game_message.h"
#include "online_windows.h"
#include "task.h"

namespace vexa::net {

// How long a wait on the peer (its name, its closing) lasts at most.
constexpr int kPeerWaitMs = 5000;

class OnlineSession {
 public:
  OnlineSession(Game& game, OnlineWindows& windows, GameLink& link, TaskGroup& tasks);
  OnlineSession(const OnlineSession&) = delete;
  OnlineSession& operator=(const OnlineSession&) = delete;

  // A new connection is being set up: no old name, no half-read message.
  void BeginConnection();

  // --- The game connection's reads: every whole message, in order. A
  // message whose handler waits (for a dialog) does not hold back the ones
  // after it.
  void GameDataArrived(const QByteArray& bytes);
  // One message, as the receiver applies it.
  Task<> Apply(ParsedMessage message);
  // The game socket's State changed. A connection that ends without the
  // peer's "EndG" (State 8: closed by the peer, 9: failed) and without ours
  // means the peer has gone: it is handled as if it had said "EndG".
  void GameStateChanged(int state);

  // --- The chat connection's reads.
  void ChatDataArrived(const QByteArray& bytes);

  // Tells the peer this side leaves, without waiting for it (the settings
  // dialog's "終了").
  void SendEndG();

  // --- Leaving: "EndG" to a connected peer, a bounded wait for it to close
  // its end, then both sockets closed.
  Task<> CloseConnection();
  // The peer has left ("EndG", or the connection lost without it).
  Task<> PeerLeft();
  // A wait for the peer's name, bounded, ending early when the connection
  // is gone. True when the name is there.
  Task<bool> WaitForOpponentName();

  // --- The move clock of "Excite" games.
  void StartMoveClock();
  void StopMoveClock();
  Task<> Timer1_Timer();
  QTimer& Timer1() { return timer_; }
  // Tests shorten the clock's second.
  void SetTickPeriod(int milliseconds) { tick_ms_ = milliseconds; }
  bool ClockRunning() const { return clock_running_; }
  int SecondsLeft() const { return seconds_left_; }

  void Send(const QString& message) { link_.SendGame(message); }
  // Sees every whole message received, before it is applied (a log, a
  // test).
  void SetMessageObserver(std::function<void(const QString&)> observer) {
    observer_ = std::move(observer);
  }
  GameLink& Link() { return link_; }
  bool Connected() const;

 private:
  Task<> ApplyPiece(int cell);
  Task<> ApplyLoss();
  Task<> LoseOnTime();
  // The argument as read: only exactly 0 or 1 chooses the first mover.
  Task<> StartFromMessage(double guest_first);
  Task<> OpenSettingsAsGuest();

  Game& game_;
  OnlineWindows& windows_;
  GameLink& link_;
  TaskGroup& tasks_;
  MessageReader reader_;
  std::function<void(const QString&)> observer_;
  ChatReader chat_reader_;
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
