// The computer player's costs: one reach listing, one whole move, and whole
// games of self-play.

#include <benchmark/benchmark.h>

#include <random>

#include "cpu_player.h"
#include "game.h"
#include "random_board.h"
#include "reach_lists.h"
#include "self_play.h"
#include "silent_shell.h"

namespace vexa {
namespace {

// Both sides' stocks used up: 20 pieces each and 12 blockers.
void BM_ListReachesFullBoard(benchmark::State& state) {
  std::mt19937 random(20261208);
  const BoardCells board = RandomBoard(random, kPiecesPerSide, 2 * kBlockersPerSide);
  ReachLists lists;
  for (auto _ : state) {
    ListReaches(Player1, board, lists);
    benchmark::DoNotOptimize(lists);
  }
}
BENCHMARK(BM_ListReachesFullBoard);

// Ten pieces a side and four blockers, neither side able to win next move
// and the CPU with squares to prepare: the move takes the look-ahead, the
// dearest path.
BoardCells MidGameBoard() {
  std::mt19937 random(7);
  ReachLists lists;
  for (;;) {
    const BoardCells board = RandomBoard(random, 10, 4);
    ListReaches(Player1, board, lists);
    ListReaches(Cpu, board, lists);
    if (lists.ReachList(Player1).Empty() && lists.ReachList(Cpu).Empty() &&
        lists.PreReachList(Cpu).Count() >= 10) {
      return board;
    }
  }
}

void BM_CpuMoveVeryHardMidGame(benchmark::State& state) {
  SilentShell shell;  // the thinking pause takes no time
  shell.strength = CpuStrength::VeryHard;
  Game game(shell);
  ReachLists lists;
  SeededCellSource random(1);
  CpuPlayer cpu(game, lists, random);
  const BoardCells position = MidGameBoard();
  for (auto _ : state) {
    game.SetUpPosition(position, {10, 20, 10, 20}, {4, 6, 6, 6}, Cpu);
    Task<> move = cpu.CpuMove();
    move.Resume();
    benchmark::DoNotOptimize(game.Board());
  }
}
BENCHMARK(BM_CpuMoveVeryHardMidGame);

// One complete game per iteration, the first move alternating.
void BM_SelfPlayVeryHardAgainstVeryHard(benchmark::State& state) {
  tools::SelfPlay play(CpuStrength::VeryHard, CpuStrength::VeryHard, 1);
  bool a_first = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(play.PlayGame(a_first));
    a_first = !a_first;
  }
  state.SetItemsProcessed(state.iterations());  // games per second
}
BENCHMARK(BM_SelfPlayVeryHardAgainstVeryHard);

}  // namespace
}  // namespace vexa
