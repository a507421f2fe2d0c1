#include "net/avahi_discovery.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>
#include <net/if.h>

#include "net/service_text.h"

namespace vexa::net {

namespace {

// Lookups at the same time; a flood of announcements waits for the rest
// until these have answered.
constexpr std::size_t kResolversMax = 200;
// Games remembered; the list shows fewer.
constexpr std::size_t kSightingsMax = 1000;

// Avahi's lock, held while the window's thread touches Avahi's objects.
class PollLock {
 public:
  explicit PollLock(AvahiThreadedPoll* poll) : poll_(poll) { avahi_threaded_poll_lock(poll_); }
  ~PollLock() { avahi_threaded_poll_unlock(poll_); }
  PollLock(const PollLock&) = delete;
  PollLock& operator=(const PollLock&) = delete;

 private:
  AvahiThreadedPoll* poll_;
};

QString AddressText(const AvahiAddress* address, AvahiIfIndex interface) {
  char text[AVAHI_ADDRESS_STR_MAX] = {};
  avahi_address_snprint(text, sizeof text, address);
  QString result = QString::fromLatin1(text);
  // A link-local IPv6 address is only reachable through its interface.
  if (address->proto == AVAHI_PROTO_INET6 && result.startsWith(QStringLiteral("fe80:"))) {
    char name[IF_NAMESIZE] = {};
    if (if_indextoname(static_cast<unsigned>(interface), name) != nullptr) {
      result += u'%' + QString::fromLatin1(name);
    }
  }
  return result;
}

QList<QByteArray> TextItems(AvahiStringList* txt) {
  QList<QByteArray> items;
  // A TXT record holds at most a few kilobytes; a handful of items say all.
  for (AvahiStringList* item = txt; item != nullptr && items.size() < 16;
       item = avahi_string_list_get_next(item)) {
    items.append(QByteArray(reinterpret_cast<const char*>(avahi_string_list_get_text(item)),
                            static_cast<qsizetype>(avahi_string_list_get_size(item))));
  }
  return items;
}

}  // namespace

struct AvahiDiscovery::Callbacks {
  static void Client(AvahiClient* /*client*/, AvahiClientState state, void* self) {
    if (state == AVAHI_CLIENT_FAILURE) static_cast<AvahiDiscovery*>(self)->ClientFailed();
  }

  static void Group(AvahiEntryGroup* /*group*/, AvahiEntryGroupState state, void* self) {
    // Another machine announces a game under the same name: take the next.
    if (state != AVAHI_ENTRY_GROUP_COLLISION) return;
    auto* d = static_cast<AvahiDiscovery*>(self);
    char* next = avahi_alternative_service_name(d->service_name_.c_str());
    d->service_name_ = next;
    avahi_free(next);
    d->AddService();
  }

  static void Browse(AvahiServiceBrowser* /*browser*/, AvahiIfIndex interface,
                     AvahiProtocol protocol, AvahiBrowserEvent event, const char* name,
                     const char* type, const char* domain, AvahiLookupResultFlags /*flags*/,
                     void* self) {
    auto* d = static_cast<AvahiDiscovery*>(self);
    if (event == AVAHI_BROWSER_NEW) d->ServiceFound(interface, protocol, name, type, domain);
    if (event == AVAHI_BROWSER_REMOVE) d->ServiceRemoved(name);
  }

  static void Resolve(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                      AvahiProtocol /*protocol*/, AvahiResolverEvent event, const char* name,
                      const char* /*type*/, const char* /*domain*/, const char* /*host_name*/,
                      const AvahiAddress* address, uint16_t port, AvahiStringList* txt,
                      AvahiLookupResultFlags /*flags*/, void* self) {
    auto* d = static_cast<AvahiDiscovery*>(self);
    d->resolvers_.erase(resolver);
    d->ResolveWaiting();
    if (event == AVAHI_RESOLVER_FOUND && address != nullptr &&
        d->sightings_.contains(std::string(name))) {
      const ServiceText text = ReadServiceText(TextItems(txt));
      const LanGame game{PrintableText(QByteArray(name)), text.player, text.version,
                         AddressText(address, interface), port};
      QMetaObject::invokeMethod(
          d, [d, game] { emit d->GameSeen(game); }, Qt::QueuedConnection);
    }
    avahi_service_resolver_free(resolver);
  }
};

AvahiDiscovery::AvahiDiscovery(QObject* parent) : GameDiscovery(parent) {}

AvahiDiscovery::~AvahiDiscovery() {
  Disconnect();
}

bool AvahiDiscovery::Connect() {
  if (client_ != nullptr) return true;
  poll_ = avahi_threaded_poll_new();
  if (poll_ == nullptr) return false;
  int error = 0;
  client_ = avahi_client_new(avahi_threaded_poll_get(poll_), AvahiClientFlags(0),
                             &Callbacks::Client, this, &error);
  if (client_ == nullptr || avahi_threaded_poll_start(poll_) < 0) {
    Disconnect();
    return false;
  }
  return true;
}

void AvahiDiscovery::Disconnect() {
  if (poll_ != nullptr) avahi_threaded_poll_stop(poll_);
  // Freeing the client frees its groups, browsers and resolvers.
  if (client_ != nullptr) avahi_client_free(client_);
  if (poll_ != nullptr) avahi_threaded_poll_free(poll_);
  poll_ = nullptr;
  client_ = nullptr;
  group_ = nullptr;
  browser_ = nullptr;
  resolvers_.clear();
  sightings_.clear();
  waiting_.clear();
}

void AvahiDiscovery::ClientFailed() {
  // The daemon went away. The client is freed on the window's thread, never
  // on Avahi's own.
  QMetaObject::invokeMethod(
      this,
      [this] {
        const bool browsing = browser_ != nullptr;
        Disconnect();
        if (browsing) emit Unavailable();
      },
      Qt::QueuedConnection);
}

void AvahiDiscovery::Announce(int port, const QString& player) {
  if (!Connect()) {
    emit Unavailable();
    return;
  }
  const PollLock lock(poll_);
  service_name_ = ServiceName(player).toStdString();
  service_port_ = port;
  player_ = player;
  AddService();
}

void AvahiDiscovery::AddService() {
  if (group_ == nullptr) group_ = avahi_entry_group_new(client_, &Callbacks::Group, this);
  if (group_ == nullptr) return;
  avahi_entry_group_reset(group_);
  AvahiStringList* txt = nullptr;
  for (const QByteArray& item : MakeServiceText(player_, QStringLiteral(VEXA_VERSION))) {
    txt = avahi_string_list_add_arbitrary(txt, reinterpret_cast<const uint8_t*>(item.constData()),
                                          static_cast<size_t>(item.size()));
  }
  // A name taken on this machine already: the next free one.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int result = avahi_entry_group_add_service_strlst(
        group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0), service_name_.c_str(),
        kServiceType, nullptr, nullptr, static_cast<uint16_t>(service_port_), txt);
    if (result != AVAHI_ERR_COLLISION) break;
    char* next = avahi_alternative_service_name(service_name_.c_str());
    service_name_ = next;
    avahi_free(next);
  }
  avahi_string_list_free(txt);
  avahi_entry_group_commit(group_);
}

void AvahiDiscovery::Withdraw() {
  if (poll_ == nullptr) return;
  const PollLock lock(poll_);
  if (group_ != nullptr) avahi_entry_group_reset(group_);
}

void AvahiDiscovery::StartBrowsing() {
  if (!Connect()) {
    emit Unavailable();
    return;
  }
  const PollLock lock(poll_);
  if (browser_ != nullptr) return;
  browser_ = avahi_service_browser_new(client_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, kServiceType,
                                       nullptr, AvahiLookupFlags(0), &Callbacks::Browse, this);
}

void AvahiDiscovery::StopBrowsing() {
  if (poll_ == nullptr) return;
  const PollLock lock(poll_);
  for (AvahiServiceResolver* resolver : resolvers_)
    avahi_service_resolver_free(resolver);
  resolvers_.clear();
  sightings_.clear();
  waiting_.clear();
  if (browser_ != nullptr) avahi_service_browser_free(browser_);
  browser_ = nullptr;
}

void AvahiDiscovery::ServiceFound(int interface, int protocol, const char* name, const char* type,
                                  const char* domain) {
  const std::string key(name);
  if (!sightings_.contains(key) && sightings_.size() >= kSightingsMax) return;
  ++sightings_[key];
  if (resolvers_.size() >= kResolversMax) {
    if (waiting_.size() < kSightingsMax)
      waiting_.push_back({interface, protocol, key, type, domain});
    return;
  }
  Resolve(interface, protocol, key, type, domain);
}

void AvahiDiscovery::Resolve(int interface, int protocol, const std::string& name,
                             const std::string& type, const std::string& domain) {
  AvahiServiceResolver* resolver = avahi_service_resolver_new(
      client_, interface, protocol, name.c_str(), type.c_str(), domain.c_str(), AVAHI_PROTO_UNSPEC,
      AvahiLookupFlags(0), &Callbacks::Resolve, this);
  if (resolver != nullptr) resolvers_.insert(resolver);
}

void AvahiDiscovery::ResolveWaiting() {
  while (!waiting_.empty() && resolvers_.size() < kResolversMax) {
    const Sighting next = std::move(waiting_.front());
    waiting_.pop_front();
    // A game gone meanwhile needs no lookup.
    if (sightings_.contains(next.name)) {
      Resolve(next.interface, next.protocol, next.name, next.type, next.domain);
    }
  }
}

void AvahiDiscovery::ServiceRemoved(const char* name) {
  const auto seen = sightings_.find(std::string(name));
  if (seen == sightings_.end() || --seen->second > 0) return;
  sightings_.erase(seen);
  const QString service = PrintableText(QByteArray(name));
  QMetaObject::invokeMethod(
      this, [this, service] { emit GameGone(service); }, Qt::QueuedConnection);
}

}  // namespace vexa::net
