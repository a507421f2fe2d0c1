#include "self_play.h"

#include <cstdlib>
#include <utility>

namespace vexa::tools {

namespace {

// The silent shells never wait, so every task runs to its end at once.
void Run(Task<> task) {
  task.Resume();
  if (!task.Done()) std::abort();
}

std::int16_t Swapped(std::int16_t value) {
  if (value == Player1) return Cpu;
  if (value == Cpu) return Player1;
  return value;
}

}  // namespace

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master)
    : random_(seed) {
  // The two sides search with different seeds.
  master.seed = seed;
  cpu_a_.SetMasterLimits(master);
  master.seed = ~seed;
  cpu_b_.SetMasterLimits(master);
  shell_.mode = GameMode::VsCpu;
  shell_.strength = a;
  mirror_shell_.mode = GameMode::VsCpu;
  mirror_shell_.strength = b;
  game_.SetCpuOpponent(&cpu_a_);
}

SelfPlayResult SelfPlay::PlayGame(bool a_moves_first) {
  shell_.cpu_first = a_moves_first;
  Run(game_.StartGame(StartedFrom::Menu));
  // Each click of Player1's piece runs the judge and A's reply inside it.
  while (game_.Turn() == Player1)
    MovePlayer1();

  const std::optional<Outcome>& result = game_.Result();
  if (!result) std::abort();  // a game that stopped without an ending
  if (result->winner == Player1) return SelfPlayResult::WinB;
  if (result->winner == Cpu) return SelfPlayResult::WinA;
  return SelfPlayResult::Draw;
}

void SelfPlay::MovePlayer1() {
  BoardCells board;
  for (int cell = 0; cell < kCellCount; ++cell)
    board[cell] = Swapped(game_.Board()[cell]);
  Stocks pieces = game_.PieceStock();
  Stocks blockers = game_.BlockerStock();
  std::swap(pieces[Player1 - 1], pieces[Cpu - 1]);
  std::swap(blockers[Player1 - 1], blockers[Cpu - 1]);
  mirror_.SetUpPosition(board, pieces, blockers, Cpu);
  Run(cpu_b_.CpuMove());
  const std::vector<Move>& turn = mirror_.History();
  // Every move ends with a piece; without one the loop would never end.
  if (turn.empty() || turn.back().kind != MoveKind::Piece) std::abort();

  // The blockers first, then the piece, as a person would click them.
  for (const Move& move : turn) {
    Run(game_.PlaceFromClick(move.cell,
                             move.kind == MoveKind::Blocker ? kRightButton : kLeftButton));
  }
}

}  // namespace vexa::tools
