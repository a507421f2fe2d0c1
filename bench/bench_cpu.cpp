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

#include "bench/random_board.h"
#include "core/position.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/choose_turn.h"
#include "cpu/master_search.h"
#include "cpu/reach_lists.h"
#include "cpu/search_runner.h"
#include "tools/self_play.h"

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

Position MidGamePosition() {
  return Position::SetUp(Player1, Cpu, MidGameBoard(), {10, 20, 10, 20}, {4, 6, 6, 6}, Cpu);
}

void BM_CpuMoveVeryHardMidGame(benchmark::State& state) {
  SeededCellSource random(1);
  TurnChooser chooser;
  const Position position = MidGamePosition();
  for (auto _ : state)
    benchmark::DoNotOptimize(chooser.Choose(position, Cpu, CpuStrength::VeryHard, random));
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

// Master's playouts per second (items_per_second) and tree nodes made per
// second (nodes_per_second), on one thread and on every core (argument 0),
// 4000 playouts a search.
void MeasureMasterSearch(benchmark::State& state, const Position& position) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = 4000;
  limits.threads = static_cast<int>(state.range(0));
  const std::atomic<bool> stop{false};
  long playouts = 0;
  long nodes = 0;
  int threads = 0;
  for (auto _ : state) {
    const SearchResult result = SearchTurn(position, Cpu, limits, stop);
    playouts += result.playouts;
    nodes += result.nodes;
    threads = result.threads;
  }
  state.SetItemsProcessed(playouts);
  state.counters["threads"] = threads;
  state.counters["nodes_per_second"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

void BM_MasterSearchMidGame(benchmark::State& state) {
  MeasureMasterSearch(state, MidGamePosition());
}
BENCHMARK(BM_MasterSearchMidGame)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same from the empty board, where every playout is a whole game.
void BM_MasterSearchOpening(benchmark::State& state) {
  MeasureMasterSearch(state, Position(Player1, Cpu, Cpu));
}
BENCHMARK(BM_MasterSearchOpening)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

// A coroutine waiting for a search, as the computer player's move does.
Task<> AwaitSearch(SearchRunner& runner, Position position, SearchLimits limits) {
  SearchRunner::Awaiter search = runner.Search(position, Cpu, limits);
  co_await search;
}

// From Stop (a new game, an abandon) while Master searches on every core to
// the moment the runner hands its answer back: its workers see the stop flag
// at their next playout. Manual time: the latency alone; "max_ms" is the
// longest of the iterations.
void BM_MasterStopLatency(benchmark::State& state) {
  std::atomic<std::chrono::steady_clock::time_point::rep> returned{0};
  std::function<void()> resume;
  std::atomic<bool> posted{false};
  SearchRunner::Options options;
  options.post = [&](std::function<void()> f) {
    returned = std::chrono::steady_clock::now().time_since_epoch().count();
    resume = std::move(f);
    posted = true;
  };
  SearchRunner runner(options);
  SearchLimits limits;
  limits.time = std::chrono::seconds(60);
  const Position position = MidGamePosition();
  double longest = 0;
  for (auto _ : state) {
    posted = false;
    Task<> waiting = AwaitSearch(runner, position, limits);
    waiting.Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // deep in its playouts
    const auto asked = std::chrono::steady_clock::now();
    runner.Stop();
    while (!posted)
      std::this_thread::yield();
    resume();  // the waiting coroutine hears that nothing came of it
    const std::chrono::steady_clock::time_point back{std::chrono::steady_clock::duration(returned)};
    const double seconds = std::chrono::duration<double>(back - asked).count();
    longest = std::max(longest, seconds * 1000);
    state.SetIterationTime(seconds);
  }
  state.counters["max_ms"] = longest;
}
BENCHMARK(BM_MasterStopLatency)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa
