#include "net/winsock_adapter.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <utility>

namespace vexa::net {
namespace {

// How long a closed connection may still take to hand its last bytes to a
// peer that does not read, before it is cut.
constexpr int kLingerMs = 5000;

bool IsPort(int port) {
  return port >= 0 && port <= 65535;
}

// An address, or a name that DNS could hold. Anything else is refused at
// once instead of failing later in the lookup.
bool CouldBeHost(const QString& host) {
  if (host.isEmpty()) return false;
  if (!QHostAddress(host).isNull()) return true;
  return !QUrl::toAce(host).isEmpty();
}

// A peer on the dual-stack listener shows as ::ffff:a.b.c.d; show a.b.c.d.
QString AddressText(const QHostAddress& address) {
  bool is_ipv4 = false;
  const quint32 ipv4 = address.toIPv4Address(&is_ipv4);
  return is_ipv4 ? QHostAddress(ipv4).toString() : address.toString();
}

// Lets a connection that is no longer ours finish handing over what was
// written to it, then deletes it. Its signals no longer reach the Winsock.
void Release(QTcpSocket* socket, QObject* owner) {
  socket->disconnect(owner);
  if (socket->state() != QAbstractSocket::ConnectedState) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  QTimer::singleShot(kLingerMs, socket, [socket] {
    socket->abort();
    socket->deleteLater();
  });
  socket->disconnectFromHost();
}

}  // namespace

Winsock::Winsock(QObject* parent) : QObject(parent) {}

Winsock::~Winsock() {
  // The children go after this destructor; keep their last signals away.
  if (server_) server_->disconnect(this);
  if (socket_) socket_->disconnect(this);
  if (offered_) offered_->disconnect(this);
}

int Winsock::LocalPort() const {
  if (server_ && server_->isListening()) return server_->serverPort();
  if (socket_ && socket_->state() == QAbstractSocket::ConnectedState) return socket_->localPort();
  return local_port_;
}

bool Winsock::Listen() {
  if (state_ != kClosed || !IsPort(local_port_)) return false;
  auto* server = new QTcpServer(this);
  if (!server->listen(QHostAddress::Any, static_cast<quint16>(local_port_))) {
    delete server;
    return false;
  }
  server_ = server;
  connect(server_, &QTcpServer::newConnection, this, &Winsock::OnNewConnection);
  SetState(kListening);
  return true;
}

bool Winsock::Connect() {
  if (state_ != kClosed || !IsPort(remote_port_) || remote_port_ == 0 ||
      !CouldBeHost(remote_host_)) {
    return false;
  }
  Adopt(new QTcpSocket(this));
  SetState(kConnecting);
  in_connect_ = true;
  socket_->connectToHost(remote_host_, static_cast<quint16>(remote_port_));
  in_connect_ = false;
  return true;
}

bool Winsock::Accept(int request_id) {
  if (state_ != kClosed || !offered_ || request_id != offered_id_) return false;
  QTcpSocket* socket = std::exchange(offered_, nullptr);
  remote_host_ = AddressText(socket->peerAddress());
  remote_port_ = socket->peerPort();
  Adopt(socket);
  SetState(kConnected);
  return true;
}

bool Winsock::TakeOver(QTcpSocket* socket) {
  if (state_ != kClosed || !socket || socket->state() != QAbstractSocket::ConnectedState) {
    return false;
  }
  remote_host_ = AddressText(socket->peerAddress());
  remote_port_ = socket->peerPort();
  Adopt(socket);
  SetState(kConnected);
  if (socket->bytesAvailable() > 0) {
    QTimer::singleShot(0, this, [this, socket = QPointer<QTcpSocket>(socket)] {
      if (socket && socket == socket_ && socket->bytesAvailable() > 0) {
        emit DataArrival(socket->bytesAvailable());
      }
    });
  }
  return true;
}

bool Winsock::SendData(const QByteArray& data) {
  if (state_ != kConnected || !socket_) return false;
  const qint64 written = socket_->write(data);
  // Out now, as one write of its own, rather than when the event loop runs.
  socket_->flush();
  return written == data.size();
}

QByteArray Winsock::GetData() {
  return socket_ ? socket_->readAll() : QByteArray();
}

void Winsock::Close() {
  if (server_) {
    server_->disconnect(this);
    server_->close();
    server_->deleteLater();  // Close may run inside the server's own signal
    server_ = nullptr;
  }
  if (socket_) Release(std::exchange(socket_, nullptr), this);
  SetState(kClosed);
}

void Winsock::SetState(int state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged(state);
}

void Winsock::Adopt(QTcpSocket* socket) {
  socket_ = socket;
  socket->setParent(this);
  socket->setReadBufferSize(kReadLimit);
  if (socket->state() == QAbstractSocket::ConnectedState) {
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  }
  connect(socket, &QAbstractSocket::connected, this, [this] {
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    SetState(kConnected);
    if (state_ == kConnected) emit Connected();
  });
  connect(socket, &QIODevice::readyRead, this, [this] {
    if (state_ == kConnected || state_ == kClosing) emit DataArrival(socket_->bytesAvailable());
  });
  connect(socket, &QAbstractSocket::disconnected, this, &Winsock::OnDisconnected);
  connect(socket, &QAbstractSocket::errorOccurred, this,
          [this, socket](QAbstractSocket::SocketError error) {
            // An address no route leads to fails inside connectToHost. Its
            // error comes after Connect has returned, as every other does:
            // the caller is not ready for events before then.
            if (!in_connect_) {
              OnSocketError(error);
              return;
            }
            QTimer::singleShot(0, this, [this, socket = QPointer<QTcpSocket>(socket), error] {
              if (socket && socket == socket_) OnSocketError(error);
            });
          });
}

void Winsock::OnNewConnection() {
  while (server_ && server_->hasPendingConnections()) {
    QTcpSocket* incoming = server_->nextPendingConnection();
    if (!incoming) break;
    incoming->setParent(this);  // outlives the server if the handler closes it
    offered_ = incoming;
    offered_id_ = ++last_request_id_;
    emit ConnectionRequest(offered_id_);
    if (offered_ == incoming) {  // not accepted
      offered_ = nullptr;
      incoming->abort();
      incoming->deleteLater();
    }
  }
}

void Winsock::OnSocketError(int error) {
  if (!socket_) return;
  // Qt reports the peer's close, orderly or by reset, as this error.
  if (error == QAbstractSocket::RemoteHostClosedError) {
    if (state_ == kConnected) SetState(kClosing);
    return;
  }
  if (state_ == kClosing) return;  // the connection was over already
  const QString description = socket_->errorString();
  SetState(kError);
  if (state_ == kError) emit Error(error, description);
}

void Winsock::OnDisconnected() {
  if (state_ == kConnected) SetState(kClosing);
}

}  // namespace vexa::net
