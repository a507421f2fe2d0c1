#pragma once

// The main window as the rules see it: what they show (the board, the side
// panels, the marks and the status line, the games' records) and what they
// ask (the mode and strength chosen, the pauses, the result dialog).

#include <QCoreApplication>
#include <QPointer>
#include <functional>
#include <optional>

#include "app/aids/player_aids.h"
#include "app/board/board_view.h"
#include "app/window/option_panel.h"
#include "core/game.h"
#include "core/game_shell.h"

class QWidget;

namespace vexa::app {

class Form5;

class WindowShell : public GameShell {
  // Its texts belong to the main window's translations.
  Q_DECLARE_TR_FUNCTIONS(vexa::app::Form1)

 public:
  // The window's parts; they are built after the game that this shell
  // serves, and attached before it plays.
  struct Parts {
    QWidget* window;  // the parent of the result dialog
    const Game* game;
    BoardView* board;
    OptionPanel* options;
    PlayerAids* aids;
    QString data_folder;  // where the games' records are written
    // The player's records changed: saved and shown.
    std::function<void()> records_changed;
    // The online settings are chosen (the host's dialog after a result).
    std::function<Task<>()> choose_settings;
    // The joining side waits for its host after a result it closed.
    std::function<Task<>()> wait_for_host;
  };

  WindowShell() = default;
  WindowShell(const WindowShell&) = delete;
  WindowShell& operator=(const WindowShell&) = delete;

  void Attach(Parts parts) { p_ = std::move(parts); }
  // Makes every pause this long instead (tests, screenshots).
  void SetPauseOverride(std::optional<int> milliseconds) { pause_override_ = milliseconds; }
  // The record of the game in the state it is in, with that ending.
  GameRecord RecordOf(const Outcome& outcome) const;
  // The result dialog gives way (the peer left, the next game's settings).
  void HideResult();

  GameMode Mode() const override;
  CpuStrength Strength() const override;
  bool CpuMovesFirst() const override;
  bool Player1MovesFirst() const override;
  std::string LocalPlayerName() const override;
  void GameStarted(GameMode mode) override;
  void BoardReset() override;
  void MovePlayed(const Move& move) override;
  void BlockerForfeited(Side side) override;
  void MoveHandedTo(Side side) override;
  void SquareFound(const SquareCorners& square, Side side) override;
  void GameEnded(const Outcome& outcome) override;
  void RecordsChanged() override;
  void CellClicked(int cell) override;
  void SetOptionControls(PanelCode panel_code, bool editable) override;
  void EnableOptionPanel() override;
  Task<> Pause(int milliseconds) override;
  Task<> ShowResult(const std::string& text) override;
  Task<> ChooseSettings() override;

 private:
  // The game's board and stocks on the board view.
  void ShowGameBoard();
  void ShowGameStocks();

  Parts p_{};
  std::optional<int> pause_override_;
  QPointer<Form5> form5_;
};

}  // namespace vexa::app
