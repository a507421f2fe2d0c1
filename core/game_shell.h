#pragma once

// Everything the rules must tell or ask outside themselves: the main window
// and its dialogs, the records file, the game connection and the move clock.
// The main window implements it; the tests implement it with a recorder.
// Operations that wait return a Task the rules co_await.

#include <string>

#include "core/board.h"
#include "core/modes.h"
#include "core/move.h"
#include "core/task.h"

namespace vexa {

struct OutlineEnds {
  TwipPoint from[4];
  TwipPoint to[4];
};

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

  // --- The board and the side panels.
  // A placement has been made (cell painted, stock marker hidden).
  virtual void MovePlayed(const Move& move) = 0;
  virtual void PaintCell(int cell, Color color) = 0;
  // Piece markers 0..19 belong to side 1, 20..39 to the other side.
  virtual void HidePieceMarker(int index) = 0;
  // Blocker markers 0..5 belong to side 1, 6..11 to the other side.
  virtual void HideBlockerMarker(int index) = 0;
  virtual void ShowAllMarkers() = 0;
  virtual void SetTurnMarkers(bool left_on, bool right_on) = 0;
  virtual void SetSideCaptions(const std::string& left, const std::string& right) = 0;
  virtual void DrawOutline(const OutlineEnds& ends, Color color) = 0;
  virtual void HideOutline() = 0;
  virtual void HideClockDisplay() = 0;
  virtual void SetCoordinateReadout(const std::string& text) = 0;

  // --- The option panel: enabled by mode and by whether a game runs.
  virtual void SetOptionControls(PanelCode panel_code, bool editable) = 0;
  virtual void EnableOptionPanel() = 0;

  // --- Records: the counters live in the game; these write and show them.
  virtual void SaveRecords() = 0;
  virtual void ShowRecords() = 0;

  // --- Waits.
  // Lasts until more than `milliseconds` have passed (a tool or test may
  // make it shorter); pending events run meanwhile.
  virtual Task<> Pause(int milliseconds) = 0;
  // Lets pending events run once.
  virtual Task<> LetEventsRun() = 0;
  // A game has ended: with a result (before its dialog), or without one
  // after at least one placement (abandoned, the peer gone). The game's
  // History() still holds its placements.
  virtual void GameEnded(const Outcome& outcome) = 0;
  // The result dialog: its text, then its modal display until it is closed.
  virtual void SetResultText(const std::string& text) = 0;
  virtual Task<> ShowResultDialog() = 0;
  // The host's online settings dialog, shown modally.
  virtual Task<> ShowSettingsDialog() = 0;

  // --- The game connection and the move clock.
  // The local player's piece or blocker, for the peer.
  virtual void SendPiece(int cell) = 0;
  virtual void SendBlocker(int cell) = 0;
  // The host asks the peer to open its settings dialog for the next game.
  virtual void AskForSettings() = 0;
  // Tells a connected peer "EndG", waits for it to close its end, closes both
  // sockets. Does nothing when no socket is open.
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
