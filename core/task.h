#pragma once

// The small coroutine task type that lets the rules wait (a pause, a dialog,
// a socket) without nesting an event loop. A task starts when it is awaited
// or handed to a TaskGroup; while it is suspended nothing runs and no
// processor time is used. Whoever completes the awaited operation (a timer, a
// signal, or a test fake at once) resumes it.

#include <coroutine>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <list>
#include <optional>
#include <utility>

namespace vexa {

template <typename T>
class Task;

namespace detail {

// Resumes the awaiting coroutine, if any, when a task finishes.
struct ContinuationAwaiter {
  bool await_ready() const noexcept { return false; }
  template <typename Promise>
  std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> done) const noexcept {
    auto continuation = done.promise().continuation;
    return continuation ? continuation : std::noop_coroutine();
  }
  void await_resume() const noexcept {}
};

struct PromiseBase {
  std::coroutine_handle<> continuation;

  std::suspend_always initial_suspend() const noexcept { return {}; }
  ContinuationAwaiter final_suspend() const noexcept { return {}; }
  // The rules never throw; an escaping exception is a programming error.
  void unhandled_exception() const noexcept { std::terminate(); }
};

template <typename T>
struct Promise : PromiseBase {
  std::optional<T> value;
  Task<T> get_return_object();
  void return_value(T v) { value = std::move(v); }
  T Result() { return std::move(*value); }
};

template <>
struct Promise<void> : PromiseBase {
  Task<void> get_return_object();
  void return_void() const noexcept {}
  void Result() const noexcept {}
};

}  // namespace detail

template <typename T = void>
class [[nodiscard]] Task {
 public:
  using promise_type = detail::Promise<T>;
  using Handle = std::coroutine_handle<promise_type>;

  Task() = default;
  explicit Task(Handle handle) : handle_(handle) {}
  Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  Task& operator=(Task&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;
  ~Task() { Reset(); }

  bool Done() const { return !handle_ || handle_.done(); }

  // Starts a task that nobody awaits; used by TaskGroup and by tests.
  void Resume() {
    if (!Done()) handle_.resume();
  }

  // The result of a finished task.
  T Result() { return handle_.promise().Result(); }

  // Awaiting a task runs it; the awaiting coroutine continues when it is done.
  // An empty task (default-constructed or moved from) has nothing to run and
  // no result: awaiting one is a programming error, stopped here.
  bool await_ready() const noexcept {
    if (!handle_) AwaitedEmpty();
    return handle_.done();
  }
  std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
    handle_.promise().continuation = awaiting;
    return handle_;
  }
  T await_resume() { return handle_.promise().Result(); }

 private:
  void Reset() {
    if (handle_) handle_.destroy();
    handle_ = {};
  }

  [[noreturn]] static void AwaitedEmpty() noexcept {
    std::fputs("vexa: an empty Task was awaited\n", stderr);
    std::abort();
  }

  Handle handle_;
};

namespace detail {

template <typename T>
Task<T> Promise<T>::get_return_object() {
  return Task<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline Task<void> Promise<void>::get_return_object() {
  return Task<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

}  // namespace detail

// Owns the tasks that event handlers start. A task that finishes is dropped
// at the next start; the tasks still waiting when the group is destroyed are
// destroyed with it, which ends their waits (each awaiter cleans up after
// itself in its destructor).
class TaskGroup {
 public:
  TaskGroup() = default;
  TaskGroup(const TaskGroup&) = delete;
  TaskGroup& operator=(const TaskGroup&) = delete;

  void Start(Task<> task) {
    tasks_.remove_if([](const Task<>& t) { return t.Done(); });
    // A list keeps this element in place while the task, running, starts
    // further tasks.
    tasks_.push_back(std::move(task));
    tasks_.back().Resume();
  }

  std::size_t Pending() const {
    std::size_t n = 0;
    for (const auto& t : tasks_)
      n += t.Done() ? 0 : 1;
    return n;
  }

 private:
  std::list<Task<>> tasks_;
};

}  // namespace vexa
