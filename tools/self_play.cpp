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

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed) : random_(seed) {
  shell_.mode = GameMode::VsCpu;
  shell_.strength = a;
  mirror_shell_.mode = GameMode::VsCpu;
  mirror_shell_.strength = b;
  game_.SetCpuOpponent(&cpu_a_);
}

Outcome SelfPlay::PlayGame(bool a_moves_first) {
  shell_.cpu_first = a_moves_first;
  shell_.result.clear();
  shell_.placements.clear();
  Run(game_.StartGame(1));
  // Each click of Player1's piece runs the judge and A's reply inside it.
  while (game_.Turn == Player1)
    MovePlayer1();

  if (shell_.result == "Player1 Win") return Outcome::WinB;
  if (shell_.result == "You Lose") return Outcome::WinA;
  return Outcome::Draw;
}

void SelfPlay::MovePlayer1() {
  for (int cell = 0; cell < kCellCount; ++cell)
    mirror_.Board[cell] = Swapped(game_.Board[cell]);
  mirror_.PieceStock = game_.PieceStock;
  mirror_.BlockerStock = game_.BlockerStock;
  std::swap(mirror_.PieceStock[Player1 - 1], mirror_.PieceStock[Cpu - 1]);
  std::swap(mirror_.BlockerStock[Player1 - 1], mirror_.BlockerStock[Cpu - 1]);
  mirror_.Turn = Cpu;
  mirror_shell_.placements.clear();
  Run(cpu_b_.CpuMove());
  // Every move ends with a piece; without one the loop would never end.
  if (mirror_shell_.placements.empty() || mirror_shell_.placements.back().blocker) std::abort();

  // The blockers first, then the piece, as a person would click them.
  for (const Placement& placement : mirror_shell_.placements) {
    Run(game_.PlaceFromClick(placement.cell, placement.blocker ? kRightButton : kLeftButton));
  }
}

}  // namespace vexa::tools
