#pragma once

// co_await WorkOnThread(run, stop): runs `run` on a thread of its own and
// resumes the waiting coroutine from the event loop once it has returned, so
// the window keeps answering meanwhile. When the coroutine is destroyed first
// (the program closes while the computer player searches), `stop` is called
// and the thread joined: no work outlives the program that asked for it.

#include <QMetaObject>
#include <QObject>
#include <coroutine>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace vexa::app {

class WorkOnThread {
 public:
  static constexpr int kWorkNiceness = 5;

  WorkOnThread(std::function<void()> run, std::function<void()> stop)
      : run_(std::move(run)), stop_(std::move(stop)) {}
  WorkOnThread(const WorkOnThread&) = delete;
  WorkOnThread& operator=(const WorkOnThread&) = delete;
  ~WorkOnThread() {
    if (!thread_.joinable()) return;
    stop_();
    // Once the thread has ended, deleting the guard drops its queued resume.
    thread_.join();
  }

  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting) {
    guard_ = std::make_unique<QObject>();
    QObject* guard = guard_.get();
    thread_ = std::thread([this, guard, waiting] {
#ifdef __linux__
      // Below the window's thread, so that the window answers at once even
      // while the work keeps every core busy; threads the work starts
      // inherit it.
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkNiceness);
#endif
      run_();
      // The guard lives until this thread is joined, so posting to it is safe.
      QMetaObject::invokeMethod(
          guard,
          [this, waiting] {
            thread_.join();  // its last step was this post: no wait to speak of
            waiting.resume();
          },
          Qt::QueuedConnection);
    });
  }
  void await_resume() const noexcept {}

 private:
  std::function<void()> run_;
  std::function<void()> stop_;
  std::unique_ptr<QObject> guard_;
  std::thread thread_;
};

}  // namespace vexa::app
