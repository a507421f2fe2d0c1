#include "cpu/search_runner.h"

#include <algorithm>
#include <utility>

namespace vexa {

struct SearchRunner::Running {
  Running(const Position& position, Side mover, const SearchLimits& limits)
      : job(position, mover, limits) {}
  SearchJob job;
  std::atomic<bool> stop{false};
  std::atomic<int> remaining{0};
  std::uint64_t generation = 0;
  std::shared_ptr<Waiting> waiting;
};

SearchRunner::SearchRunner(Options options) : options_(std::move(options)) {
  if (!options_.post) return;
  const int threads = options_.threads > 0 ? options_.threads : CoreCount();
  for (int index = 0; index < threads; ++index)
    workers_.emplace_back([this, index](std::stop_token stop) { WorkerLoop(stop, index); });
}

SearchRunner::~SearchRunner() {
  shutting_down_ = true;
  inline_stop_ = true;
  {
    std::lock_guard lock(mutex_);
    if (running_) running_->stop = true;
  }
  // Each jthread is asked to stop, which wakes its wait, and joined.
  workers_.clear();
}

SearchRunner::Awaiter SearchRunner::Search(const Position& position, Side mover,
                                           SearchLimits limits) {
  return Awaiter(*this, position, mover, limits);
}

void SearchRunner::Stop() {
  inline_stop_ = true;
  ++shared_->generation;
  shared_->busy = false;
  std::lock_guard lock(mutex_);
  if (running_) running_->stop = true;
}

std::uint64_t SearchRunner::Start(const Position& position, Side mover, SearchLimits limits,
                                  std::shared_ptr<Waiting> waiting) {
  // A search never has more shares than there are threads to work them.
  const int threads = static_cast<int>(workers_.size());
  limits.threads = limits.threads > 0 ? std::min(limits.threads, threads) : threads;
  auto running = std::make_shared<Running>(position, mover, limits);
  running->remaining = running->job.Workers();
  running->generation = ++shared_->generation;
  running->waiting = waiting;
  shared_->busy = true;
  std::shared_ptr<Running> replaced;
  {
    std::lock_guard lock(mutex_);
    replaced = std::exchange(running_, running);
    if (replaced) replaced->stop = true;
  }
  wake_.notify_all();
  // A worker may pass over the replaced search for the new one, so it might
  // never finish: its waiter hears now that there is nothing for it.
  if (replaced) Deliver(replaced->waiting, replaced->generation, std::nullopt);
  return running->generation;
}

void SearchRunner::WorkerLoop(std::stop_token stop, int index) {
  if (options_.on_thread_start) options_.on_thread_start();
  std::uint64_t seen = 0;
  for (;;) {
    std::shared_ptr<Running> running;
    {
      std::unique_lock lock(mutex_);
      const bool woken = wake_.wait(
          lock, stop, [&] { return running_ != nullptr && running_->generation != seen; });
      if (!woken) return;
      running = running_;
      seen = running->generation;
    }
    if (index >= running->job.Workers()) continue;
    running->job.Work(index, running->stop);
    if (running->remaining.fetch_sub(1) == 1) Finish(running);
  }
}

void SearchRunner::Finish(const std::shared_ptr<Running>& running) {
  if (shutting_down_) return;
  Deliver(running->waiting, running->generation, running->job.Result(running->stop));
}

void SearchRunner::Deliver(std::shared_ptr<Waiting> waiting, std::uint64_t generation,
                           std::optional<SearchResult> result) {
  options_.post([shared = shared_, waiting = std::move(waiting), generation,
                 result = std::move(result)]() mutable {
    if (waiting->gone || waiting->resumed) return;
    if (generation == shared->generation) {
      waiting->result = std::move(result);
      shared->busy = false;
    }
    waiting->resumed = true;
    waiting->handle.resume();
  });
}

SearchRunner::Awaiter::~Awaiter() {
  if (!waiting_ || waiting_->resumed) return;
  // The waiting coroutine is destroyed while its search runs.
  waiting_->gone = true;
  if (runner_.shared_->generation == generation_) runner_.Stop();
}

bool SearchRunner::Awaiter::await_suspend(std::coroutine_handle<> waiting) {
  if (runner_.workers_.empty()) {
    runner_.inline_stop_ = false;
    inline_result_ = SearchTurn(position_, mover_, limits_, runner_.inline_stop_);
    return false;  // done: the coroutine goes on at once
  }
  waiting_ = std::make_shared<Waiting>();
  waiting_->handle = waiting;
  generation_ = runner_.Start(position_, mover_, limits_, waiting_);
  return true;
}

std::optional<SearchResult> SearchRunner::Awaiter::await_resume() {
  if (!waiting_) return std::move(inline_result_);
  return std::move(waiting_->result);
}

}  // namespace vexa
