#pragma once

// The one way a program instance searches: the computer player's Master
// moves and the hint (and whatever else weighs turns) run here, one search
// at a time, on worker threads that live as long as the runner. A search
// started while another runs stops that one, whose result is then stale:
// its waiter hears nothing. Results reach the waiting coroutine on the
// thread that waits, through the `post` the owner gives; without one the
// runner has no threads and a search runs where it is awaited (tools and
// tests get the same choice without an event loop).

#include <atomic>
#include <condition_variable>
#include <coroutine>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "core/position.h"
#include "cpu/master_search.h"

namespace vexa {

class SearchRunner {
 public:
  // Hands `resume` to the waiting thread's event loop; called on a worker.
  using Post = std::function<void(std::function<void()> resume)>;

  struct Options {
    Post post;        // nothing: searches run inline, no thread is started
    int threads = 0;  // worker threads; 0 for one per core
    // Runs first on each worker thread (the window lowers their priority).
    std::function<void()> on_thread_start;
  };

  SearchRunner() : SearchRunner(Options{}) {}
  explicit SearchRunner(Options options);
  ~SearchRunner();
  SearchRunner(const SearchRunner&) = delete;
  SearchRunner& operator=(const SearchRunner&) = delete;

  class Awaiter;
  // co_await runner.Search(...) gives the result, or nothing when the search
  // was stopped or replaced before it could hand its result over.
  Awaiter Search(const Position& position, Side mover, SearchLimits limits);

  // The search in progress (if any) returns soon and its result is dropped.
  void Stop();
  // A search has been started and neither delivered nor stopped.
  bool Busy() const { return shared_->busy; }
  // Worker threads; 0 when searches run inline.
  int Threads() const { return static_cast<int>(workers_.size()); }

 private:
  struct Running;
  // What a posted resumption needs of the runner: it may run after the
  // runner is gone, on the waiting thread only.
  struct Shared {
    std::uint64_t generation = 0;
    bool busy = false;
  };
  struct Waiting {
    std::coroutine_handle<> handle;
    std::optional<SearchResult> result;
    bool resumed = false;
    bool gone = false;  // the waiting coroutine was destroyed
  };

  std::uint64_t Start(const Position& position, Side mover, SearchLimits limits,
                      std::shared_ptr<Waiting> waiting);
  // Resumes the waiter with `result` on the waiting thread, unless it was
  // resumed already or is gone; a result of an older generation is dropped.
  void Deliver(std::shared_ptr<Waiting> waiting, std::uint64_t generation,
               std::optional<SearchResult> result);
  void WorkerLoop(std::stop_token stop, int index);
  void Finish(const std::shared_ptr<Running>& running);

  Options options_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::shared_ptr<Running> running_;  // the newest search, guarded by mutex_
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  std::atomic<bool> inline_stop_{false};
  std::atomic<bool> shutting_down_{false};
  std::vector<std::jthread> workers_;

 public:
  class Awaiter {
   public:
    Awaiter(SearchRunner& runner, const Position& position, Side mover, SearchLimits limits)
        : runner_(runner), position_(position), mover_(mover), limits_(limits) {}
    Awaiter(const Awaiter&) = delete;
    Awaiter& operator=(const Awaiter&) = delete;
    ~Awaiter();

    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> waiting);
    std::optional<SearchResult> await_resume();

   private:
    SearchRunner& runner_;
    Position position_;
    Side mover_;
    SearchLimits limits_;
    std::shared_ptr<Waiting> waiting_;
    std::uint64_t generation_ = 0;
    std::optional<SearchResult> inline_result_;
  };
};

}  // namespace vexa
