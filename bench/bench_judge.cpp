// The judge's scan on a mid-game board with no square for the side to judge.

#include <benchmark/benchmark.h>

#include <random>

#include "bench/random_board.h"
#include "core/game.h"
#include "core/silent_shell.h"
#include "core/square_scan.h"

namespace vexa {
namespace {

// 20 pieces of sides 1 and 3 and 12 blockers on random playable cells; drawn
// again until side 1 has no square, so the scan runs through every pair.
BoardCells MidGameBoardWithoutSquare(unsigned seed) {
  std::mt19937 random(seed);
  for (;;) {
    const BoardCells board = RandomBoard(random, kPiecesPerSide, 2 * kBlockersPerSide);
    if (ScanSquares(board, Player1).empty()) return board;
  }
}

void BM_CheckSquareWithoutSquare(benchmark::State& state) {
  SilentShell shell;
  Game game(shell);
  game.SetUpPosition(MidGameBoardWithoutSquare(20261208), {0, 20, 1, 20}, {6, 6, 6, 6}, Player1);
  for (auto _ : state) {
    Task<bool> judge = game.CheckSquare(Player1);
    judge.Resume();
    benchmark::DoNotOptimize(judge.Result());
  }
}
BENCHMARK(BM_CheckSquareWithoutSquare);

void BM_ScanSquaresWithoutSquare(benchmark::State& state) {
  const BoardCells board = MidGameBoardWithoutSquare(20261208);
  for (auto _ : state)
    benchmark::DoNotOptimize(ScanSquares(board, Player1));
}
BENCHMARK(BM_ScanSquaresWithoutSquare);

}  // namespace
}  // namespace vexa
