#pragma once

// What the online code needs of the windows beyond what the rules already
// ask of them: the settings dialog, the dialogs around the connection, the
// clock display and the chat lists. The main window implements it; the
// tests and the fuzzer implement it with fakes.

#include <QString>

#include "core/task.h"

namespace vexa::net {

// Why the peer's side of a connection ended.
enum class PeerGone {
  Left,        // it said "EndG", or its connection closed or failed
  BrokeRules,  // it sent a placement the rules do not allow: this side closed
};

class OnlineWindows {
 public:
  virtual ~OnlineWindows() = default;

  // --- The next game's settings (in the window, its settings dialog,
  // created and loaded when first needed). A selection made here runs the
  // control's own change handler, which tells the peer, as a click would.
  virtual void SelectFirstMover(int index) = 0;  // 0 the local player, 1 the peer
  virtual void SelectGameOption(int index) = 0;  // 0 "Normal", 1 "Excite"
  virtual void SetTimeLimitText(const QString& text) = 0;
  virtual QString TimeLimitText() = 0;
  virtual bool ExciteSelected() = 0;
  // The settings are being chosen (the dialog shown modally) until the game
  // starts (EndSettings) or they are dropped.
  virtual Task<> ChooseSettings() = 0;
  virtual void EndSettings() = 0;
  // Ends the choosing without a word to the peer (the connection is gone).
  virtual void DropSettings() = 0;
  // A new connection chooses its settings afresh (a dialog of its own).
  virtual void ForgetSettings() = 0;

  // --- The other dialogs around a connection.
  // The connection dialog and the result dialog hidden, the waiting-for-host
  // dialog closed: before the settings open on the joining side, and when
  // the peer has left.
  virtual void ClearWayForSettings() = 0;
  // The player hears why the game and the connection are over.
  virtual Task<> TellPeerGone(PeerGone why) = 0;

  // --- The players of an online game, side 1 first.
  virtual void PlayersNamed(const QString& left, const QString& right) = 0;

  // --- The move clock: the seconds left shown, or the clock stopped.
  virtual void ClockTicked(int seconds) = 0;
  virtual void ClockStopped() = 0;
  virtual void Beep() = 0;

  // --- Chat and the end of a connection.
  // One chat line, added to the settings dialog's list, then the main
  // window's.
  virtual void AppendChatLine(const QString& line) = 0;
  // The connection has ended: the chat inputs take no more lines.
  virtual void ConnectionEnded() = 0;
};

// The game and chat connections as the online code uses them.
class GameLink {
 public:
  virtual ~GameLink() = default;
  virtual int GameState() const = 0;
  virtual int ChatState() const = 0;
  virtual void SendGame(const QString& message) = 0;
  virtual void SendChat(const QString& line) = 0;
  virtual void CloseGame() = 0;
  virtual void CloseChat() = 0;
};

}  // namespace vexa::net
