#include "lobby/socks5_connector.h"

#include <QCryptographicHash>

namespace vexa::lobby {

namespace {

// Version 5, one method: no authentication.
const QByteArray kGreeting("\x05\x01\x00", 3);
const QByteArray kMethodChosen("\x05\x00", 2);
constexpr qsizetype kHashLength = 40;

QByteArray ConnectRequest(const QByteArray& hash) {
  // CONNECT to the domain name that is the hash, port 0.
  return QByteArray("\x05\x01\x00\x03", 4) + char(kHashLength) + hash + QByteArray(2, '\0');
}

QByteArray ExpectedReply(const QByteArray& hash) {
  // Succeeded, bound to the same name and port.
  return QByteArray("\x05\x00\x00\x03", 4) + char(kHashLength) + hash + QByteArray(2, '\0');
}

}  // namespace

QByteArray StreamHash(const QString& sid, const QString& initiator, const QString& target) {
  return QCryptographicHash::hash((sid + initiator + target).toUtf8(), QCryptographicHash::Sha1)
      .toHex();
}

Socks5Connector::Socks5Connector(const StreamHost& proxy, QByteArray hash, QObject* parent)
    : QObject(parent), proxy_(proxy), hash_(std::move(hash)) {
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this,
          [this] { Fail(QStringLiteral("the relay did not answer in time")); });
}

Socks5Connector::~Socks5Connector() {
  if (socket_ && !done_) socket_->abort();
}

void Socks5Connector::Start() {
  socket_ = new QTcpSocket(this);
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  connect(socket_, &QTcpSocket::connected, this, [this] { socket_->write(kGreeting); });
  connect(socket_, &QTcpSocket::readyRead, this, &Socks5Connector::OnRead);
  connect(socket_, &QAbstractSocket::errorOccurred, this,
          [this] { Fail(QStringLiteral("the relay: ") + socket_->errorString()); });
  timeout_.start(kTimeoutMs);
  socket_->connectToHost(proxy_.host, static_cast<quint16>(proxy_.port));
}

void Socks5Connector::OnRead() {
  if (done_ || !socket_) return;
  // Only as many bytes as the answer awaited: the game's bytes after it
  // stay in the socket for the game.
  const QByteArray expected = greeted_ ? ExpectedReply(hash_) : kMethodChosen;
  received_ += socket_->read(expected.size() - received_.size());
  if (!expected.startsWith(received_)) {
    Fail(QStringLiteral("the relay refused the stream"));
    return;
  }
  if (received_.size() < expected.size()) return;
  received_.clear();
  if (!greeted_) {
    greeted_ = true;
    socket_->write(ConnectRequest(hash_));
    if (socket_->bytesAvailable() > 0) OnRead();
    return;
  }
  done_ = true;
  timeout_.stop();
  socket_->disconnect(this);
  emit Ready();
}

QTcpSocket* Socks5Connector::TakeSocket() {
  if (!done_ || !socket_) return nullptr;
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->setParent(nullptr);
  return socket;
}

void Socks5Connector::Fail(const QString& reason) {
  if (done_) return;
  done_ = true;
  timeout_.stop();
  if (socket_) {
    socket_->disconnect(this);
    socket_->abort();
  }
  emit Failed(reason);
}

}  // namespace vexa::lobby
