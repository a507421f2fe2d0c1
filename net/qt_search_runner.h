#pragma once

// The search runner of a program with a Qt event loop (the window, the
// headless player): results are posted to `context`'s thread, and the
// workers run below that thread's priority, so that the program answers at
// once even while a search keeps every core busy. Header-only glue; the
// program links the runner's library itself.

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <utility>

#include "cpu/search_runner.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace vexa::net {

inline SearchRunner::Options QtSearchRunnerOptions(QObject* context) {
  SearchRunner::Options options;
  options.post = [context](std::function<void()> resume) {
    QMetaObject::invokeMethod(context, std::move(resume), Qt::QueuedConnection);
  };
#ifdef __linux__
  options.on_thread_start = [] {
    constexpr int kWorkNiceness = 5;
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkNiceness);
  };
#endif
  return options;
}

}  // namespace vexa::net
