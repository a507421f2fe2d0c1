#include "app/online/host_outreach.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include "net/invitation_link.h"
#include "net/outreach_module.h"

namespace vexa::app {

using namespace Qt::StringLiterals;

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
  if (!discovery_) discovery_ = net::OutreachModule().MakeDiscovery();
  return *discovery_;
}

net::PortMapper& HostOutreach::Mapper() {
  if (!mapper_) {
    mapper_ = net::OutreachModule().MakePortMapper();
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

QString HostOutreach::GlobalIpv6Address(const QList<QHostAddress>& addresses) {
  for (const QHostAddress& address : addresses) {
    if (address.protocol() == QAbstractSocket::IPv6Protocol && address.isGlobal() &&
        !address.isUniqueLocalUnicast() && !address.isLinkLocal()) {
      return address.toString();
    }
  }
  return QString();
}

QString HostOutreach::LanIpv4Address(const QList<QHostAddress>& addresses) {
  QString any;
  for (const QHostAddress& address : addresses) {
    if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback() ||
        address.isLinkLocal()) {
      continue;
    }
    // The private ranges of RFC 1918: a home or office network.
    for (const auto& [network, bits] :
         {std::pair{QHostAddress(QStringLiteral("10.0.0.0")), 8},
          std::pair{QHostAddress(QStringLiteral("172.16.0.0")), 12},
          std::pair{QHostAddress(QStringLiteral("192.168.0.0")), 16}}) {
      if (address.isInSubnet(network, bits)) return address.toString();
    }
    if (any.isEmpty()) any = address.toString();
  }
  return any;
}

void HostOutreach::HostingStarted(int game_port) {
  hosting_ = true;
  game_port_ = game_port;
  Discovery().Announce(game_port, player_name_());
  const QList<QHostAddress> addresses = addresses_.value_or(QNetworkInterface::allAddresses());
  const QString ipv6 = GlobalIpv6Address(addresses);
  const QString lan = LanIpv4Address(addresses);
  QStringList own;
  if (!lan.isEmpty()) own << tr("LAN %1").arg(lan);
  if (!ipv6.isEmpty()) own << tr("IPv6 %1").arg(ipv6);
  addresses_line_ = own.isEmpty() ? QString() : tr("このマシン: %1").arg(own.join(u"、"_s));
  // Until the router answers: a global IPv6 address is reached from
  // anywhere; a LAN address only from this network, which the dialog says
  // beside the button.
  link_.clear();
  link_note_.clear();
  if (!ipv6.isEmpty()) {
    link_ = net::MakeInvitationLink(ipv6, game_port);
  } else if (!lan.isEmpty()) {
    link_ = net::MakeInvitationLink(lan, game_port);
    link_note_ = tr("このネットワークの中だけで使えるリンクです");
  }
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
  addresses_line_.clear();
  link_.clear();
  link_note_.clear();
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
      link_note_.clear();
    }
  }
  emit LinesChanged();
}

}  // namespace vexa::app
