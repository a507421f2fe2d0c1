#pragma once

// The state of the one current game and the procedures of play: the judge,
// a placement from a click, the start of a game and its abandonment. Each
// procedure changes the state and tells the shell in the same step.

#include <array>
#include <cstdint>
#include <string>

#include "board.h"
#include "game_shell.h"
#include "square_scan.h"
#include "task.h"

namespace vexa {

// The local player's records. Draws is shown but never stored.
struct Records {
  std::string PlayerName;
  std::int32_t GamesPlayed = 0;
  std::int32_t Wins = 0;
  std::int32_t Losses = 0;
  std::int32_t Draws = 0;
};

// What the rules need to know of an online game.
struct OnlineState {
  std::int16_t IsGuest = 0;  // 1 when this instance joined, 0 when it hosts
  std::string OpponentName;
  std::int16_t ClockStyle = 0;  // 1 for "Excite": the move clock runs
  std::int16_t TimeLimit = 0;   // seconds per move in "Excite"
};

// Mouse button codes of a click on a cell.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The judge's pause per accepted pair of corners.
constexpr int kJudgePauseMs = 800;

class Game {
 public:
  explicit Game(GameShell& shell) : shell_(shell) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void SetCpuOpponent(CpuOpponent* cpu) { cpu_ = cpu; }
  GameShell& Shell() { return shell_; }

  // --- State, plain data.
  BoardCells Board{};
  std::int16_t Turn = NoGameYet;
  std::array<std::int16_t, 4> PieceStock{};    // by side - 1
  std::array<std::int16_t, 4> BlockerStock{};  // by side - 1
  std::array<Color, 4> SideColor{};            // outline colour by side - 1
  Records records;
  OnlineState online;

  // Changes whenever a game starts or is abandoned: code that waited checks
  // it before it touches the board again.
  int GameNumber() const { return game_number_; }

  // --- The procedures of play.
  // The judge, after a piece of `side`. True when the game has ended, in
  // this call or earlier.
  Task<bool> CheckSquare(Side side);
  // A mouse button pressed on a board cell.
  Task<> PlaceFromClick(int cell, int button);
  // fromMenu is 1 for "新規ゲーム", 0 for the start of an online game.
  Task<> StartGame(int fromMenu);
  // "このゲームを終了": ends the game without a result.
  Task<> AbandonGame();
  // Ends the game in progress at once, board and panel left as they are:
  // no side may move, and code waiting on the game finds it gone.
  void InterruptGame() {
    ++game_number_;
    Turn = NoTurn;
  }

  // --- Steps shared with the computer player and the peer's moves.
  // Paints the cell in its value's colour, then stores the value.
  void SetCell(int cell, CellValue value);
  // One piece or blocker of the side's stock used: the entry goes down by
  // one and the marker of the new count is hidden.
  void UsePiece(Side side);
  void UseBlocker(Side side);
  // Marks the panel of the side to move; side 1 is on the left.
  void MarkTurn(Side side);
  bool GameRunning() const { return Turn >= Player1 && Turn <= Remote; }

  // The other side of the current mode: 3, 2 or 4.
  Side OpponentSide() const;

 private:
  void ClearBoard();
  std::string WinnerText(Side side) const;
  Task<bool> EndByStockOut(int game);
  // What every ending of the judge does after its result dialog.
  Task<> AfterResult(int game);

  GameShell& shell_;
  CpuOpponent* cpu_ = nullptr;
  int game_number_ = 0;
};

// The colour a cell of that value is painted in.
Color CellColor(std::int16_t value);

// The readout of a clicked cell: "( 3, 2)" for cell 25.
std::string CoordinateText(int cell);

}  // namespace vexa
