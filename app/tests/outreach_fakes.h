#pragma once

// Stand-ins for the Avahi daemon and the router: they record what the
// window asks and answer when the test says, so the windows' side of games
// on this network and of the router's ports runs without either.

#include <QList>
#include <optional>

#include "net/game_discovery.h"
#include "net/port_mapper.h"

namespace vexa::app::testing {

class FakeDiscovery : public net::GameDiscovery {
 public:
  void Announce(int port, const QString& player) override { announced = {port, player}; }
  void Withdraw() override { announced.reset(); }
  void StartBrowsing() override {
    browsing = true;
    if (unavailable) emit Unavailable();
  }
  void StopBrowsing() override { browsing = false; }

  bool unavailable = false;
  bool browsing = false;
  std::optional<std::pair<int, QString>> announced;
};

class FakeMapper : public net::PortMapper {
 public:
  void Open(int game_port) override { opened = game_port; }
  void Close() override { opened.reset(); }
  std::optional<int> opened;
};

}  // namespace vexa::app::testing
