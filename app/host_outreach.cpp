#include "app/host_outreach.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include "net/avahi_discovery.h"
#include "net/invitation_link.h"
#include "net/router_port_mapper.h"

namespace vexa::app {

namespace {

const QString kPortMappingKey = QStringLiteral("Network/PortMapping");

}  // namespace

HostOutreach::HostOutreach(net::GameConnection& connection, QSettings& settings,
                           std::function<QString()> player_name, QObject* parent)
    : QObject(parent), settings_(settings), player_name_(std::move(player_name)) {
  connect(&connection, &net::GameConnection::HostingStarted, this, &HostOutreach::HostingStarted);
  // A guest came: the game is no longer open to others on this network; the
  // router's ports stay, they carry the game.
  connect(&connection, &net::GameConnection::HostingTaken, this, [this] {
    if (discovery_) discovery_->Withdraw();
  });
  connect(&connection, &net::GameConnection::HostingEnded, this, &HostOutreach::HostingEnded);
}

// The mapper's destructor removes the router's mapping (the program quits).
HostOutreach::~HostOutreach() = default;

void HostOutreach::UseParts(std::unique_ptr<net::GameDiscovery> discovery,
                            std::unique_ptr<net::PortMapper> mapper) {
  discovery_ = std::move(discovery);
  mapper_ = std::move(mapper);
  connect(mapper_.get(), &net::PortMapper::Answered, this, &HostOutreach::MappingAnswered);
}

net::GameDiscovery& HostOutreach::Discovery() {
  if (!discovery_) discovery_ = std::make_unique<net::AvahiDiscovery>();
  return *discovery_;
}

net::PortMapper& HostOutreach::Mapper() {
  if (!mapper_) {
    mapper_ = std::make_unique<net::RouterPortMapper>();
    connect(mapper_.get(), &net::PortMapper::Answered, this, &HostOutreach::MappingAnswered);
  }
  return *mapper_;
}

bool HostOutreach::PortMappingOn() const {
  return settings_.value(kPortMappingKey, true).toBool();
}

void HostOutreach::SetPortMappingOn(bool on) {
  settings_.setValue(kPortMappingKey, on);
  settings_.sync();
}

QString HostOutreach::GlobalIpv6Address() {
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.protocol() == QAbstractSocket::IPv6Protocol && address.isGlobal() &&
        !address.isUniqueLocalUnicast() && !address.isLinkLocal()) {
      return address.toString();
    }
  }
  return QString();
}

void HostOutreach::HostingStarted(int game_port) {
  hosting_ = true;
  game_port_ = game_port;
  Discovery().Announce(game_port, player_name_());
  const QString ipv6 = GlobalIpv6Address();
  ipv6_link_ = ipv6.isEmpty() ? QString() : net::MakeInvitationLink(ipv6, game_port);
  ipv6_line_ = ipv6.isEmpty() ? QString() : tr("IPv6 アドレス: %1").arg(ipv6_link_.mid(7));
  link_ = ipv6_link_;
  router_line_.clear();
  if (PortMappingOn()) {
    router_line_ = tr("ルーターにポートの転送を頼んでいます・・・");
    Mapper().Open(game_port);
  }
  emit LinesChanged();
}

void HostOutreach::HostingEnded() {
  hosting_ = false;
  if (discovery_) discovery_->Withdraw();
  if (mapper_) mapper_->Close();
  router_line_.clear();
  ipv6_line_.clear();
  link_.clear();
  emit LinesChanged();
}

void HostOutreach::MappingAnswered(const net::PortMapping& mapping) {
  if (!mapping.mapped) {
    router_line_ = tr("ルーターが応答しません。ポート %1 と %2 を手動で転送してください")
                       .arg(game_port_)
                       .arg(game_port_ + 1);
  } else {
    // A router that would not tell its address still forwards; the guest
    // needs the address from elsewhere then.
    const QString address =
        mapping.external_address.isEmpty() ? QStringLiteral("?") : mapping.external_address;
    const QString where = address + u':' + QString::number(mapping.external_port);
    router_line_ =
        mapping.external_port == mapping.asked_port
            ? tr("外部アドレス: %1 (相手に伝えてください)").arg(where)
            : tr("外部アドレス: %1 (ルーターはポート %2 の代わりにこのポートを割り当てました)")
                  .arg(where)
                  .arg(mapping.asked_port);
    if (!mapping.external_address.isEmpty()) {
      link_ = net::MakeInvitationLink(mapping.external_address, mapping.external_port);
    }
  }
  emit LinesChanged();
}

}  // namespace vexa::app
