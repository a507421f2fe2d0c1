#include "net/game_connection.h"

#include <QTcpSocket>

#include "net/online_session.h"

namespace vexa::net {

GameConnection::GameConnection(QObject* parent) : QObject(parent), Winsock1(this), Winsock2(this) {
  Winsock1.setObjectName(QStringLiteral("Winsock1"));
  Winsock2.setObjectName(QStringLiteral("Winsock2"));
  connect(&Winsock1, &Winsock::ConnectionRequest, this,
          &GameConnection::Winsock1_ConnectionRequest);
  connect(&Winsock2, &Winsock::ConnectionRequest, this,
          &GameConnection::Winsock2_ConnectionRequest);
  connect(&Winsock1, &Winsock::Connected, this, [this] { emit GameConnected(false); });
  // A socket that fails is closed, nothing more; a game connection that
  // fails after it was up counts as the peer gone (the session sees the
  // state change).
  connect(&Winsock1, &Winsock::Error, this, [this](int number, const QString& description) {
    Winsock1.Close();
    emit GameFailed(JoinFailureOf(number), description);
  });
  connect(&Winsock2, &Winsock::Error, this, [this] { Winsock2.Close(); });
  connect(&Winsock1, &Winsock::StateChanged, this, &GameConnection::GameStateChanged);
  connect(&screen_, &GuestScreen::GuestNamed, this, &GameConnection::GuestNamed);
}

void GameConnection::GameStateChanged(int state) {
  // A peer that has closed its end (8) ends hosting as well: the side that
  // left first keeps its socket in that state until the next connection.
  const bool over =
      state == Winsock::kClosed || state == Winsock::kClosing || state == Winsock::kError;
  if (!over || !hosting_ || accepting_) return;
  hosting_ = false;
  emit HostingEnded();
}

void GameConnection::Feed(OnlineSession& session) {
  connect(&Winsock1, &Winsock::DataArrival, this,
          [this, &session] { session.GameDataArrived(Winsock1.GetData()); });
  connect(&Winsock2, &Winsock::DataArrival, this,
          [this, &session] { session.ChatDataArrived(Winsock2.GetData()); });
  connect(&Winsock1, &Winsock::StateChanged, this,
          [&session](int state) { session.GameStateChanged(state); });
}

bool GameConnection::Host(int game_port, int chat_port) {
  Close();
  Winsock1.SetLocalPort(game_port);
  Winsock2.SetLocalPort(chat_port);
  if (Winsock1.Listen() && Winsock2.Listen()) {
    hosting_ = true;
    emit HostingStarted(Winsock1.LocalPort());
    return true;
  }
  Close();
  return false;
}

bool GameConnection::Join(const QString& host, int game_port, int chat_port) {
  Close();
  Winsock1.SetLocalPort(0);
  Winsock2.SetLocalPort(0);
  Winsock1.SetRemoteHost(host);
  Winsock1.SetRemotePort(game_port);
  Winsock2.SetRemoteHost(host);
  Winsock2.SetRemotePort(chat_port);
  relayed_ = false;
  if (Winsock1.Connect() && Winsock2.Connect()) return true;
  Close();
  return false;
}

void GameConnection::Close() {
  screen_.Clear();
  if (Winsock1.State() != Winsock::kClosed) Winsock1.Close();
  if (Winsock2.State() != Winsock::kClosed) Winsock2.Close();
}

bool GameConnection::TakeRelayed(QTcpSocket* game, QTcpSocket* chat, bool as_host) {
  const auto connected = [](QTcpSocket* socket) {
    return socket && socket->state() == QAbstractSocket::ConnectedState;
  };
  if (as_host) {
    if (!connected(game) || !connected(chat) || Winsock1.State() != Winsock::kListening) {
      for (QTcpSocket* socket : {game, chat}) {
        if (socket) socket->deleteLater();
      }
      return false;
    }
    screen_.AddRelayedPair(game, chat);
    return true;
  }
  Close();
  if (!Winsock1.AcceptHeld(game) || !Winsock2.AcceptHeld(chat)) {
    Close();
    return false;
  }
  relayed_ = true;
  emit GameConnected(false);
  return true;
}

void GameConnection::Winsock1_ConnectionRequest(int request_id) {
  // Listening goes on while the newcomer is vetted.
  if (QTcpSocket* socket = Winsock1.Hold(request_id)) screen_.AddGameConnection(socket);
}

void GameConnection::GuestNamed(QTcpSocket* socket, QTcpSocket* relayed_chat) {
  // Gone since its name came: the host goes on listening.
  if (socket->state() != QAbstractSocket::ConnectedState) {
    socket->deleteLater();
    if (relayed_chat) relayed_chat->deleteLater();
    return;
  }
  const QHostAddress address = socket->peerAddress();
  accepting_ = true;
  Winsock1.Close();
  const bool accepted = Winsock1.AcceptHeld(socket);
  accepting_ = false;
  if (!accepted) {
    socket->deleteLater();
    if (relayed_chat) relayed_chat->deleteLater();
    GameStateChanged(Winsock1.State());
    return;
  }
  // The guest's chat connection: the stream relayed with it, else the one
  // from its address if it came already; every other caller waiting on
  // either port goes.
  if (QTcpSocket* chat = relayed_chat ? relayed_chat : screen_.TakeChatConnection(address)) {
    Winsock2.Close();
    if (!Winsock2.AcceptHeld(chat)) chat->deleteLater();
  }
  screen_.Clear();
  relayed_ = relayed_chat != nullptr;
  if (hosting_) emit HostingTaken();
  emit GameConnected(true);
}

void GameConnection::Winsock2_ConnectionRequest(int request_id) {
  QTcpSocket* socket = Winsock2.Hold(request_id);
  if (!socket) return;
  if (Winsock1.State() == Winsock::kListening) {
    screen_.AddChatConnection(socket);  // until its game connection tells its name
    return;
  }
  // The game connection is up: only its peer's chat is taken, once.
  const bool ours = Winsock1.State() == Winsock::kConnected &&
                    QHostAddress(Winsock1.RemoteHost())
                        .isEqual(socket->peerAddress(), QHostAddress::TolerantConversion);
  if (ours) {
    Winsock2.Close();
    if (Winsock2.AcceptHeld(socket)) return;
  }
  socket->abort();
  socket->deleteLater();
}

}  // namespace vexa::net
