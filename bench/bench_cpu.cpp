// The computer player's costs: one reach listing, one whole move, whole
// games of self-play, Master's search speed, and how soon a new game or an
// abandon ends its search.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <coroutine>
#include <functional>
#include <random>
#include <thread>

#include "cpu_player.h"
#include "game.h"
#include "master_search.h"
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

// Master's playouts per second (items_per_second) on the mid-game board, on
// one thread and on every core (argument 0), 4000 playouts a search.
void MeasureMasterSearch(benchmark::State& state, const SearchPosition& position) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 4000;
  limits.threads = static_cast<int>(state.range(0));
  const std::atomic<bool> stop{false};
  long playouts = 0;
  int threads = 0;
  for (auto _ : state) {
    const SearchResult result = SearchTurn(position, limits, stop);
    playouts += result.playouts;
    threads = result.threads;
  }
  state.SetItemsProcessed(playouts);
  state.counters["threads"] = threads;
}

void BM_MasterSearchMidGame(benchmark::State& state) {
  MeasureMasterSearch(state, {MidGameBoard(), {10, 20, 10, 20}, {4, 6, 6, 6}, Cpu, Player1});
}
BENCHMARK(BM_MasterSearchMidGame)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same from the empty board, where every playout is a whole game.
void BM_MasterSearchOpening(benchmark::State& state) {
  MeasureMasterSearch(state, {{}, {20, 20, 20, 20}, {6, 6, 6, 6}, Cpu, Player1});
}
BENCHMARK(BM_MasterSearchOpening)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

// A shell that runs the CPU's work on a thread and notes when it returned;
// the move waiting for it is never resumed, as when its game is gone.
class ThreadShell : public SilentShell {
 public:
  std::thread worker;
  std::chrono::steady_clock::time_point returned;
  Task<> AwaitWork(std::function<void()> run, std::function<void()>) override {
    worker = std::thread([this, run] {
      run();
      returned = std::chrono::steady_clock::now();
    });
    co_await std::suspend_always{};
  }
};

// From a new game (argument 0) or an abandon (1) while Master searches on
// every core to the search's return: the game tells the computer player,
// whose workers see the stop flag at their next playout. Manual time: the
// latency alone; "max_ms" is the longest of the iterations.
void BM_MasterStopLatency(benchmark::State& state) {
  ThreadShell shell;
  shell.strength = CpuStrength::Master;
  Game game(shell);
  ReachLists lists;
  SeededCellSource random(1);
  CpuPlayer cpu(game, lists, random);
  game.SetCpuOpponent(&cpu);
  SearchLimits limits;
  limits.time = std::chrono::seconds(60);
  cpu.SetMasterLimits(limits);
  const BoardCells position = MidGameBoard();
  double longest = 0;
  for (auto _ : state) {
    game.SetUpPosition(position, {10, 20, 10, 20}, {4, 6, 6, 6}, Cpu);
    Task<> move = cpu.CpuMove();
    move.Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // deep in its playouts
    const auto asked = std::chrono::steady_clock::now();
    Task<> ending = state.range(0) == 0 ? game.StartGame(StartedFrom::Menu) : game.AbandonGame();
    ending.Resume();
    shell.worker.join();
    const double seconds = std::chrono::duration<double>(shell.returned - asked).count();
    longest = std::max(longest, seconds * 1000);
    state.SetIterationTime(seconds);
  }
  state.counters["max_ms"] = longest;
}
BENCHMARK(BM_MasterStopLatency)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa
