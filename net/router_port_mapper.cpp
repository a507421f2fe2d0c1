#include "net/router_port_mapper.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <natpmp.h>
#include <sys/select.h>

#include <QHostAddress>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

namespace vexa::net {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The two protocols share the budget of about two seconds: UPnP's search
// waits for answers most of it, NAT-PMP's gateway answers at once or never.
constexpr int kUpnpSearchMs = 1500;
constexpr milliseconds kNatPmpWait{500};
// External ports tried when the one asked for is taken (by another machine
// behind the same router): the asked one, then the next pairs above it.
constexpr int kExternalPairsTried = 4;
// A mapping that one gateway made: renewed and removed through it.
class Gateway {
 public:
  explicit Gateway(int lease_seconds) : lease_seconds(lease_seconds) {}
  virtual ~Gateway() = default;
  virtual void Renew() = 0;
  virtual void Remove() = 0;
  PortMapping mapping;
  // The lease asked for, or the shorter one the gateway gave.
  int lease_seconds;
};

class UpnpGateway : public Gateway {
 public:
  ~UpnpGateway() override { FreeUPNPUrls(&urls_); }

  // The connected IGD on this network, or nothing.
  static std::unique_ptr<UpnpGateway> Find(int lease_seconds) {
    // Both versions of the gateway asked at once, so the search waits once
    // (upnpDiscover would wait for each kind of device in turn).
    static const char* const kGatewayTypes[] = {
        "urn:schemas-upnp-org:device:InternetGatewayDevice:1",
        "urn:schemas-upnp-org:device:InternetGatewayDevice:2", nullptr};
    int error = 0;
    UPNPDev* devices = upnpDiscoverDevices(kGatewayTypes, kUpnpSearchMs, nullptr, nullptr,
                                           UPNP_LOCAL_PORT_ANY, 0, 2, &error, 1);
    if (devices == nullptr) return nullptr;
    auto gateway = std::unique_ptr<UpnpGateway>(new UpnpGateway(lease_seconds));
    char lan_address[64] = {};
    const int found = UPNP_GetValidIGD(devices, &gateway->urls_, &gateway->data_, lan_address,
                                       sizeof lan_address);
    freeUPNPDevlist(devices);
    // 2 and 3: an IGD not connected, or another device; the destructor
    // frees what was read of it.
    if (found != 1) return nullptr;
    gateway->lan_address_ = lan_address;
    char external[40] = {};
    if (UPNP_GetExternalIPAddress(gateway->urls_.controlURL, gateway->data_.first.servicetype,
                                  external) == UPNPCOMMAND_SUCCESS) {
      gateway->mapping.external_address = QString::fromLatin1(external);
    }
    return gateway;
  }

  bool Map(int port) {
    for (int pair = 0; pair < kExternalPairsTried; ++pair) {
      const int external = port + 2 * pair;
      if (external + 1 > 65535) break;
      if (!Add(external, port)) continue;
      if (!Add(external + 1, port + 1)) {
        Delete(external);
        continue;
      }
      mapping.mapped = true;
      mapping.asked_port = port;
      mapping.external_port = external;
      mapping.method = QStringLiteral("UPnP");
      return true;
    }
    return false;
  }

  void Renew() override {
    Add(mapping.external_port, mapping.asked_port);
    Add(mapping.external_port + 1, mapping.asked_port + 1);
  }

  void Remove() override {
    Delete(mapping.external_port);
    Delete(mapping.external_port + 1);
  }

 private:
  explicit UpnpGateway(int lease_seconds) : Gateway(lease_seconds) {}

  bool Add(int external, int internal) {
    const std::string ext = std::to_string(external);
    const std::string in = std::to_string(internal);
    const auto add = [&](const char* lease) {
      return UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, ext.c_str(), in.c_str(),
                                 lan_address_.c_str(), RouterPortMapper::kDescription, "TCP",
                                 nullptr, lease);
    };
    const std::string lease = std::to_string(lease_seconds);
    int result = add(lease.c_str());
    // 725 OnlyPermanentLeasesSupported: older routers; Remove still runs.
    if (result == 725) result = add("0");
    return result == UPNPCOMMAND_SUCCESS;
  }

  void Delete(int external) {
    UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype,
                           std::to_string(external).c_str(), "TCP", nullptr);
  }

  UPNPUrls urls_{};
  IGDdatas data_{};
  std::string lan_address_;
};

class NatPmpGateway : public Gateway {
 public:
  ~NatPmpGateway() override { closenatpmp(&natpmp_); }

  // The default gateway, when it answers NAT-PMP with its address.
  static std::unique_ptr<NatPmpGateway> Find(int lease_seconds) {
    auto gateway = std::unique_ptr<NatPmpGateway>(new NatPmpGateway(lease_seconds));
    if (initnatpmp(&gateway->natpmp_, 0, 0) < 0) {
      gateway->natpmp_.s = -1;
      return nullptr;
    }
    natpmpresp_t answer{};
    if (sendpublicaddressrequest(&gateway->natpmp_) < 0 || gateway->Await(answer) < 0 ||
        answer.type != NATPMP_RESPTYPE_PUBLICADDRESS) {
      return nullptr;
    }
    gateway->mapping.external_address =
        QHostAddress(ntohl(answer.pnu.publicaddress.addr.s_addr)).toString();
    return gateway;
  }

  bool Map(int port) {
    const int external = Request(port, port, lease_seconds);
    if (external <= 0) return false;
    // The chat's external port has to follow the game's, as the guest
    // reaches it at the next port.
    const int chat = Request(port + 1, external + 1, lease_seconds);
    if (chat != external + 1) {
      Request(port, 0, 0);
      if (chat > 0) Request(port + 1, 0, 0);
      return false;
    }
    mapping.mapped = true;
    mapping.asked_port = port;
    mapping.external_port = external;
    mapping.method = QStringLiteral("NAT-PMP");
    return true;
  }

  void Renew() override {
    Request(mapping.asked_port, mapping.external_port, lease_seconds);
    Request(mapping.asked_port + 1, mapping.external_port + 1, lease_seconds);
  }

  void Remove() override {
    Request(mapping.asked_port, 0, 0);
    Request(mapping.asked_port + 1, 0, 0);
  }

 private:
  explicit NatPmpGateway(int lease_seconds) : Gateway(lease_seconds) {}

  // The external port given (lifetime 0: removed), or -1. A gateway may
  // give a shorter lifetime than asked: the renewals follow it.
  int Request(int internal, int external, int lifetime) {
    natpmpresp_t answer{};
    if (sendnewportmappingrequest(&natpmp_, NATPMP_PROTOCOL_TCP, static_cast<uint16_t>(internal),
                                  static_cast<uint16_t>(external), lifetime) < 0 ||
        Await(answer) < 0) {
      return -1;
    }
    const auto given = static_cast<int>(answer.pnu.newportmapping.lifetime);
    if (lifetime > 0 && given > 0 && given < lease_seconds) lease_seconds = given;
    return answer.pnu.newportmapping.mappedpublicport;
  }

  // The answer to the request just sent, within kNatPmpWait.
  int Await(natpmpresp_t& answer) {
    const auto deadline = Clock::now() + kNatPmpWait;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
      if (left.count() <= 0) return -1;
      timeval wait{};
      getnatpmprequesttimeout(&natpmp_, &wait);
      const long long wait_us = wait.tv_sec * 1000000LL + wait.tv_usec;
      if (wait_us > left.count() || wait_us < 0) {
        wait.tv_sec = static_cast<time_t>(left.count() / 1000000);
        wait.tv_usec = static_cast<suseconds_t>(left.count() % 1000000);
      }
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(natpmp_.s, &readable);
      select(natpmp_.s + 1, &readable, nullptr, nullptr, &wait);
      const int result = readnatpmpresponseorretry(&natpmp_, &answer);
      if (result != NATPMP_TRYAGAIN) return result;
    }
  }

  natpmp_t natpmp_{};
};

// The mapping of `port` and the next on whichever gateway agrees.
std::unique_ptr<Gateway> MapOnGateway(int port, int lease_seconds) {
  if (auto upnp = UpnpGateway::Find(lease_seconds); upnp && upnp->Map(port)) return upnp;
  if (auto natpmp = NatPmpGateway::Find(lease_seconds); natpmp && natpmp->Map(port)) return natpmp;
  return nullptr;
}

// The lease asked of gateways. The router test shortens it, to see the
// mapping renewed within seconds rather than half an hour.
int LeaseSeconds() {
  bool ok = false;
  const int seconds = qEnvironmentVariableIntValue("VEXA_TEST_ROUTER_LEASE_SECONDS", &ok);
  return ok && seconds >= 2 && seconds < RouterPortMapper::kLeaseSeconds
             ? seconds
             : RouterPortMapper::kLeaseSeconds;
}

}  // namespace

RouterPortMapper::RouterPortMapper(QObject* parent)
    : PortMapper(parent), lease_seconds_(LeaseSeconds()) {}

RouterPortMapper::~RouterPortMapper() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void RouterPortMapper::Open(int game_port) {
  {
    const std::lock_guard lock(mutex_);
    wanted_ = game_port;
    answered_request_ = ++request_;
  }
  if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
  wake_.notify_one();
}

void RouterPortMapper::Close() {
  {
    const std::lock_guard lock(mutex_);
    if (!wanted_) return;
    wanted_.reset();
    answered_request_ = ++request_;
  }
  wake_.notify_one();
}

void RouterPortMapper::Work() {
  std::unique_ptr<Gateway> gateway;
  int done = 0;
  // When the mapping is renewed next: when half of its lease has gone.
  auto renewal = Clock::time_point::max();
  const auto next_renewal = [&] {
    return Clock::now() + std::chrono::milliseconds(std::max(1, gateway->lease_seconds) * 500);
  };
  std::unique_lock lock(mutex_);
  for (;;) {
    const auto wanted = [&] { return stopping_ || request_ != done; };
    const bool woken = renewal == Clock::time_point::max()
                           ? (wake_.wait(lock, wanted), true)
                           : wake_.wait_until(lock, renewal, wanted);
    if (stopping_) break;
    if (!woken) {
      lock.unlock();
      gateway->Renew();
      renewal = next_renewal();
      lock.lock();
      continue;
    }
    const int request = request_;
    const std::optional<int> port = wanted_;
    lock.unlock();
    if (gateway) {
      gateway->Remove();
      gateway.reset();
    }
    renewal = Clock::time_point::max();
    if (port) {
      gateway = MapOnGateway(*port, lease_seconds_);
      if (gateway) renewal = next_renewal();
      PortMapping answer = gateway ? gateway->mapping : PortMapping{};
      answer.asked_port = *port;
      QMetaObject::invokeMethod(
          this,
          [this, request, answer] {
            if (request == answered_request_) emit Answered(answer);
          },
          Qt::QueuedConnection);
    }
    lock.lock();
    done = request;
  }
  lock.unlock();
  if (gateway) gateway->Remove();
}

}  // namespace vexa::net
