#pragma once

// What a host does beyond its two sockets while it waits for a guest: it
// announces its game on this network, asks the router to forward its ports
// (unless the player turned that off), and words what the guest needs to
// know for the waiting dialog: the router's answer and a global IPv6
// address. It follows the connection's hosting; the daemon and the router
// are reached through replaceable parts, made when first needed.

#include <QCoreApplication>
#include <QObject>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>

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

  // The waiting dialog's lines while hosting (empty when there is nothing
  // to say) and the invitation link its button copies.
  QString RouterLine() const { return router_line_; }
  QString Ipv6Line() const { return ipv6_line_; }
  QString Link() const { return link_; }
  bool Hosting() const { return hosting_; }

  // This machine's global IPv6 address, if it has one.
  static QString GlobalIpv6Address();

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
  QString router_line_;
  QString ipv6_line_;
  QString ipv6_link_;
  QString link_;
};

}  // namespace vexa::app
