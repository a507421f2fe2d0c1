#include "side_one_cpu.h"

#include <cstdlib>
#include <utility>

namespace vexa::bot {

namespace {

std::int16_t Relabelled(std::int16_t value) {
  if (value == Player1) return Cpu;
  if (value == Remote) return Player1;
  return value;
}

}  // namespace

SideOneCpu::SideOneCpu(CpuStrength strength, std::uint64_t seed) : random_(seed) {
  shell_.mode = GameMode::VsCpu;
  shell_.strength = strength;
}

std::vector<Move> SideOneCpu::ChooseTurn(const Game& game) {
  BoardCells board;
  for (int cell = 0; cell < kCellCount; ++cell)
    board[cell] = Relabelled(game.Board()[cell]);
  Stocks pieces{};
  Stocks blockers{};
  pieces[Cpu - 1] = game.PieceStock()[Player1 - 1];
  pieces[Player1 - 1] = game.PieceStock()[Remote - 1];
  blockers[Cpu - 1] = game.BlockerStock()[Player1 - 1];
  blockers[Player1 - 1] = game.BlockerStock()[Remote - 1];
  scratch_.SetUpPosition(board, pieces, blockers, Cpu);

  // The silent shell never waits: the move is complete when this returns.
  Task<> move = cpu_.CpuMove();
  move.Resume();
  if (!move.Done()) std::abort();

  std::vector<Move> turn;
  for (Move move_played : scratch_.History()) {
    move_played.side = Player1;
    turn.push_back(move_played);
  }
  return turn;
}

}  // namespace vexa::bot
