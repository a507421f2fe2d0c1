#pragma once

// The state of the one current game and the procedures of play: the judge,
// the placements, the start of a game, its ending and its abandonment. Each
// procedure changes the state and tells the shell in the same step; the
// state itself is read through accessors and changed only by them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/game_shell.h"
#include "core/move.h"
#include "core/position.h"
#include "core/square_scan.h"
#include "core/task.h"

namespace vexa {

// The local player's records. Draws is shown but never stored.
struct Records {
  std::string PlayerName;
  std::int32_t GamesPlayed = 0;
  std::int32_t Wins = 0;
  std::int32_t Losses = 0;
  std::int32_t Draws = 0;
};

// The game option of an online game: with "Excite" the move clock runs.
enum class GameOption : std::int16_t { Normal = 0, Excite = 1 };

// What the rules need to know of an online game.
struct OnlineState {
  bool IsGuest = false;  // this instance joined; false when it hosts
  std::string OpponentName;
  GameOption ClockStyle = GameOption::Normal;
  std::int16_t TimeLimit = 0;  // seconds per move in "Excite"
};

// Who starts a game: "新規ゲーム", or the start of an online game that the
// host's settings dialog or its "StTn" decided.
enum class StartedFrom { OnlineStart = 0, Menu = 1 };

// The judge's pause per accepted pair of corners.
constexpr int kJudgePauseMs = 800;

class Game {
 public:
  explicit Game(GameShell& shell) : shell_(shell) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void SetCpuOpponent(CpuOpponent* cpu) { cpu_ = cpu; }
  // The connection to the peer; without one, online steps do nothing.
  void SetOnlineLink(OnlineLink* link) { link_ = link != nullptr ? link : &no_link_; }
  GameShell& Shell() { return shell_; }

  // --- The state.
  // The board, the stocks and the rules' side to move.
  const Position& CurrentPosition() const { return position_; }
  const BoardCells& Board() const { return position_.Board(); }
  Side Turn() const { return turn_; }
  const Stocks& PieceStock() const { return position_.PieceStock(); }
  const Stocks& BlockerStock() const { return position_.BlockerStock(); }
  // The placements since the game started, in order.
  const std::vector<Move>& History() const { return history_; }
  // How the last game ended; nothing while it runs or after an abandon.
  const std::optional<Outcome>& Result() const { return result_; }
  bool GameRunning() const { return turn_ >= Player1 && turn_ <= Remote; }
  // The other side of the current mode: 3, 2 or 4.
  Side OpponentSide() const;
  // What the result dialog says when `winner` has won (0: a draw).
  std::string ResultText(Side winner) const;

  // Plain data the window and the online session keep up to date.
  Records records;
  OnlineState online;

  // Changes whenever a game starts or is abandoned.
  int GameNumber() const { return game_number_; }
  // Taken before a wait: after it, the code goes on only while the game it
  // belongs to is still the current one.
  class Watch {
   public:
    explicit Watch(const Game& game) : game_(game), number_(game.game_number_) {}
    bool StillCurrent() const { return game_.game_number_ == number_; }

   private:
    const Game& game_;
    int number_;
  };
  Watch WatchGame() const { return Watch(*this); }

  // --- The procedures of play.
  // The judge, after a piece of `side`. True when the game has ended, in
  // this call or earlier.
  Task<bool> CheckSquare(Side side);
  // A person at this machine chose a cell for a piece or a blocker (a click
  // or a key); placed if it is their move and the cell is free.
  Task<> PlaceLocal(int cell, MoveKind kind);
  // Starts a game. An online start takes its first mover from the host's
  // choice; without one the turn stays as it was.
  Task<> StartGame(StartedFrom fromMenu, std::optional<Side> online_first_mover = {});
  // "このゲームを終了": ends the game without a result.
  Task<> AbandonGame();
  // Ends the game in progress at once, board and panel left as they are:
  // no side may move, and code waiting on the game finds it gone. `why`
  // is what the shell hears of a game that had placements.
  void InterruptGame(EndReason why = EndReason::Abandoned);

  // --- The one way a placement is made, by a person, the computer player
  // or the peer: the cell takes the side's piece or a blocker, the side's
  // stock goes down with its marker, and the move joins the history.
  void ApplyMove(const Move& move);
  // What the rules say of a placement the peer sent: nothing when the game
  // runs, the peer is to move and the position allows it.
  std::optional<Illegal> PeerRefusal(const Move& move) const;
  // The peer's piece, which the rules allow: applied and judged; the move
  // comes back to the local player when the game goes on.
  Task<> PlayPeerPiece(int cell);
  // Hands the move to `side` and marks its panel.
  void PassTurn(Side side);
  // A blocker taken from the side's stock by the move clock. The number
  // left, below zero when there was none to take.
  int ForfeitBlocker(Side side);

  // --- Taking back placements, in "VS CPU" and "VS Human" while a person
  // at this machine is to move. "VS Human" takes back the last placement
  // and gives the move to the side that made it; "VS CPU" takes back the
  // player's blockers of the turn in progress, the computer's last reply and
  // the player's turn before it. Records do not change.
  bool CanUndo() const;
  void Undo();

  // --- The one way a game ends with a result: the result dialog, the
  // records where the ending counts, and what comes after the dialog (the
  // next game's settings online, the option panel otherwise).
  Task<> AnnounceResult(Outcome outcome);

  // A position to analyse or test, as if a game had reached it: no shell
  // call, an empty history and no result; the game number is kept.
  void SetUpPosition(const BoardCells& board, const Stocks& pieces, const Stocks& blockers,
                     Side turn);

 private:
  // Board, stocks and history as after these placements of the current
  // game, shown on the panels; the side to move is set by the caller.
  void RestoreHistory(std::vector<Move> moves);
  // A game in progress stops without a result (an abandon, a new game over
  // it, the peer leaving): the shell hears of it if anything was placed.
  void ReportUnfinished(EndReason why);

  void ClearBoard();

  GameShell& shell_;
  CpuOpponent* cpu_ = nullptr;
  // Without a peer: nothing to send, no clock.
  class NoLink : public OnlineLink {
   public:
    void SendPiece(int) override {}
    void SendBlocker(int) override {}
    void AskForSettings() override {}
    Task<> CloseConnection() override { co_return; }
    void StartMoveClock() override {}
    void StopMoveClock() override {}
  };
  NoLink no_link_;
  OnlineLink* link_ = &no_link_;
  Position position_{Player1, Cpu, Player1};
  // Where the history starts: an empty board, or a position set up.
  Position start_{Player1, Cpu, Player1};
  Side turn_ = NoGameYet;
  std::vector<Move> history_;
  std::optional<Outcome> result_;
  // Started, and not yet ended by a result or an interruption.
  bool in_progress_ = false;
  int game_number_ = 0;
};

// What the result dialog says when `winner` has won (0: a draw): online the
// local player's or the opponent's name with " Win".
std::string ResultText(Side winner, GameMode mode, const std::string& local_name,
                       const std::string& opponent_name);

}  // namespace vexa
