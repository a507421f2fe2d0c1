#pragma once

// The two connections of an online game, the game's (port P) and the
// chat's (port P + 1), as the window and the headless player both use them:
// hosting or joining, one peer accepted at a time, every read handed to the
// online session, and a game socket that fails closed. While hosting, a
// connection is the opponent only once it has told its name (see
// GuestScreen); its chat connection is the one from the same address.

#include <QObject>
#include <QString>

#include "net/guest_screen.h"
#include "net/join_failure.h"
#include "net/winsock_adapter.h"
#include "net/winsock_link.h"

namespace vexa::net {

class OnlineSession;

class GameConnection : public QObject {
  Q_OBJECT
 public:
  explicit GameConnection(QObject* parent = nullptr);

  // What the online session sends and closes through.
  GameLink& Link() { return link_; }
  // Reads and the game connection's state changes go to `session`.
  void Feed(OnlineSession& session);

  // Listens on both ports; false, with both sockets closed, when either
  // cannot (a port in use or out of range).
  bool Host(int game_port, int chat_port);
  // Starts connecting to `host`; false, with both sockets closed, when it
  // cannot even begin.
  bool Join(const QString& host, int game_port, int chat_port);
  // Both sockets closed.
  void Close();
  // How long a connection to the host may take to tell its name
  // (GuestScreen::kDefaultWaitMs unless a test shortens it).
  void SetGuestWaitMs(int milliseconds) { screen_.SetWaitMs(milliseconds); }
  // Connections to the host still waiting for their first message.
  int WaitingCount() const { return screen_.WaitingCount(); }
  // Takes two streams through the lobby's relay as the game connection and
  // the chat. A guest's replace joining, and GameConnected(false) follows.
  // A host's are one more caller: they wait beside the listening ports
  // until the game stream's first message, and become the connection
  // (GameConnected(true)) or are dropped exactly as a direct caller is.
  // False, with both streams closed, when either is not connected or a host
  // is not listening.
  bool TakeRelayed(QTcpSocket* game, QTcpSocket* chat, bool as_host);
  // The game connection that is up came through the relay.
  bool Relayed() const { return relayed_; }

 signals:
  // The game connection is up: a peer accepted while hosting, or the host
  // reached while joining.
  void GameConnected(bool accepted);
  // The game socket failed (nobody listening, no such host, the connection
  // lost) and has been closed: `reason` for a join that never got through,
  // `description` the socket's own words.
  void GameFailed(vexa::net::JoinFailure reason, const QString& description);
  // Hosting, as the announcement on the network and the router's mapping
  // follow it: listening began; a guest came (the game is no longer open to
  // others); the game connection closed again (cancelled, the peer gone,
  // or a new host or join).
  void HostingStarted(int game_port);
  void HostingTaken();
  void HostingEnded();

 private:
  void Winsock1_ConnectionRequest(int request_id);
  void Winsock2_ConnectionRequest(int request_id);

  void GameStateChanged(int state);
  void GuestNamed(QTcpSocket* socket, QTcpSocket* relayed_chat);

  // From a successful Host until the game socket is closed.
  bool hosting_ = false;
  // Accepting closes the listening socket first; that is no end of hosting.
  bool accepting_ = false;
  bool relayed_ = false;
  Winsock Winsock1;  // the game connection
  Winsock Winsock2;  // the chat
  WinsockLink link_{Winsock1, Winsock2};
  GuestScreen screen_{this};
};

}  // namespace vexa::net
