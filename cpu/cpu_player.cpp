#include "cpu_player.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace vexa {

int DrawRandomCell(const BoardCells& board, CellSource& random) {
  for (;;) {
    const int cell = random.DrawCell();
    if (IsPlayableCell(cell) && board[cell] == Empty) return cell;
  }
}

std::optional<int> InnerExtensionCell(const BoardCells& board) {
  // The last qualifying piece in index order wins; only the cell to the right
  // is considered.
  std::optional<int> found;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (board[cell] == Cpu && IsInnerBlockCell(cell) && IsPlayableCell(cell + 2) &&
        board[cell + 2] == Empty) {
      found = cell + 2;
    }
  }
  return found;
}

void CpuPlayer::PlaceCpuPiece(int cell) {
  game_.ApplyMove(PieceMove(Cpu, cell));
}

void CpuPlayer::PlaceCpuBlocker(int cell) {
  game_.ApplyMove(BlockerMove(Cpu, cell));
}

void CpuPlayer::HandOver() {
  game_.PassTurn(Player1);
}

bool CpuPlayer::BlockReaches() {
  const CellList& reach = lists_.ReachList(Player1);
  while (!reach.Empty()) {
    const int cell = reach.First();
    if (game_.BlockerStock()[Cpu - 1] <= 0) {
      // Out of blockers: the piece covers the first open cell, the others
      // stay open.
      PlaceCpuPiece(cell);
      return true;
    }
    // A blocker takes away the cell it stands on and can open none, so the
    // loop ends after six blockers at most.
    PlaceCpuBlocker(cell);
    ListReaches(Player1, game_.Board(), lists_);
  }
  return false;
}

Task<> CpuPlayer::CpuMove() {
  const Game::Watch watch = game_.WatchGame();
  if (Strength() == CpuStrength::Master) {
    co_await MasterMove(watch);
    co_return;
  }
  co_await game_.Shell().Pause(kThinkingPauseMs);
  // A new game or an abandon during the pause owns the board now.
  if (!watch.StillCurrent()) co_return;
  const BoardCells& board = game_.Board();

  ListReaches(Cpu, board, lists_);
  if (!lists_.ReachList(Cpu).Empty()) {
    if (Strength() != CpuStrength::Easy) {
      PlaceCpuPiece(lists_.ReachList(Cpu).First());
      co_await game_.CheckSquare(Cpu);  // finds the square and ends the game
    } else {
      // "Easy" leaves its own winning cell alone and only defends.
      ListReaches(Player1, board, lists_);
      if (!BlockReaches()) PlaceCpuPiece(DrawRandomCell(board, random_));
      // Either piece may still land on the CPU's winning cell: judge it, and
      // pass the move only if the game goes on.
      // (The judge's answer is bound to a name first: g++ 12 miscompiles a
      // co_await inside a condition.)
      const bool ended = co_await game_.CheckSquare(Cpu);
      if (!ended) HandOver();
    }
  } else {
    ListReaches(Player1, board, lists_);
    const CellList& player1_reach = lists_.ReachList(Player1);
    bool placed = false;
    if (Strength() != CpuStrength::Easy && player1_reach.Count() == 1) {
      // One open cell: a blocker keeps the piece free for the CPU's own
      // preparation; with nothing to prepare, or no blocker, the piece
      // covers it.
      const int cell = player1_reach.First();
      if (!lists_.PreReachList(Cpu).Empty() && game_.BlockerStock()[Cpu - 1] > 0) {
        PlaceCpuBlocker(cell);
      } else {
        PlaceCpuPiece(cell);
        placed = true;
      }
    } else {
      placed = BlockReaches();
    }
    if (placed) HandOver();

    // Both sides' lists describe the board as it now stands.
    ListReaches(Cpu, board, lists_);
    ListReaches(Player1, board, lists_);
    if (!placed) {
      const std::optional<int> cell = co_await ChoosePieceCell(watch);
      if (!cell) co_return;  // the game changed during the inner-block draw
      PlaceCpuPiece(*cell);
      HandOver();
    }
  }

  // The judge's pauses and result dialog above may have let a new game begin.
  if (!watch.StillCurrent()) co_return;
  // No new square of Player1 is possible; this ends the game when both
  // stocks are empty.
  co_await game_.CheckSquare(Player1);
}

void CpuPlayer::StopThinking() {
  if (thinking_) thinking_->stop = true;
}

Task<> CpuPlayer::MasterMove(Game::Watch watch) {
  using namespace std::chrono;
  const steady_clock::time_point started = steady_clock::now();
  const SearchPosition position{game_.Board(), game_.PieceStock(), game_.BlockerStock(), Cpu,
                                Player1};
  SearchLimits limits = master_limits_;
  limits.seed += ++searches_;
  auto thought = std::make_shared<Thought>();
  thinking_ = thought;
  // Named before the wait: g++ 12 destroys a lambda temporary of a co_await
  // expression twice, and with it the captured shared pointer.
  std::function<void()> run = [thought, position, limits] {
    thought->result = SearchTurn(position, limits, thought->stop);
  };
  std::function<void()> stop = [thought] { thought->stop = true; };
  co_await game_.Shell().AwaitWork(std::move(run), std::move(stop));
  // A new game that started meanwhile may already think about its own move.
  if (thinking_ == thought) thinking_.reset();
  if (!watch.StillCurrent()) co_return;

  const auto spent = duration_cast<milliseconds>(steady_clock::now() - started).count();
  co_await game_.Shell().Pause(static_cast<int>(std::max<long long>(0, kThinkingPauseMs - spent)));
  if (!watch.StillCurrent()) co_return;
  const std::vector<Move>& turn = thought->result.turn;
  if (turn.empty()) co_return;  // no empty cell: no real game gets here
  for (const Move& move : turn) {
    if (move.kind == MoveKind::Blocker) {
      PlaceCpuBlocker(move.cell);
    } else {
      PlaceCpuPiece(move.cell);
    }
  }
  const bool ended = co_await game_.CheckSquare(Cpu);
  if (ended) co_return;
  HandOver();
  co_await game_.CheckSquare(Player1);
}

Task<std::optional<int>> CpuPlayer::ChoosePieceCell(Game::Watch watch) {
  const BoardCells& board = game_.Board();
  const CellList& own_pre_reach = lists_.PreReachList(Cpu);
  const CellList& player1_pre_reach = lists_.PreReachList(Player1);

  if (!own_pre_reach.Empty()) {
    co_return Strength() >= CpuStrength::Hard ? MostReachesLookAhead() : own_pre_reach.First();
  }

  if (!player1_pre_reach.Empty()) {
    if (Strength() < CpuStrength::Hard) co_return DrawRandomCell(board, random_);
    const LookAheadChoice choice = FewestOpposingReachesLookAhead();
    if (Strength() == CpuStrength::VeryHard && choice.score == 0) {
      if (const std::optional<int> extension = InnerExtensionCell(board)) co_return *extension;
    }
    co_return choice.cell;
  }

  if (Strength() < CpuStrength::Hard) co_return DrawRandomCell(board, random_);
  const std::optional<int> drawn = co_await DrawRandomInnerCell(watch);
  if (!drawn) co_return std::nullopt;
  if (Strength() == CpuStrength::VeryHard) {
    if (const std::optional<int> extension = InnerExtensionCell(board)) co_return *extension;
  }
  co_return drawn;
}

int CpuPlayer::MostReachesLookAhead() {
  const CellList& candidates = lists_.PreReachList(Cpu);
  int chosen = candidates.First();
  int best = 0;
  for (const int cell : candidates) {
    TrialBoard = game_.Board();
    TrialBoard[cell] = Cpu;
    ListReaches(Cpu, TrialBoard, trial_lists_);
    // Every candidate opens at least one reach cell; a later one that opens
    // as many as the best so far replaces it.
    const int score = trial_lists_.ReachList(Cpu).Count();
    if (score >= 1 && score >= best) {
      chosen = cell;
      best = score;
    }
  }
  return chosen;
}

CpuPlayer::LookAheadChoice CpuPlayer::FewestOpposingReachesLookAhead() {
  const CellList& candidates = lists_.PreReachList(Player1);
  LookAheadChoice choice{candidates.First(), kCellCount};
  for (const int cell : candidates) {
    TrialBoard = game_.Board();
    TrialBoard[cell] = Cpu;
    ListReaches(Player1, TrialBoard, trial_lists_);
    // Only a strictly lower count replaces the choice: the earlier wins ties.
    const int score = trial_lists_.ReachList(Player1).Count();
    if (score < choice.score) choice = {cell, score};
  }
  return choice;
}

Task<std::optional<int>> CpuPlayer::DrawRandomInnerCell(Game::Watch watch) {
  int empty_draws = 0;
  for (;;) {
    const int cell = random_.DrawCell();
    bool accepted = false;
    if (IsPlayableCell(cell) && game_.Board()[cell] == Empty) {
      ++empty_draws;
      accepted = IsInnerBlockCell(cell) || empty_draws > kInnerDrawPatience;
    }
    co_await game_.Shell().LetEventsRun();
    if (!watch.StillCurrent()) co_return std::nullopt;
    if (accepted) co_return cell;
  }
}

}  // namespace vexa
