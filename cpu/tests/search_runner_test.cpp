#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "core/task.h"
#include "cpu/search_runner.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;

// The waiting thread's event loop: the runner's workers post resumptions,
// the test's thread runs them.
class EventLoop {
 public:
  SearchRunner::Options Options(int threads) {
    SearchRunner::Options options;
    options.threads = threads;
    options.post = [this](std::function<void()> resume) {
      std::lock_guard lock(mutex_);
      posted_.push_back(std::move(resume));
    };
    return options;
  }
  // Runs what is posted until `done`; false after five seconds without it.
  bool RunUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::function<void()> next;
      {
        std::lock_guard lock(mutex_);
        if (!posted_.empty()) {
          next = std::move(posted_.front());
          posted_.pop_front();
        }
      }
      if (next) next();
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
};

struct Waiter {
  bool finished = false;
  std::optional<SearchResult> result;
};

Task<> AwaitSearch(SearchRunner& runner, Position p, SearchLimits limits, Waiter& waiter) {
  SearchRunner::Awaiter search = runner.Search(p, p.ToMove(), limits);
  waiter.result = co_await search;
  waiter.finished = true;
}

SearchLimits Budget(std::optional<long> playouts) {
  SearchLimits limits;
  limits.seed = 3;
  limits.playouts = playouts;
  limits.time = playouts ? std::nullopt : std::optional(std::chrono::milliseconds(60s));
  return limits;
}

// A position with a real choice: side 1 threatens nothing, both have pieces.
Position Opening() {
  Position p(Player1, Cpu, Cpu);
  p.HandMoveTo(Player1);
  p.Play(PieceMove(Player1, 60));
  p.Play(PieceMove(Cpu, 38));
  p.Play(PieceMove(Player1, 62));
  return p;
}

TEST(SearchRunner, DeliversOnTheWaitingThreadAndDropsWhatWasStoppedOrReplaced) {
  EventLoop loop;
  SearchRunner runner(loop.Options(2));
  ASSERT_EQ(runner.Threads(), 2);
  const Position p = Opening();

  // A budgeted search answers as the same search run at once would.
  Waiter budgeted;
  Task<> first = AwaitSearch(runner, p, Budget(600), budgeted);
  first.Resume();
  EXPECT_TRUE(runner.Busy());
  ASSERT_TRUE(loop.RunUntil([&] { return budgeted.finished; }));
  ASSERT_TRUE(budgeted.result);
  EXPECT_EQ(budgeted.result->playouts, 600);
  const std::atomic<bool> never{false};
  SearchLimits same = Budget(600);
  same.threads = 2;
  EXPECT_EQ(budgeted.result->turn, SearchTurn(p, p.ToMove(), same, never).turn);
  EXPECT_FALSE(runner.Busy());

  // A minute-long search replaced by a new one: the first hears nothing,
  // the second answers.
  Waiter replaced, replacing;
  Task<> long_one = AwaitSearch(runner, p, Budget(std::nullopt), replaced);
  long_one.Resume();
  Task<> short_one = AwaitSearch(runner, p, Budget(300), replacing);
  short_one.Resume();
  ASSERT_TRUE(loop.RunUntil([&] { return replaced.finished && replacing.finished; }));
  EXPECT_FALSE(replaced.result);
  EXPECT_TRUE(replacing.result);

  // Stopped: nothing, soon.
  Waiter stopped;
  Task<> third = AwaitSearch(runner, p, Budget(std::nullopt), stopped);
  third.Resume();
  runner.Stop();
  ASSERT_TRUE(loop.RunUntil([&] { return stopped.finished; }));
  EXPECT_FALSE(stopped.result);

  // The waiting coroutine destroyed while its search runs (its program
  // closes): the search stops and the runner's end joins its workers.
  Waiter gone;
  Task<> fourth = AwaitSearch(runner, p, Budget(std::nullopt), gone);
  fourth.Resume();
  fourth = Task<>();
  EXPECT_FALSE(runner.Busy());
}

TEST(SearchRunner, WithoutAnEventLoopSearchesWhereItIsAwaited) {
  SearchRunner runner;
  EXPECT_EQ(runner.Threads(), 0);
  Waiter waiter;
  Task<> task = AwaitSearch(runner, Opening(), Budget(200), waiter);
  task.Resume();
  EXPECT_TRUE(task.Done());
  ASSERT_TRUE(waiter.result);
  EXPECT_EQ(waiter.result->playouts, 200);
}

}  // namespace
}  // namespace vexa
