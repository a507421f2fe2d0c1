#pragma once

// A shell that shows nothing and never waits, for the command-line tools and
// the benchmarks: the rules run at full speed with no window. The choices of
// the option panel are plain fields.

#include <string>

#include "core/game_shell.h"

namespace vexa {

class SilentShell : public GameShell {
 public:
  GameMode mode = GameMode::VsCpu;
  CpuStrength strength = CpuStrength::VeryHard;
  bool cpu_first = false;
  bool player1_first = true;

  GameMode Mode() const override { return mode; }
  CpuStrength Strength() const override { return strength; }
  bool CpuMovesFirst() const override { return cpu_first; }
  bool Player1MovesFirst() const override { return player1_first; }
  std::string LocalPlayerName() const override { return {}; }
  void MovePlayed(const Move&) override {}
  void PaintCell(int, Color) override {}
  void HidePieceMarker(int) override {}
  void HideBlockerMarker(int) override {}
  void ShowAllMarkers() override {}
  void SetTurnMarkers(bool, bool) override {}
  void SetSideCaptions(const std::string&, const std::string&) override {}
  void DrawOutline(const OutlineEnds&, Color) override {}
  void HideOutline() override {}
  void HideClockDisplay() override {}
  void SetCoordinateReadout(const std::string&) override {}
  void SetOptionControls(PanelCode, bool) override {}
  void EnableOptionPanel() override {}
  void SaveRecords() override {}
  void ShowRecords() override {}
  Task<> Pause(int) override { co_return; }
  Task<> LetEventsRun() override { co_return; }
  void GameEnded(const Outcome&) override {}
  void SetResultText(const std::string&) override {}
  Task<> ShowResultDialog() override { co_return; }
  Task<> ShowSettingsDialog() override { co_return; }
  void SendPiece(int) override {}
  void SendBlocker(int) override {}
  void AskForSettings() override {}
  Task<> CloseConnection() override { co_return; }
  void StartMoveClock() override {}
  void StopMoveClock() override {}
};

}  // namespace vexa
