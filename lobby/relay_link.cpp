#include "lobby/relay_link.h"

#include <QRandomGenerator>

namespace vexa::lobby {

RelayLink::RelayLink(LobbyClient& client, QObject* parent) : QObject(parent), client_(client) {
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this,
          [this] { Fail(QStringLiteral("the relay did not come up in time")); });
  connect(&client_, &LobbyClient::RelayReadied, this,
          [this](const QString& host, const QString& sid) {
            // The host's streams wait at the proxy: the guest's join them.
            if (!guest_ || over_ || game_ || host != peer_nick_ || sid != sid_) return;
            OpenStreams(client_.OwnJid(), peer_jid_, [this] {
              client_.ActivateRelay(sid_ + u'g', peer_jid_);
              client_.ActivateRelay(sid_ + u'c', peer_jid_);
            });
          });
  connect(&client_, &LobbyClient::RelayActivated, this, &RelayLink::Activated);
}

void RelayLink::StartAsGuest(const QString& host_nick, const QString& host_jid) {
  if (!client_.Relay()) {
    Fail(QStringLiteral("the lobby server offers no relay"));
    return;
  }
  guest_ = true;
  peer_nick_ = host_nick;
  peer_jid_ = host_jid;
  sid_ = QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
  deadline_.start(kSetUpMs);
  client_.RequestRelay(host_nick, sid_);
}

void RelayLink::StartAsHost(const QString& guest_nick, const QString& guest_jid,
                            const QString& sid) {
  if (!client_.Relay()) {
    Fail(QStringLiteral("the lobby server offers no relay"));
    return;
  }
  peer_nick_ = guest_nick;
  peer_jid_ = guest_jid;
  sid_ = sid;
  deadline_.start(kSetUpMs);
  OpenStreams(guest_jid, client_.OwnJid(), [this] {
    // Bytes written now wait at the proxy until the guest activates.
    HandOver();
    client_.TellRelayReady(peer_nick_, sid_);
  });
}

void RelayLink::OpenStreams(const QString& initiator, const QString& target,
                            std::function<void()> ready) {
  const StreamHost relay = *client_.Relay();
  game_ = std::make_unique<Socks5Connector>(relay, StreamHash(sid_ + u'g', initiator, target));
  chat_ = std::make_unique<Socks5Connector>(relay, StreamHash(sid_ + u'c', initiator, target));
  auto both = std::make_shared<int>(0);
  for (Socks5Connector* stream : {game_.get(), chat_.get()}) {
    connect(stream, &Socks5Connector::Ready, this, [both, ready] {
      if (++*both == 2) ready();
    });
    connect(stream, &Socks5Connector::Failed, this, &RelayLink::Fail);
    stream->Start();
  }
}

void RelayLink::Activated(const QString& sid, bool ok) {
  if (!guest_ || over_ || sid_.isEmpty() || !sid.startsWith(sid_)) return;
  if (!ok) {
    Fail(QStringLiteral("the relay refused to pass the stream"));
    return;
  }
  if (++activated_ == 2) HandOver();
}

void RelayLink::HandOver() {
  if (over_) return;
  over_ = true;
  deadline_.stop();
  emit Ready(game_->TakeSocket(), chat_->TakeSocket());
}

void RelayLink::Fail(const QString& reason) {
  if (over_) return;
  over_ = true;
  deadline_.stop();
  emit Failed(reason);
}

}  // namespace vexa::lobby
