#pragma once

// The port mapper that asks a real router: UPnP IGD first (its mappings
// carry a description naming the program), NAT-PMP when no IGD answers.
// Every exchange runs on a worker thread of its own, bounded by about two
// seconds; the mapping has a one-hour lease, renewed while it is wanted,
// and is removed by Close and by the destructor (when the program quits).

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "net/port_mapper.h"

namespace vexa::net {

class RouterPortMapper : public PortMapper {
  Q_OBJECT
 public:
  explicit RouterPortMapper(QObject* parent = nullptr);
  ~RouterPortMapper() override;

  void Open(int game_port) override;
  void Close() override;

  // What routers see as the mapping's description.
  static constexpr const char* kDescription = "Vexa with Online";
  static constexpr int kLeaseSeconds = 3600;

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  // Guarded by mutex_: the port wanted forwarded (none: no mapping), how
  // many Opens were asked, and whether the worker is to stop.
  std::optional<int> wanted_;
  int request_ = 0;
  bool stopping_ = false;
  // Read on the window's thread only: the request whose answer is awaited.
  int answered_request_ = 0;
  // What is asked of gateways: kLeaseSeconds, shorter in the router test.
  const int lease_seconds_;
  std::thread worker_;
};

}  // namespace vexa::net
