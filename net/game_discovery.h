#pragma once

// Games on this network by DNS-SD (service type "_vexa._tcp"): a host
// announces its game while it waits for a guest, and the list of games
// browses for such announcements. The real one (AvahiDiscovery) talks to
// the Avahi daemon; tests put a fake in its place. Signals arrive on the
// window's thread.

#include <QMetaType>
#include <QObject>
#include <QString>

namespace vexa::net {

// One announced game as the list shows it.
struct LanGame {
  QString service;  // the announcement's name, unique on the network
  QString player;   // the host's name from its TXT record (may be empty)
  QString version;  // the host's version from its TXT record (may be empty)
  QString address;  // where to join
  int port = 0;
};

class GameDiscovery : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Announces this host's game on `port`, replacing an earlier one.
  virtual void Announce(int port, const QString& player) = 0;
  virtual void Withdraw() = 0;
  // Games seen from now on come as GameSeen, and their end as GameGone.
  virtual void StartBrowsing() = 0;
  virtual void StopBrowsing() = 0;

 signals:
  // A game found, or found again with another address.
  void GameSeen(const vexa::net::LanGame& game);
  void GameGone(const QString& service);
  // No daemon to ask: nothing can be announced or found.
  void Unavailable();
};

}  // namespace vexa::net

Q_DECLARE_METATYPE(vexa::net::LanGame)
