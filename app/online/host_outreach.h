#pragma once

// What a host does beyond its two sockets while it waits for a guest: it
// announces its game on this network, asks the router to forward its ports
// (unless the player turned that off), and words what the guest needs to
// know for the waiting dialog: the router's answer, this machine's
// addresses and a link to copy. It follows the connection's hosting; the daemon and the router
// are reached through replaceable parts, made when first needed.

#include <QCoreApplication>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "net/game_connection.h"
#include "net/game_discovery.h"
#include "net/port_mapper.h"

namespace vexa::app {

class HostOutreach : public QObject {
  Q_OBJECT
 public:
  HostOutreach(net::GameConnection& connection, QSettings& settings,
               std::function<QString()> player_name, QObject* parent);
  ~HostOutreach() override;

  // Other parts than Avahi and the router (tests); before the first use.
  void UseParts(std::unique_ptr<net::GameDiscovery> discovery,
                std::unique_ptr<net::PortMapper> mapper);
  net::GameDiscovery& Discovery();

  // The preference "ask the router to forward the ports" (on at first).
  bool PortMappingOn() const;
  void SetPortMappingOn(bool on);

  // Other addresses of this machine than its interfaces' (tests); before
  // hosting.
  void UseAddresses(QList<QHostAddress> addresses) { addresses_ = std::move(addresses); }

  // The waiting dialog's lines while hosting (empty when there is nothing
  // to say): the router's answer and this machine's addresses; the
  // invitation link its button copies, and a note when that link works on
  // this network only.
  QString RouterLine() const { return router_line_; }
  QString AddressesLine() const { return addresses_line_; }
  QString Link() const { return link_; }
  QString LinkNote() const { return link_note_; }
  bool Hosting() const { return hosting_; }

  // This machine's global IPv6 address and its address on the local IPv4
  // network (a private one first), if it has them.
  static QString GlobalIpv6Address(const QList<QHostAddress>& addresses);
  static QString LanIpv4Address(const QList<QHostAddress>& addresses);

 signals:
  void LinesChanged();

 private:
  void HostingStarted(int game_port);
  void HostingEnded();
  void MappingAnswered(const net::PortMapping& mapping);
  net::PortMapper& Mapper();

  QSettings& settings_;
  std::function<QString()> player_name_;
  std::unique_ptr<net::GameDiscovery> discovery_;
  std::unique_ptr<net::PortMapper> mapper_;
  bool hosting_ = false;
  int game_port_ = 0;
  std::optional<QList<QHostAddress>> addresses_;
  QString router_line_;
  QString addresses_line_;
  QString link_;
  QString link_note_;
};

}  // namespace vexa::app
