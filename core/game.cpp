#include "core/game.h"

#include <cassert>

namespace vexa {

Side Game::OpponentSide() const {
  switch (shell_.Mode()) {
    case GameMode::VsCpu:
      return Cpu;
    case GameMode::VsHuman:
      return Player2;
    case GameMode::VsOnline:
      break;
  }
  return Remote;
}

// --- Placements ----------------------------------------------------------------

void Game::ApplyMove(const Move& move) {
  position_.Play(move);
  history_.push_back(move);
  shell_.MovePlayed(move);
}

int Game::ForfeitBlocker(Side side) {
  const int left = position_.ForfeitBlocker(side);
  shell_.BlockerForfeited(side);
  return left;
}

void Game::PassTurn(Side side) {
  turn_ = side;
  position_.HandMoveTo(side);
  shell_.MoveHandedTo(side);
}

Task<> Game::PlaceLocal(int cell, MoveKind kind) {
  if (cell < 0 || cell >= kCellCount) co_return;
  const GameMode mode = shell_.Mode();
  // Only a person at this machine places by clicking: Player1, or Player2
  // in "VS Human".
  const Side mover = turn_;
  if ((mover == Player1 || mover == Player2) && position_.IsLegal({mover, cell, kind})) {
    if (kind == MoveKind::Piece) {
      ApplyMove(PieceMove(mover, cell));
      if (mode == GameMode::VsOnline && mover == Player1) {
        link_->StopMoveClock();
        link_->SendPiece(cell);
      }
      const bool ended = co_await CheckSquare(mover);
      if (!ended) {
        PassTurn(mover == Player1 ? OpponentSide() : Side{Player1});
        if (turn_ == Cpu && cpu_ != nullptr) co_await cpu_->CpuMove();
      }
    } else {
      ApplyMove(BlockerMove(mover, cell));
      if (mode == GameMode::VsOnline && mover == Player1) link_->SendBlocker(cell);
    }
  }
  shell_.CellClicked(cell);
}

std::optional<Illegal> Game::PeerRefusal(const Move& move) const {
  // The game's own turn also covers the judge's pause and an end on time,
  // which the position does not know of.
  if (turn_ != Remote) return GameRunning() ? Illegal::NotItsTurn : Illegal::GameOver;
  return position_.Refusal(move);
}

Task<> Game::PlayPeerPiece(int cell) {
  ApplyMove(PieceMove(Remote, cell));
  const bool ended = co_await CheckSquare(Remote);
  if (ended) co_return;
  PassTurn(Player1);
  if (online.ClockStyle == GameOption::Excite) link_->StartMoveClock();
}

// --- The judge and the endings ---------------------------------------------------

std::string ResultText(Side winner, GameMode mode, const std::string& local_name,
                       const std::string& opponent_name) {
  switch (winner) {
    case 0:
      return "Draw";
    case Player1:
      return mode == GameMode::VsOnline ? local_name + " Win" : "Player1 Win";
    case Player2:
      return "Player2 Win";
    case Cpu:
      return "You Lose";
    default:
      return opponent_name + " Win";
  }
}

std::string Game::ResultText(Side winner) const {
  return vexa::ResultText(winner, shell_.Mode(), shell_.LocalPlayerName(), online.OpponentName);
}

Task<bool> Game::CheckSquare(Side side) {
  // A game that has already ended (the CPU's closing judge after its winning
  // piece, a peer's piece after the result) is not judged a second time.
  if (!GameRunning() || side < Player1 || side > Remote) co_return true;
  const Watch watch = WatchGame();

  // Each pair of corners the judge accepts is drawn after a pause.
  for (const SquareCorners& square : ScanSquares(Board(), side)) {
    turn_ = NoTurn;
    co_await shell_.Pause(kJudgePauseMs);
    if (!watch.StillCurrent()) co_return true;
    shell_.SquareFound(square, side);
  }
  const std::optional<Outcome> verdict = position_.Verdict(side);
  if (!verdict) co_return false;
  co_await AnnounceResult(*verdict);
  co_return true;
}

Task<> Game::AnnounceResult(Outcome outcome) {
  const Watch watch = WatchGame();
  turn_ = NoTurn;
  // Nobody is to move any more: no panel says otherwise.
  shell_.MoveHandedTo(0);
  result_ = outcome;
  in_progress_ = false;
  shell_.GameEnded(outcome);
  if (outcome.how == EndReason::StockOut) {
    // The blockers decide: no records counter changes.
    shell_.EnableOptionPanel();
  } else {
    ++(outcome.winner == Player1 ? records.Wins : records.Losses);
    shell_.RecordsChanged();
  }
  co_await shell_.ShowResult(ResultText(outcome.winner));

  // A new game may have begun while the result was shown (online, the host's
  // next "Show" arrives then); its panel and settings are not ours to touch.
  if (!watch.StillCurrent()) co_return;
  const GameMode mode = shell_.Mode();
  if (mode == GameMode::VsOnline && !online.IsGuest) {
    link_->AskForSettings();
    co_await shell_.ChooseSettings();
  } else if (outcome.how == EndReason::Square || outcome.how == EndReason::StockOut) {
    // A loss on time leaves the guest's panel as it is: it waits for the host.
    shell_.SetOptionControls(mode == GameMode::VsCpu ? PanelCode::VsCpu : PanelCode::VsHuman, true);
  }
}

// --- Start and abandon -------------------------------------------------------------

void Game::ClearBoard() {
  history_.clear();
  result_.reset();
  position_ = Position(Player1, OpponentSide(), Player1);
  start_ = position_;
  shell_.BoardReset();
}

Task<> Game::StartGame(StartedFrom fromMenu, std::optional<Side> online_first_mover) {
  ReportUnfinished(EndReason::Abandoned);
  ++game_number_;
  if (cpu_ != nullptr) cpu_->StopThinking();
  in_progress_ = true;
  const Watch watch = WatchGame();
  ClearBoard();
  // The clock of an online game that this one replaces stops with its
  // display: its ticks would otherwise take this game's blockers.
  link_->StopMoveClock();
  ++records.GamesPlayed;

  const GameMode mode = shell_.Mode();
  shell_.GameStarted(mode);
  switch (mode) {
    case GameMode::VsCpu:
      if (shell_.CpuMovesFirst()) {
        PassTurn(Cpu);
        if (cpu_ != nullptr) co_await cpu_->CpuMove();
        // A new game or an abandon during the CPU's move owns the panel now.
        if (!watch.StillCurrent()) co_return;
      } else {
        PassTurn(Player1);
      }
      break;
    case GameMode::VsHuman:
      PassTurn(shell_.Player1MovesFirst() ? Player1 : Player2);
      break;
    case GameMode::VsOnline:
      if (fromMenu == StartedFrom::OnlineStart) {
        if (online_first_mover) turn_ = *online_first_mover;
        position_.HandMoveTo(turn_);
        shell_.MoveHandedTo(turn_ == Player1 ? Player1 : Remote);
        if (turn_ == Player1 && online.ClockStyle == GameOption::Excite) link_->StartMoveClock();
      }
      break;
  }

  if (mode != GameMode::VsOnline) {
    co_await link_->CloseConnection();
    if (!watch.StillCurrent()) co_return;
  }
  shell_.SetOptionControls(PanelCode::GameRunning, false);
}

Task<> Game::AbandonGame() {
  InterruptGame(EndReason::Abandoned);
  link_->StopMoveClock();
  shell_.MoveHandedTo(0);
  ClearBoard();
  shell_.SetOptionControls(PanelCodeOf(shell_.Mode()), true);
  co_await link_->CloseConnection();
}

void Game::InterruptGame(EndReason why) {
  ReportUnfinished(why);
  ++game_number_;
  if (cpu_ != nullptr) cpu_->StopThinking();
  turn_ = NoTurn;
}

void Game::ReportUnfinished(EndReason why) {
  if (!in_progress_) return;
  in_progress_ = false;
  if (!history_.empty()) shell_.GameEnded({0, why, std::nullopt});
}

// --- Taking back ---------------------------------------------------------------------

bool Game::CanUndo() const {
  if (turn_ != Player1 && turn_ != Player2) return false;
  switch (shell_.Mode()) {
    case GameMode::VsHuman:
      return !history_.empty();
    case GameMode::VsCpu:
      for (const Move& move : history_) {
        if (move.side == Player1) return true;
      }
      return false;
    case GameMode::VsOnline:
      break;
  }
  return false;
}

void Game::Undo() {
  if (!CanUndo()) return;
  std::vector<Move> moves = history_;
  Side to_move = moves.back().side;
  if (shell_.Mode() == GameMode::VsHuman) {
    moves.pop_back();
  } else {
    // The player's blockers of this turn, the computer's reply, then the
    // player's turn before it.
    to_move = Player1;
    while (!moves.empty() && moves.back().side == Player1 && moves.back().kind == MoveKind::Blocker)
      moves.pop_back();
    while (!moves.empty() && moves.back().side != Player1)
      moves.pop_back();
    while (!moves.empty() && moves.back().side == Player1)
      moves.pop_back();
  }
  RestoreHistory(std::move(moves));
  PassTurn(to_move);
}

void Game::RestoreHistory(std::vector<Move> moves) {
  position_ = start_;
  if (!moves.empty()) position_.HandMoveTo(moves.front().side);
  for (const Move& move : moves) {
    // Each of them was legal when it was made, in this order.
    assert(position_.IsLegal(move));
    position_.Play(move);
  }
  history_ = std::move(moves);
  shell_.BoardReset();
}

void Game::SetUpPosition(const BoardCells& board, const Stocks& pieces, const Stocks& blockers,
                         Side turn) {
  position_ = Position::SetUp(Player1, OpponentSide(), board, pieces, blockers, turn);
  start_ = position_;
  turn_ = turn;
  history_.clear();
  result_.reset();
}

}  // namespace vexa
