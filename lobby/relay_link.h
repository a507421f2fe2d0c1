#pragma once

// The two streams of a game through the lobby server's relay (XEP-0065),
// opened when the guest's direct connection has not come up in time. The
// steps, over the lobby's private messages:
//   guest: asks the host for the relay with a new session id;
//   host:  opens the game's and the chat's streams at the proxy, hands them
//          over (Ready) and tells the guest they wait;
//   guest: opens its two streams, which the proxy joins to the host's,
//          activates both, and hands them over (Ready).
// A stream's address is the SHA-1 of the session id (with "g" or "c"), the
// guest's and the host's full addresses. Every step has a time bound.

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "lobby/lobby_client.h"
#include "lobby/socks5_connector.h"

namespace vexa::lobby {

class RelayLink : public QObject {
  Q_OBJECT
 public:
  // How long the whole set-up may take.
  static constexpr int kSetUpMs = 10000;

  RelayLink(LobbyClient& client, QObject* parent = nullptr);

  // The guest, invited by `host_nick` whose full address is `host_jid`.
  void StartAsGuest(const QString& host_nick, const QString& host_jid);
  // The host, asked by its invited guest.
  void StartAsHost(const QString& guest_nick, const QString& guest_jid, const QString& sid);

 signals:
  // The game's and the chat's sockets, now the receiver's (to be parented).
  void Ready(QTcpSocket* game, QTcpSocket* chat);
  void Failed(const QString& reason);

 private:
  void OpenStreams(const QString& initiator, const QString& target, std::function<void()> ready);
  void Activated(const QString& sid, bool ok);
  void Fail(const QString& reason);
  void HandOver();

  LobbyClient& client_;
  QString peer_nick_;
  QString peer_jid_;
  QString sid_;
  bool guest_ = false;
  bool over_ = false;
  int activated_ = 0;
  std::unique_ptr<Socks5Connector> game_;
  std::unique_ptr<Socks5Connector> chat_;
  QTimer deadline_;
};

}  // namespace vexa::lobby
