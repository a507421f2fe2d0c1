#pragma once

// Awaiters that let the rules' coroutines wait on Qt: a timer, a signal, or
// whichever of the two comes first.
// A waiting coroutine is always resumed from the event loop, never from
// inside the code that emitted the signal. Each awaiter owns a small guard
// object as the context of its connection: when the coroutine is destroyed
// while it waits, the guard goes with it and Qt drops the pending resume.

#include <QObject>
#include <QTimer>
#include <coroutine>
#include <memory>
#include <utility>

namespace vexa {

// co_await Delay(ms): resumes after `ms` milliseconds (0: after the events
// already pending).
class Delay {
 public:
  explicit Delay(int milliseconds) : milliseconds_(milliseconds) {}
  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting) {
    guard_ = std::make_unique<QObject>();
    QTimer::singleShot(milliseconds_, guard_.get(), [waiting] { waiting.resume(); });
  }
  void await_resume() const noexcept {}

 private:
  int milliseconds_;
  std::unique_ptr<QObject> guard_;
};

// co_await NextSignal(sender, &Sender::signal): resumes once the signal has
// been emitted (its arguments are not passed on; read the sender instead).
template <typename Sender, typename Signal>
class NextSignal {
 public:
  NextSignal(Sender* sender, Signal signal) : sender_(sender), signal_(signal) {}
  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting) {
    guard_ = std::make_unique<QObject>();
    QObject::connect(
        sender_, signal_, guard_.get(), [waiting] { waiting.resume(); },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
  }
  void await_resume() const noexcept {}

 private:
  Sender* sender_;
  Signal signal_;
  std::unique_ptr<QObject> guard_;
};

// co_await SignalOrTimeout(sender, &Sender::signal, ms): resumes on the
// signal's next emission or after `ms` milliseconds, whichever comes first.
// The waiting code then looks again at what it waits for.
template <typename Sender, typename Signal>
class SignalOrTimeout {
 public:
  SignalOrTimeout(Sender* sender, Signal signal, int milliseconds)
      : sender_(sender), signal_(signal), milliseconds_(milliseconds) {}
  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting) {
    guard_ = std::make_unique<QObject>();
    // Whichever comes first resumes; the guard goes with the awaiter, which
    // drops the other.
    auto resume = [waiting, resumed = std::make_shared<bool>(false)] {
      if (std::exchange(*resumed, true)) return;
      waiting.resume();
    };
    QObject::connect(
        sender_, signal_, guard_.get(), resume,
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    QTimer::singleShot(milliseconds_, guard_.get(), resume);
  }
  void await_resume() const noexcept {}

 private:
  Sender* sender_;
  Signal signal_;
  int milliseconds_;
  std::unique_ptr<QObject> guard_;
};

}  // namespace vexa
