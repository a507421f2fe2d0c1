#pragma once

// Games on this network through the Avahi daemon (avahi-client). The
// client runs on Avahi's own thread; what it finds is copied into plain
// values and handed to the window's thread. Without a daemon (none
// installed, not running, no system bus) every call says Unavailable and
// nothing else happens; the next call tries again.

#include <deque>
#include <map>
#include <set>
#include <string>

#include "net/game_discovery.h"

struct AvahiClient;
struct AvahiEntryGroup;
struct AvahiServiceBrowser;
struct AvahiServiceResolver;
struct AvahiThreadedPoll;

namespace vexa::net {

class AvahiDiscovery : public GameDiscovery {
  Q_OBJECT
 public:
  static constexpr const char* kServiceType = "_vexa._tcp";

  explicit AvahiDiscovery(QObject* parent = nullptr);
  ~AvahiDiscovery() override;

  void Announce(int port, const QString& player) override;
  void Withdraw() override;
  void StartBrowsing() override;
  void StopBrowsing() override;

 private:
  // Whether a client is connected to the daemon, making one if need be.
  bool Connect();
  void Disconnect();
  // On Avahi's thread, with its lock held.
  void AddService();
  void ClientFailed();
  void ServiceFound(int interface, int protocol, const char* name, const char* type,
                    const char* domain);
  void ServiceRemoved(const char* name);
  // Starts the lookups that waited for a free place, as far as there is room.
  void ResolveWaiting();
  void Resolve(int interface, int protocol, const std::string& name, const std::string& type,
               const std::string& domain);

  // Avahi's callbacks, with its own types, in the source file.
  struct Callbacks;
  friend struct Callbacks;

  AvahiThreadedPoll* poll_ = nullptr;
  AvahiClient* client_ = nullptr;
  // Guarded by Avahi's lock once the poll runs.
  AvahiEntryGroup* group_ = nullptr;
  std::string service_name_;
  int service_port_ = 0;
  QString player_;
  AvahiServiceBrowser* browser_ = nullptr;
  std::set<AvahiServiceResolver*> resolvers_;
  // Each game is seen once per interface and address family.
  std::map<std::string, int> sightings_;
  // Sightings beyond kResolversMax lookups at once, looked up in turn as
  // lookups answer: none is dropped, however many games come at once.
  struct Sighting {
    int interface;
    int protocol;
    std::string name, type, domain;
  };
  std::deque<Sighting> waiting_;
};

}  // namespace vexa::net
