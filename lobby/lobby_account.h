#pragma once

// Where and as whom a player enters the lobby.

#include <QString>

namespace vexa::lobby {

// XMPP's client port, where the server is reached when no other is named.
inline constexpr int kDefaultXmppPort = 5222;

struct LobbyAccount {
  // The XMPP domain; also the host connected to, on `port`.
  QString server;
  int port = kDefaultXmppPort;
  // The account's local part: the player is account@server.
  QString account;
  QString password;
  // A file of certificates that may sign the server's, for a lobby on a
  // private CA; empty: the system's store.
  QString ca_file;
  // The room's bare address; empty: "lobby@conference." + server.
  QString room;
  // The name in the room; empty: the account.
  QString nick;
  // The server's SOCKS5 bytestream proxy (XEP-0065), the relay; empty:
  // "proxy." + server.
  QString proxy;
  // Registers the account in-band (XEP-0077) before logging in; an account
  // that exists already is no error.
  bool register_first = true;
  // Logs in without an account (SASL ANONYMOUS), at the server's domain for
  // such logins; `account` is then only the name in the room, and nothing
  // is registered.
  bool anonymous = false;
  // Empty: "anon." + server.
  QString anonymous_domain;

  QString RoomAddress() const {
    return room.isEmpty() ? QStringLiteral("lobby@conference.") + server : room;
  }
  QString Nick() const { return nick.isEmpty() ? account : nick; }
  // The address logged in as: a bare domain for an anonymous login.
  QString LoginJid() const {
    if (!anonymous) return account + u'@' + server;
    return anonymous_domain.isEmpty() ? QStringLiteral("anon.") + server : anonymous_domain;
  }
  QString ProxyAddress() const {
    return proxy.isEmpty() ? QStringLiteral("proxy.") + server : proxy;
  }
};

}  // namespace vexa::lobby
