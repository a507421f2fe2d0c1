#pragma once

// What a game tells and asks outside itself, named after the game's events,
// not after widgets: the main window turns each event into what the player
// sees, the headless player and the tools listen to the few they need.
// Every event has a default that does nothing, so an implementation names
// only what it uses. Operations that wait return a Task the game co_awaits.

#include <string>

#include "core/board.h"
#include "core/modes.h"
#include "core/move.h"
#include "core/task.h"

namespace vexa {

class GameShell {
 public:
  virtual ~GameShell() = default;

  // --- The choices of the option panel, read when they are needed.
  virtual GameMode Mode() const = 0;
  virtual CpuStrength Strength() const = 0;
  virtual bool CpuMovesFirst() const = 0;      // "CPUが先攻"
  virtual bool Player1MovesFirst() const = 0;  // "Player1が先攻"
  // The name the local player shows online (the connection panel's name box).
  virtual std::string LocalPlayerName() const = 0;

  // --- What happened. The game's state (Board(), the stocks, History())
  // already shows it when the event is told.
  // A game of this mode begins on an empty board.
  virtual void GameStarted(GameMode) {}
  // The board and the stocks were set as a whole: emptied for a new game or
  // an abandon, or restored by an undo. No square is outlined any more.
  virtual void BoardReset() {}
  // One placement: its cell and its side's stock changed.
  virtual void MovePlayed(const Move&) {}
  // The move clock took a blocker of `side` (its stock changed without a
  // placement).
  virtual void BlockerForfeited(Side) {}
  // The move goes to `side`; 0 when nobody is to move.
  virtual void MoveHandedTo(Side) {}
  // The judge accepted a square of `side`: its outline is drawn.
  virtual void SquareFound(const SquareCorners&, Side) {}
  // A game has ended: with a result (before its dialog), or without one
  // after at least one placement (abandoned, the peer gone). The game's
  // History() still holds its placements.
  virtual void GameEnded(const Outcome&) {}
  // The local player's records changed: they are kept and shown.
  virtual void RecordsChanged() {}
  // A person at this machine clicked a cell (placed or not).
  virtual void CellClicked(int) {}

  // --- The option panel: enabled by mode and by whether a game runs.
  virtual void SetOptionControls(PanelCode, bool /*editable*/) {}
  virtual void EnableOptionPanel() {}

  // --- Waits.
  // Lasts until more than `milliseconds` have passed (a tool or test may
  // make it shorter); pending events run meanwhile.
  virtual Task<> Pause(int /*milliseconds*/) { co_return; }
  // The result dialog with this text, shown modally until it is closed.
  virtual Task<> ShowResult(const std::string& /*text*/) { co_return; }
  // The host chooses the next online game's settings (its settings dialog,
  // shown modally).
  virtual Task<> ChooseSettings() { co_return; }
};

// The game connection and the move clock, as the game uses them; the online
// session implements it. Without one, a game has no peer and no clock.
class OnlineLink {
 public:
  virtual ~OnlineLink() = default;
  // The local player's piece or blocker, for the peer.
  virtual void SendPiece(int cell) = 0;
  virtual void SendBlocker(int cell) = 0;
  // The host asks the peer to open its settings dialog for the next game.
  virtual void AskForSettings() = 0;
  // Tells a connected peer "EndG", waits for it to close its end, closes
  // both sockets. Does nothing when no socket is open.
  virtual Task<> CloseConnection() = 0;
  virtual void StartMoveClock() = 0;
  virtual void StopMoveClock() = 0;
};

// The computer player's whole move (side 3), called with Turn already 3.
class CpuOpponent {
 public:
  virtual ~CpuOpponent() = default;
  virtual Task<> CpuMove() = 0;
  // The game it may be thinking about has ended or been replaced: work still
  // running for it may stop at once, its result is not wanted.
  virtual void StopThinking() {}
};

}  // namespace vexa
