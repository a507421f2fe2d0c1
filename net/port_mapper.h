#pragma once

// Asking the network's gateway to forward a host's two ports (the game's
// and the chat's) to this machine. The answer comes later, as a signal on
// the window's thread, so a router that is slow or absent never holds up
// the window. The real one (RouterPortMapper) speaks UPnP IGD and NAT-PMP;
// tests put a fake in its place.

#include <QMetaType>
#include <QObject>
#include <QString>

namespace vexa::net {

struct PortMapping {
  // False: no gateway answered, or none agreed to forward the ports.
  bool mapped = false;
  QString external_address;  // the router's address on the internet
  int asked_port = 0;        // the game's port on this machine
  // The game's port on the router's outside; the chat's is the next one.
  int external_port = 0;
  QString method;  // "UPnP" or "NAT-PMP"
};

class PortMapper : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Forwards `game_port` and `game_port + 1`, replacing any earlier
  // mapping; the outcome comes as Answered.
  virtual void Open(int game_port) = 0;
  // Removes the mapping (the answer of an Open still on its way is dropped).
  virtual void Close() = 0;

 signals:
  void Answered(const vexa::net::PortMapping& mapping);
};

}  // namespace vexa::net

Q_DECLARE_METATYPE(vexa::net::PortMapping)
